#!/usr/bin/env bash
# Soaks the real keyboard under random real clicks on a private virtual
# desktop and prints a table of its windows and memory over the run.
#   scripts/soak.sh [minutes]        (default 10)
#   scripts/soak.sh --short          (about one minute, as the test suite runs it)
#   SOAK_SEED=N scripts/soak.sh ...  (repeats a run's sequence of actions)
# Builds the Windows program first; exits non-zero when the soak fails.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" == "--short" ]]; then
  length=(--seconds 60)
else
  length=(--minutes "${1:-10}")
fi
seed=()
if [[ -n "${SOAK_SEED:-}" ]]; then seed=(--seed "$SOAK_SEED"); fi

cmake --preset mingw >/dev/null
cmake --build --preset mingw >/dev/null

# shellcheck source=scripts/desktop.sh
source scripts/desktop.sh
trap desktop_cleanup EXIT
trap 'exit 130' INT TERM
unset DISPLAY QMOSK_WINE_TEMPLATE
QMOSK_RUN_DIR=""
desktop_start
wine_template
python3 tests/soak/soak.py "${length[@]}" "${seed[@]}"
