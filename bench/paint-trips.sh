#!/usr/bin/env bash
# Counts the Wine server round trips (requests) the keyboard's thread makes
# for one repaint of one key: a figure that does not depend on how loaded
# the machine is, unlike a time.
#
# The keyboard runs on a private virtual display in a fresh prefix whose
# server traces every request (wineserver -d1). qmosk-paint-poke, built
# here from bench/paint_poke.cpp, invalidates one key (as the keyboard does
# when a key changes: InvalidateRect, no erase) PAINT_N times, each once the
# last paint has begun. From the trace, every message loop turn of the
# keyboard's thread whose get_message returned WM_PAINT for that key is
# counted: that request and all the thread's requests up to its next
# get_message. Turns for other messages (its timers) are left out.
#
# Usage: bench/paint-trips.sh [build-dir]    (default build/mingw, built
#                                            with the mingw preset)
# Environment: PAINT_N (repaints, default 200), PAINT_KEY (the key,
# default BUTTON_LETTER_Q), PAINT_OUT (raw results, default
# build/paint-results). Prints "key_repaints", "requests_per_repaint" (min,
# median, max) and the requests of a median repaint by kind.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
BUILD=$(cd "${1:-$ROOT/build/mingw}" && pwd)
N=${PAINT_N:-200}
KEY=${PAINT_KEY:-BUTTON_LETTER_Q}
OUT=${PAINT_OUT:-$ROOT/build/paint-results}
mkdir -p "$OUT"

OSK_EXE=""
# The executable moved from src/platform/win32 to src/host; either is taken.
for p in src/host/qm-osk.exe src/platform/win32/qm-osk.exe; do
  if [[ -f $BUILD/$p ]]; then OSK_EXE=$BUILD/$p; break; fi
done
[[ -n $OSK_EXE ]] || { echo "paint-trips: no qm-osk.exe in $BUILD" >&2; exit 1; }
DRIVE_EXE=$BUILD/tools/osk-drive/osk-drive.exe
POKE_EXE=$OUT/qmosk-paint-poke.exe
i686-w64-mingw32-g++ -std=c++20 -O2 -municode -static -o "$POKE_EXE" "$ROOT/bench/paint_poke.cpp"

# shellcheck source=../scripts/desktop.sh
source "$ROOT/scripts/desktop.sh"
trap desktop_cleanup EXIT INT TERM
desktop_start
wine_template
wine_fresh_prefix "$QMOSK_RUN_DIR/prefixes.d/paint"
# The server again, this time tracing every request to a file.
wineserver -k 2>/dev/null || true
wineserver -w
TRACE=$OUT/server-trace.log
wineserver -p -d1 2>"$TRACE"

drive() { wine "$DRIVE_EXE" "$@" | tr -d '\r'; }
wine "$OSK_EXE" >"$OUT/keyboard.log" 2>&1 &
drive wait-window main 60000 >/dev/null
sleep 3  # the first paints and the first tracking ticks
ID=$(drive controls main | awk -v k="$KEY" '$2 == k {print $1}')
[[ -n $ID ]] || { echo "paint-trips: no control $KEY" >&2; exit 1; }
wine "$POKE_EXE" "$ID" "$N" | tr -d '\r' >"$OUT/poke.txt"
wineserver -k 2>/dev/null || true

THREAD=$(awk '$1 == "thread" {print $2}' "$OUT/poke.txt")
HWND=$(awk '$1 == "key" {print $2}' "$OUT/poke.txt")
echo "poke_$(grep repaints "$OUT/poke.txt")"
echo "exe $OSK_EXE"
# Requests are "tid: name( args )", replies "tid: name() = STATUS { ... }";
# a thread waits for each reply before its next request.
grep -a "^$THREAD: " "$TRACE" | awk -v win="$HWND" '
  function close_turn() {
    if (open) {
      n[++turns] = count
      for (k in kinds) { if (!(turns in detail)) detail[turns] = ""; detail[turns] = detail[turns] k "=" kinds[k] " " }
    }
    open = 0; count = 0; delete kinds
  }
  {
    line = substr($0, 7)
    if (line ~ /^\*/) next
    name = line; sub(/\(.*/, "", name)
    if (line ~ /^[a-z_]+\(\) = /) {
      # A reply: a get_message that returned WM_PAINT for the key opens a turn.
      if (name == "get_message" && pending && line ~ ("win=" win ",") && line ~ /msg=0000000f,/) {
        open = 1; count = 1; kinds["get_message"] = 1
      }
      pending = 0
      next
    }
    if (name == "get_message") { close_turn(); pending = 1; next }
    if (open) { count++; kinds[name]++ }
  }
  END {
    close_turn()
    if (turns == 0) { print "key_repaints 0"; exit 1 }
    # Sorted copy for the median.
    for (i = 1; i <= turns; i++) s[i] = n[i]
    for (i = 2; i <= turns; i++) { v = s[i]; for (j = i - 1; j >= 1 && s[j] > v; j--) s[j + 1] = s[j]; s[j + 1] = v }
    med = s[int((turns + 1) / 2)]
    print "key_repaints " turns
    print "requests_per_repaint_min " s[1]
    print "requests_per_repaint_median " med
    print "requests_per_repaint_max " s[turns]
    for (i = 1; i <= turns; i++) if (n[i] == med) { print "median_repaint_requests " detail[i]; break }
  }' | tee "$OUT/paint-trips.txt"
