#!/usr/bin/env bash
# Fails when any C++ source or header differs from what .clang-format makes
# of it, and names each place. To fix: clang-format -i on the files named.
# Debian 12's clang-format (14) is the reference: other versions lay out
# some code differently.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
else
  # An exported tree without git: the same directories the build uses.
  mapfile -d '' files < <(find src tests tools bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
fi
if ((${#files[@]} == 0)); then
  echo "check-format: no sources found" >&2
  exit 1
fi
"$clang_format" --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} files are clang-format clean"
