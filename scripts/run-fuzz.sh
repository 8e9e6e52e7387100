#!/usr/bin/env bash
# Builds the libFuzzer target and runs it for a bounded time from the seed
# corpus. Exits non-zero when the fuzzer finds a crash or a broken invariant;
# the failing input is left under build/fuzz/artifacts/.
#   scripts/run-fuzz.sh [seconds]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target keystring_fuzz

# New inputs go to a scratch copy so the committed seeds stay small.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp fuzz/corpus/* "$work"/
mkdir -p build/fuzz/artifacts

build/fuzz/fuzz/keystring_fuzz \
  -max_total_time="$seconds" \
  -max_len=4096 \
  -timeout=10 \
  -dict=fuzz/keystring.dict \
  -artifact_prefix=build/fuzz/artifacts/ \
  -print_final_stats=1 \
  "$work"
