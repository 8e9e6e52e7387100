#!/usr/bin/env bash
# Start-up to a visible window, the keyboard against Notepad, under Wine on
# Xvfb: each run launches the program in a warm prefix (its wineserver
# already up) and times it until X reports its top-level window viewable;
# the two programs alternate, RUNS times each. Prints one line per run and
# the medians (they go in docs/figures.md, Start-up).
#
#   bench/startup.sh [build dir, default build/mingw] [RUNS, default 5]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build/mingw}
RUNS=${2:-5}
OSK_EXE=$BUILD/src/host/qm-osk.exe
# shellcheck source=../scripts/desktop.sh
source "$ROOT/scripts/desktop.sh"
trap desktop_cleanup EXIT INT TERM
desktop_start
wine_template
wine_fresh_prefix "$QMOSK_RUN_DIR/prefixes.d/startup"

# Milliseconds from now until a viewable window whose name matches $1.
viewable_after() {
  local start=$1 pattern=$2 deadline=$((SECONDS + 60))
  until xwininfo -root -tree 2>/dev/null | grep -E "\"$pattern\"" | awk '{print $1}' |
    while read -r id; do xwininfo -id "$id" 2>/dev/null; done | grep -q "IsViewable"; do
    if ((SECONDS >= deadline)); then
      echo "startup: no viewable \"$pattern\" window after 60 s" >&2
      exit 1
    fi
    sleep 0.02
  done
  echo $(( ($(date +%s%N) - start) / 1000000 ))
}

one() {
  local what=$1 start ms
  start=$(date +%s%N)
  if [[ $what == notepad ]]; then
    wine notepad >/dev/null 2>&1 &
    ms=$(viewable_after "$start" "Untitled - Notepad")
  else
    wine "$OSK_EXE" >/dev/null 2>&1 &
    ms=$(viewable_after "$start" "QM-OSK")
  fi
  echo "$what $ms"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p
}

# A first start of each fills the caches; not counted.
one notepad >/dev/null
one keyboard >/dev/null
results=()
for ((i = 0; i < RUNS; i++)); do
  results+=("$(one notepad)" "$(one keyboard)")
done
printf '%s\n' "${results[@]}"
for what in notepad keyboard; do
  printf '%s\n' "${results[@]}" | awk -v w="$what" '$1 == w {print $2}' | sort -n |
    awk -v w="$what" '{a[NR] = $1} END {print w " median_ms " a[int((NR + 1) / 2)]}'
done
