#!/usr/bin/env bash
# Builds the keyboard and runs it under Wine next to Notepad, to try it by
# hand. Uses the current X display when there is one; otherwise makes a
# virtual one and says how to look at it. Returns when the keyboard closes.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

scripts/install-deps.sh
cmake --preset mingw
cmake --build --preset mingw
EXE="$ROOT/build/mingw/src/platform/win32/qm-osk.exe"

source scripts/desktop.sh
VNC_PID=""
cleanup() {
  local rc=$?
  if [[ -n "$VNC_PID" ]]; then kill "$VNC_PID" 2>/dev/null || true; fi
  desktop_cleanup
  return $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [[ -z "${DISPLAY:-}" ]]; then
  desktop_start
  if command -v x11vnc >/dev/null; then
    x11vnc -display "$DISPLAY" -localhost -nopw -forever -quiet -rfbport 5900 \
      >"$QMOSK_RUN_DIR/x11vnc.log" 2>&1 &
    VNC_PID=$!
    echo "Watch it with a VNC viewer on localhost:5900 (ssh -L 5900:localhost:5900 if remote)."
  else
    echo "No x11vnc (QMOSK_WITH_VNC=1 scripts/install-deps.sh installs it)."
  fi
  echo "Virtual display $DISPLAY. Screenshot: import -display $DISPLAY -window root shot.png"
fi

# The keyboard keeps its settings in this prefix between runs.
export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/qm-osk/wineprefix}"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
desktop_run_dir
echo "$WINEPREFIX" >>"$QMOSK_RUN_DIR/prefixes"
# Programs that start together must find a server already running (see
# wine_fresh_prefix in desktop.sh); one left from an earlier run serves too.
wineserver -p 2>/dev/null || true

DRIVE="$ROOT/build/mingw/tools/osk-drive/osk-drive.exe"
wine notepad >/dev/null 2>&1 &
# Below the keyboard's default place, so neither hides the other.
if wine "$DRIVE" wait-window "Untitled - Notepad" 30000 >/dev/null; then
  wine "$DRIVE" move "Untitled - Notepad" 67 430 1120 480 >/dev/null || true
fi
echo "Starting the keyboard; close its window to finish."
wine "$EXE" &
keyboard=$!
# Notepad in front again, so that the keyboard's first look at the desktop
# finds it and keys typed at once go there.
if wine "$DRIVE" wait-window QM_OSK_MAIN 30000 >/dev/null; then
  wine "$DRIVE" foreground "Untitled - Notepad" >/dev/null || true
fi
wait "$keyboard"
