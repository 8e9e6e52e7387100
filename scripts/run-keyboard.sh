#!/usr/bin/env bash
# Builds the keyboard and runs it under Wine next to Notepad, to try it by
# hand. Uses the current X display when there is one; otherwise makes a
# virtual one and says how to look at it. Returns when the keyboard closes.
#
#   scripts/run-keyboard.sh           # run it; close its window to finish
#   scripts/run-keyboard.sh --demo    # type a sentence by real clicks, show
#                                     # what arrived, save a screenshot, stop
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

DEMO=0
case "${1:-}" in
  "") ;;
  --demo) DEMO=1 ;;
  *) echo "usage: $0 [--demo]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
cmake --preset mingw
cmake --build --preset mingw
EXE="$ROOT/build/mingw/src/host/qm-osk.exe"

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

# The keyboard keeps its settings in this prefix between runs. The demo
# stores a snippet of its own, so it gets a prefix of its own that goes with
# the run and leaves a person's settings alone.
if ((DEMO)); then
  desktop_run_dir
  export WINEPREFIX="$QMOSK_RUN_DIR/demo-prefix"
else
  export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/qm-osk/wineprefix}"
fi
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
echo "Starting the keyboard."
wine "$EXE" &
keyboard=$!

# The keyboard types into the window it saw in front at its last look, once
# a second. Its own window comes up in front, and the window manager may
# still be raising it after Notepad was put back, so Notepad is brought
# forward until the keyboard's label names it: only then do clicks type.
ready=0
if wine "$DRIVE" wait-window QM_OSK_MAIN 30000 >/dev/null; then
  for _ in 1 2 3 4 5; do
    wine "$DRIVE" foreground "Untitled - Notepad" >/dev/null 2>&1 || true
    if wine "$DRIVE" wait-text main ACTIVE_WINDOW_LABEL "Untitled - Notepad" 3000 >/dev/null 2>&1; then
      ready=1
      break
    fi
  done
fi
if ((ready)); then
  echo "Ready: click keys on the keyboard (top left); they type into Notepad below it."
else
  echo "The keyboard is up, but has not seen Notepad in front yet: click Notepad once, then the keys." >&2
fi

if ((DEMO == 0)); then
  echo "Close the keyboard's window to finish."
  wait "$keyboard"
  exit 0
fi

# --- the demo: everything below is done with real mouse clicks -------------
((ready)) || { echo "demo: the keyboard never took Notepad as its target" >&2; exit 1; }
drive() { wine "$DRIVE" "$@" 2>/dev/null; }
# A key types what it shows, so each click waits for the caption first.
press() { drive wait-text main "$1" "$2" 5000 >/dev/null && drive click main "$1" >/dev/null; }
shifted() { drive click main BUTTON_SHIFT_LEFT >/dev/null && press "$1" "$2"; }

shifted BUTTON_LETTER_H H
for k in E:e L:l L:l O:o; do press "BUTTON_LETTER_${k%%:*}" "${k#*:}"; done
drive click main BUTTON_SPACEBAR >/dev/null
shifted BUTTON_NUMBER_3 "£"
press BUTTON_NUMBER_5 5
drive click main BUTTON_SPACEBAR >/dev/null
# The stored snippet, saved through the settings store as the dialog would.
drive set-reg qm-osk EMAIL_ADDRESS_TEXTBOX "demo{@}example.org" >/dev/null
drive click main AT_SIGN_BUTTON >/dev/null
want="Hello £5 demo@example.org"
got=""
for _ in $(seq 50); do
  got=$(drive edit-text "Untitled - Notepad" || true)
  [[ "$got" == "$want" ]] && break
  sleep 0.1
done
echo "Notepad now reads: \"$got\""

# A chord into a window that shows every key message it gets: Ctrl and Shift
# latched on the keyboard, then F12.
KEYLOG="$ROOT/build/mingw/tools/keylog/qmosk-keylog.exe"
keylog_file="$QMOSK_RUN_DIR/demo-keys.log"
wine "$KEYLOG" "Z:${keylog_file//\//\\}" >/dev/null 2>&1 &
chord=""
if drive wait-window "QM-OSK Key Log" 30000 >/dev/null; then
  drive move "QM-OSK Key Log" 1100 430 440 300 >/dev/null || true
  for _ in 1 2 3; do
    drive foreground "QM-OSK Key Log" >/dev/null || true
    drive wait-text main ACTIVE_WINDOW_LABEL "QM-OSK Key Log" 3000 >/dev/null && break
  done
  drive click main BUTTON_CTRL_LEFT >/dev/null
  drive click main BUTTON_SHIFT_LEFT >/dev/null
  drive click main BUTTON_F_NUM_12 >/dev/null
  for _ in $(seq 50); do
    chord=$(grep -a "WM_KEYDOWN vk=0x7b" "$keylog_file" 2>/dev/null | head -1 || true)
    [[ -n "$chord" ]] && break
    sleep 0.1
  done
fi
echo "The key log window got: ${chord:-nothing}"
# The key log has the chord a few milliseconds after the click, the
# keyboard's faces show the released latches only after its click handler
# has returned (10 to 20 ms after the click here): the screenshot waits for
# the Shift key to be back at rest.
rest=$(drive syscolor 5 || true)
for _ in $(seq 20); do
  [[ "$(drive color main BUTTON_SHIFT_LEFT || true)" == "$rest" ]] && break
  sleep 0.1
done
shot="$ROOT/build/demo.png"
if command -v import >/dev/null; then
  import -display "$DISPLAY" -window root "$shot" && echo "Screenshot: $shot"
fi
drive close main >/dev/null || true
wait "$keyboard" || true
if [[ "$got" != "$want" ]]; then
  echo "demo: expected \"$want\"" >&2
  exit 1
fi
if [[ "$chord" != *"mods=shift,ctrl "* ]]; then
  echo "demo: expected F12 with Ctrl and Shift held in the key log" >&2
  exit 1
fi
echo "demo: every click arrived"
