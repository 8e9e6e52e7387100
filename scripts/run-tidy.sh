#!/usr/bin/env bash
# Runs the project's .clang-tidy over the portable core (what the native
# preset compiles: src/ outside src/host) and over the Win32 host,
# the tools and the bench (what the MinGW preset compiles). Any finding fails
# the run; each check that is off says why in a .clang-tidy (the root one,
# and the host's, the tools' and the bench's, which inherit it), and each
# NOLINT in the code says why at its line.
#
# TIDY_JOBS (default 2): files checked at once.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${TIDY_JOBS:-2}

# The core: its compilation database lists exactly the core's sources and the
# tests.
cmake --preset native >/dev/null
run-clang-tidy -p build/native -quiet -j "$jobs" \
  "$PWD/src/[a-z]+/[^/]*\.cpp$"

# The host, the tools and the bench: a database of the MinGW build with the
# bench switched on, in a tree of its own so that the ordinary build and the
# bench's are left alone (configuring writes the database).
host_build=build/tidy-mingw
cmake --preset mingw -B "$host_build" -DQMOSK_BENCH=ON >/dev/null
# Only the texts' ids are built: the build generates them, every layout includes them.
cmake --build "$host_build" --target osk_texts_generated >/dev/null
# clang does not find the MinGW compiler's C++ library by itself; the
# compiler names its folders (the C headers clang finds for the target).
cxx=i686-w64-mingw32-g++
mapfile -t cxx_includes < <(echo | "$cxx" -x c++ -std=c++20 -E -v - 2>&1 |
  sed -n '/#include <...> search starts here/,/End of search list/p' | grep '/include/c++' | sed 's/^ *//')
if ((${#cxx_includes[@]} == 0)); then
  echo "run-tidy: $cxx names no C++ headers" >&2
  exit 1
fi
extra=(-extra-arg=--target=i686-w64-mingw32)
for dir in "${cxx_includes[@]}"; do extra+=("-extra-arg=-isystem$dir"); done
run-clang-tidy -p "$host_build" -quiet -j "$jobs" "${extra[@]}" \
  "$PWD/(src/host|tools|bench)/.*\.cpp$"
