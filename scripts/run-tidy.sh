#!/usr/bin/env bash
# Runs the project's .clang-tidy over the portable core (everything that the
# native preset compiles: src/ outside src/platform/win32). Any finding fails
# the run; each check that is off says why in .clang-tidy, and each NOLINT in
# the code says why at its line.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
# The compilation database lists exactly the core's sources and the tests.
run-clang-tidy -p build/native -quiet \
  "$PWD/src/(keystring|base|app|layout|delivery|keys|face|commands|dialogs|platform|predict)/[^/]*\.cpp$"
