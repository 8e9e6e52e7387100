#!/usr/bin/env bash
# Every test: unit tests natively and under the sanitizers, the fuzz run,
# clang-tidy on the core, the host, the tools and the bench, the
# clang-format check, the Windows build (warnings are errors there too), the
# installer and portable zip, and the end-to-end suite under Wine. Exits
# non-zero when any step fails; later steps still run, so one failure does
# not hide others.
set -uo pipefail
cd "$(dirname "$0")/.."

failed=()
step() {
  local name=$1; shift
  echo "=== $name"
  if "$@"; then echo "=== $name: ok"; else echo "=== $name: FAILED"; failed+=("$name"); fi
}

build_and_test() {
  cmake --preset "$1" && cmake --build --preset "$1" && ctest --preset "$1"
}

scripts/install-deps.sh || exit 1
step "native unit tests" build_and_test native
step "native-asan unit tests" build_and_test native-asan
if [[ -x scripts/run-fuzz.sh ]]; then
  step "fuzz" scripts/run-fuzz.sh
elif [[ -f scripts/run-fuzz.sh ]]; then
  step "fuzz" bash scripts/run-fuzz.sh
fi
step "clang-tidy" scripts/run-tidy.sh
step "clang-format" scripts/check-format.sh
step "structure" scripts/check-structure.sh
step "mingw build" bash -c 'cmake --preset mingw && cmake --build --preset mingw'
# The installer and the portable zip (seconds once the build is done); the
# end-to-end suite installs, runs and uninstalls them.
step "package" scripts/package.sh
if [[ ! " ${failed[*]} " =~ " mingw build " ]]; then
  # run.py makes its own virtual desktop and removes it, with every process
  # it started, however the run ends.
  step "end-to-end" python3 tests/e2e/run.py
else
  echo "=== end-to-end: not run, the Windows build failed"
  failed+=("end-to-end")
fi

if ((${#failed[@]})); then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all tests passed"
