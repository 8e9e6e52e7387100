#!/usr/bin/env bash
# Measures the keyboard under Wine on a private virtual display and prints a
# table of results (they go in docs/figures.md):
#   1. click-to-arrival latency of a key, against a direct SendInput;
#   2. throughput of a long stored text typed into Notepad, against direct
#      SendInput of the same text;
#   3. idle cost: CPU time, control repaints and messages taken over a quiet
#      minute in each of the states an idle keyboard is left in, with
#      Notepad beside it;
#   4. click-to-arrival latency against a bare program that activates the
#      target and injects the key, and against a bare one-button program
#      that does the same when clicked, over many clicks, counting lost keys;
#   5. the same with the keyboard in keep-focus mode, against bare
#      programs that only inject into the focused window.
#
# Usage: bench/run.sh                 (everything, about forty minutes)
#        BENCH_QUICK=1 bench/run.sh   (4 and 5 only, 40 rounds each: a few
#                                     minutes, for use while developing)
#        bench/run.sh resize          (the time to redraw the whole
#                                     keyboard at a new size, 100 steps)
#        bench/run.sh aids            (hover accuracy and idle cost with the
#                                     typing aids on)
#        bench/run.sh predict         (idle cost with word prediction on,
#                                     and with the pointer moving over
#                                     Notepad, prediction on and off)
#        bench/run.sh language        (idle cost with the keys following
#                                     the input language off and on)
#        bench/run.sh comfort         (idle cost with each comfort setting
#                                     on: fading, docking, number pad, high
#                                     contrast, click sound)
#        bench/run.sh idle            (3 only; BENCH_IDLE_S=10 for a quick
#                                     look, the figures need 60)
# Environment: BENCH_ROUNDS (latency rounds, default 60), BENCH_SWITCH_ROUNDS
# (rounds of 4, default 1000), BENCH_CHARS (throughput text length, default
# 10000), BENCH_BUILD (build directory, default build/mingw-bench),
# BENCH_REPEATS (throughput runs of each kind, default 2), BENCH_IDLE_S
# (default 60),
# BENCH_OUT (directory for raw results, default build/bench-results).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
ROUNDS=${BENCH_ROUNDS:-60}
CHARS=${BENCH_CHARS:-10000}
IDLE_S=${BENCH_IDLE_S:-60}
# Seconds measured while scanning runs, before it rests (aids only).
SCAN_RUN_S=10
SCAN_LIGHT=0x0080FF  # colors::kScanLight, as osk-drive reads it
REPEATS=${BENCH_REPEATS:-2}
QUICK=${BENCH_QUICK:-0}
SWITCH_ROUNDS=${BENCH_SWITCH_ROUNDS:-1000}
if [[ $QUICK == 1 ]]; then
  SWITCH_ROUNDS=${BENCH_SWITCH_ROUNDS:-40}
  ROUNDS=${BENCH_ROUNDS:-40}
fi
OUT=${BENCH_OUT:-$ROOT/build/bench-results}
BUILD=${BENCH_BUILD:-$ROOT/build/mingw-bench}
mkdir -p "$OUT"

# A build directory of its own, so that the benchmark option never leaks
# into the ordinary mingw build.
cmake --preset mingw -B "$BUILD" -DQMOSK_BENCH=ON >"$OUT/configure.log"
cmake --build "$BUILD" --target qm-osk qmosk-bench osk-drive >"$OUT/build.log"
OSK_EXE=$BUILD/src/host/qm-osk.exe
BENCH_EXE=$BUILD/bench/qmosk-bench.exe

# shellcheck source=../scripts/desktop.sh
source "$ROOT/scripts/desktop.sh"
# The pointer mover (predict) is ours to end too.
trap '[[ -z ${POINTER_PID:-} ]] || kill "$POINTER_PID" 2>/dev/null; desktop_cleanup' EXIT INT TERM
desktop_start
wine_template

KEYBOARD_PID=""

bench() { wine "$BENCH_EXE" "$@"; }

# A fresh prefix (empty settings store) with the keyboard running in it;
# arguments after the name go to the keyboard.
start_keyboard() {
  # Starts the prefix's server too, before any client can race to.
  wine_fresh_prefix "$QMOSK_RUN_DIR/prefixes.d/$1"
  wine "$OSK_EXE" "${@:2}" >"$OUT/keyboard-$1.log" 2>&1 &
  # The wine launcher execs the loader, so this is the keyboard's own process.
  KEYBOARD_PID=$!
  if ! desktop_wait_for 60 bench repaints; then
    echo "bench: the keyboard did not start" >&2
    exit 1
  fi
}

stop_keyboard() {
  wineserver -k 2>/dev/null || true
  KEYBOARD_PID=""
}

# The wineserver of the current prefix: its environment names the prefix.
wineserver_pid() {
  local p
  # The server runs as wineserver or wineserver64.
  for p in $(pgrep -U "$(id -u)" '^wineserver'); do
    # Other users' tests come and go while we look.
    if { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$p"
      return
    fi
  done
}

# GetProcessTimes of another process does not advance under Wine 8 (see
# "qmosk-bench cpu"), so CPU time is read from the Linux side.
# User plus system CPU time of a Linux process, all threads, in clock ticks.
# Time on a CPU in ns, summed over the process's threads, from the
# scheduler's own account. The utime and stime of /proc/<pid>/stat come in
# 10 ms ticks and are shared out by sampling: two idle runs of 60 s per
# state, with the same 3 messages a second, read 30 to 80 ms in one run and
# 120 to 170 ms in the other.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d\n", s}'; }

value() { awk -v k="$1" '$1 == k {print $2; exit}' "$2"; }
best() { awk -v k="$1" '$1 == k && (n++ == 0 || $2 > m) {m = $2} END {print m}' "$2"; }
worst() { awk -v k="$1" '$1 == k && (n++ == 0 || $2 < m) {m = $2} END {print m}' "$2"; }
# The elapsed time of the run with the best rate.
best_ms() { awk -v k="$1" '$1 == k"_chars_per_s" && $2 > m {m = $2; t = last} $1 == k"_ms" {last = $2} END {print t}' "$2"; }

# ---- idle ---------------------------------------------------------------

DRIVE_EXE=$BUILD/tools/osk-drive/osk-drive.exe
drive() { wine "$DRIVE_EXE" "$@"; }
NOTEPAD_PID=""
# A spot of the bare desktop, right of the keyboard and above Notepad.
AWAY_X=1500 AWAY_Y=100

# Notepad beside the keyboard, in front and recorded as its target.
start_notepad() {
  wine notepad >"$OUT/notepad.log" 2>&1 &
  NOTEPAD_PID=$!
  drive wait-window "Untitled - Notepad" 30000 >/dev/null
  drive move "Untitled - Notepad" 67 430 1120 480
  drive foreground "Untitled - Notepad"
  drive wait-text main ACTIVE_WINDOW_LABEL "Untitled - Notepad" 5000 >/dev/null
}

# One quiet interval of IDLE_S seconds in the state the last actions left;
# $1 names it, $2 is "toggle" to double-click the Scroll Lock light at its
# start (the light's one repaint shows that the count works).
idle_interval() {
  local name=$1 toggle=${2:-} server xvfb
  server=$(wineserver_pid)
  xvfb=$_DESKTOP_XVFB_PID
  sleep 2  # a flash reset and a tracking tick after the last click
  local r0 m0 k0 n0 s0 x0 t0 r1 m1 k1 n1 s1 x1 t1
  read -r r0 m0 < <(drive activity main | tr -d '\r' | paste -sd' ')
  k0=$(cpu_ns "$KEYBOARD_PID")
  n0=$(cpu_ns "${NOTEPAD_PID:-$KEYBOARD_PID}")
  s0=$(cpu_ns "$server")
  x0=$(cpu_ns "$xvfb")
  t0=$(date +%s.%N)
  [[ "$toggle" == toggle ]] && drive dblclick main SCROLL_LIGHT_LABEL
  sleep "$IDLE_S"
  read -r r1 m1 < <(drive activity main | tr -d '\r' | paste -sd' ')
  k1=$(cpu_ns "$KEYBOARD_PID")
  n1=$(cpu_ns "${NOTEPAD_PID:-$KEYBOARD_PID}")
  s1=$(cpu_ns "$server")
  x1=$(cpu_ns "$xvfb")
  t1=$(date +%s.%N)
  {
    echo "${name}_seconds $(echo "$t1 - $t0" | bc -l)"
    echo "${name}_repaints $((r1 - r0))"
    echo "${name}_messages $((m1 - m0))"
    echo "${name}_keyboard_cpu_ms $(((k1 - k0) / 1000000))"
    if [[ -n "$NOTEPAD_PID" ]]; then echo "${name}_notepad_cpu_ms $(((n1 - n0) / 1000000))"; fi
    echo "${name}_wineserver_cpu_ms $(((s1 - s0) / 1000000))"
    echo "${name}_xvfb_cpu_ms $(((x1 - x0) / 1000000))"
    echo "${name}_foreground $(drive title-of-foreground | tr -d '\r' | tr ' ' '_')"
    echo "${name}_target $(drive text main ACTIVE_WINDOW_LABEL | tr -d '\r' | tr ' ' '_')"
  } >>"$OUT/idle.txt"
}

# ---- switch latency and keep-focus latency ------------------------------

switch_latency() {
  echo "bench: latency against activate-and-inject, $SWITCH_ROUNDS rounds" >&2
  start_keyboard switch
  bench latency-switch "$SWITCH_ROUNDS" "Z:${OUT//\//\\}\\switch.csv" >"$OUT/switch.txt"
  stop_keyboard
}

keep_focus_latency() {
  echo "bench: keep-focus latency, $ROUNDS rounds" >&2
  start_keyboard keepfocus --keep-focus
  bench latency-focused "$ROUNDS" "Z:${OUT//\//\\}\\keepfocus.csv" >"$OUT/keepfocus.txt"
  stop_keyboard
}

ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }

delivery_table() {
  local S=$OUT/switch.txt K=$OUT/keepfocus.txt row f mode
  echo "| Latency, click to character | Keyboard | Bare program, clicked | Bare program | Keyboard / bare | Clicked / bare | Keyboard / clicked |"
  echo "|---|---|---|---|---|---|---|"
  for row in "S median" "S p90" "K median" "K p90"; do
    read -r f mode <<<"$row"
    f=${!f}
    local k c b label
    k=$(value "keyboard_${mode}_ms" "$f") c=$(value "bare_clicked_${mode}_ms" "$f") b=$(value "bare_${mode}_ms" "$f")
    if [[ $f == "$S" ]]; then
      label="Usual mode, $mode"
      [[ $mode == median ]] && label+=" (n=$(value keyboard_n "$f"), lost $(value keyboard_lost "$f")/$(value bare_clicked_lost "$f")/$(value bare_lost "$f"), extra $(value extra_chars "$f"), target noted again $(value target_renoted "$f")); bare: activate, then inject"
    else
      label="Keep-focus mode, $mode"
      [[ $mode == median ]] && label+=" (n=$(value keyboard_n "$f"), lost $(value keyboard_lost "$f")/$(value bare_clicked_lost "$f")/$(value bare_lost "$f"), extra $(value extra_chars "$f"), focus taken $(value keyboard_took_focus "$f")); bare: inject into the focused window"
    fi
    printf '| %s | %s ms | %s ms | %s ms | %s | %s | %s |\n' "$label" "$k" "$c" "$b" \
      "$(ratio "$k" "$b")" "$(ratio "$c" "$b")" "$(ratio "$k" "$c")"
  done
}


# The states an idle keyboard spends its life in, in one run of it: first
# with no target (only the keyboard is open), then with Notepad recorded.
IDLE_STATES=(
  none-away none-key none-disabled
  target-away target-key target-empty target-label
  modes-front modes-key modes-away cmdline-hover
  cmdline cmdline-disabled toggle
)
declare -A IDLE_LABEL=(
  [none-away]="no target, keyboard in front, pointer outside it"
  [none-key]="no target, pointer on the letter key just clicked"
  [none-disabled]="no target, pointer on a disabled key"
  [target-away]="Notepad recorded and in front, pointer outside the keyboard"
  [target-key]="pointer on the letter key just clicked (Notepad in front)"
  [target-empty]="keyboard clicked between the keys, pointer there"
  [target-label]="pointer on the target label, keyboard in front"
  [modes-front]="Shift lock, number-row lock, user F-keys, highlight on; pointer on the highlight button"
  [modes-key]="modes on, pointer on the symbol key just clicked (Notepad in front)"
  [modes-away]="modes on, Notepad in front, pointer outside the keyboard"
  [cmdline-hover]="modes on, Notepad in front, pointer resting on the command line"
  [cmdline]="command line clicked (caret blinking), pointer on it"
  [cmdline-disabled]="command line in use, pointer on a disabled editing key"
  [toggle]="as above, Scroll Lock toggled once (one repaint expected)"
)

idle_states() {
  : >"$OUT/idle.txt"
  start_keyboard idle
  drive wait-window main 30000 >/dev/null
  drive point-at $AWAY_X $AWAY_Y
  idle_interval none-away
  drive click main BUTTON_LETTER_Q
  idle_interval none-key
  drive point main BUTTON_KEY_UP
  idle_interval none-disabled

  start_notepad
  drive point-at $AWAY_X $AWAY_Y
  idle_interval target-away
  drive click main BUTTON_LETTER_A
  idle_interval target-key
  local spot
  spot=$(drive free-spot main | tr -d '\r' | tr ' ' ',')
  drive click main "client:$spot"
  idle_interval target-empty
  drive click main ACTIVE_WINDOW_LABEL
  idle_interval target-label

  local b
  for b in SHIFT_LOCK_BUTTON LOCK_TOP_NUMBER_KEYS_BUTTON BUTTON_MY_FKEYS SHIFT_ARROW_HIGHLIGHT_BUTTON; do
    drive click main "$b"
  done
  # "FK1" when this build has user F-key mode; "F1" when it has not.
  sleep 0.6
  echo "fkey_mode_caption $(drive text main BUTTON_F_NUM_1 | tr -d '\r')" >>"$OUT/idle.txt"
  idle_interval modes-front
  drive click main BUTTON_COMMA
  idle_interval modes-key
  drive point-at $AWAY_X $AWAY_Y
  idle_interval modes-away
  drive point main COMMAND_LINE_TEXTBOX
  idle_interval cmdline-hover

  drive click main COMMAND_LINE_TEXTBOX
  idle_interval cmdline
  drive point main BUTTON_DELETE
  idle_interval cmdline-disabled
  idle_interval toggle toggle
  stop_keyboard
  NOTEPAD_PID=""
}

# % of one core from a CPU time in ms over the interval's seconds.
percent() { printf '%.3f' "$(echo "$1 / 10 / $2" | bc -l)"; }

idle_table() {
  local I=$OUT/idle.txt n
  echo "| Idle, ${IDLE_S} s each | In front | Keyboard CPU | % of a core | Repaints | Messages | Notepad CPU | wineserver CPU | Xvfb CPU |"
  echo "|---|---|---|---|---|---|---|---|---|"
  for n in "${IDLE_STATES[@]}"; do
    printf '| %s | %s | %s ms | %s | %s | %s | %s | %s ms | %s ms |\n' "${IDLE_LABEL[$n]}" \
      "$(value "${n}_foreground" "$I" | tr '_' ' ')" \
      "$(value "${n}_keyboard_cpu_ms" "$I")" \
      "$(percent "$(value "${n}_keyboard_cpu_ms" "$I")" "$(value "${n}_seconds" "$I")")" \
      "$(value "${n}_repaints" "$I")" "$(value "${n}_messages" "$I")" \
      "$(v=$(value "${n}_notepad_cpu_ms" "$I"); [[ -n $v ]] && echo "$v ms" || echo "not running")" \
      "$(value "${n}_wineserver_cpu_ms" "$I")" "$(value "${n}_xvfb_cpu_ms" "$I")"
  done
  echo
  echo "User F-key mode in the modes states: F1 read \"$(value fkey_mode_caption "$I")\" (FK1 = on)."
}

# ---- typing aids ---------------------------------------------------------

# The keyboard with stored choices, in keep-focus mode as its users run it.
start_keyboard_with() {
  local name=$1
  shift
  wine_fresh_prefix "$QMOSK_RUN_DIR/prefixes.d/$name"
  local kv
  for kv in "$@"; do drive set-reg qm-osk "${kv%%=*}" "${kv#*=}"; done
  wine "$OSK_EXE" --keep-focus >"$OUT/keyboard-$name.log" 2>&1 &
  KEYBOARD_PID=$!
  if ! desktop_wait_for 60 bench repaints; then
    echo "bench: the keyboard did not start" >&2
    exit 1
  fi
}

# How many of the keyboard's controls show the scan's light now.
lit_keys() {
  local names
  mapfile -t names < <(drive controls main | tr -d '\r' | awk '{print $2}')
  drive color-each main "${names[@]}" | tr -d '\r' | awk -v c="$SCAN_LIGHT" '$2 == c {n++} END {print n + 0}'
}

# One row of an idle table: $1 the label, $2 the interval's name, $3 the file.
idle_row() {
  local n=$2 I=$3
  printf '| %s | %s | %s ms | %s | %s | %s |\n' "$1" "$(value "${n}_seconds" "$I")" \
    "$(value "${n}_keyboard_cpu_ms" "$I")" \
    "$(percent "$(value "${n}_keyboard_cpu_ms" "$I")" "$(value "${n}_seconds" "$I")")" \
    "$(value "${n}_messages" "$I")" "$(value "${n}_repaints" "$I")"
}

# How late a hover clicks against its setting, then what the keyboard costs
# idle with hover and scanning both on: while the scan runs, and once it
# rests.
aids_bench() {
  : >"$OUT/aids.txt"
  local ms
  for ms in 1000 2000; do
    echo "bench: hover accuracy at $ms ms, $ROUNDS rounds" >&2
    start_keyboard_with "hover-$ms" DWELL_CLICK=1 DWELL_TIME_MS=$ms
    bench hover "$ROUNDS" "$ms" | tr -d '\r' | sed "s/^/h${ms}_/" >>"$OUT/aids.txt"
    stop_keyboard
  done
  echo "bench: idle with hover and scanning on: ${SCAN_RUN_S} s scanning, then 2 states of ${IDLE_S} s at rest" >&2
  : >"$OUT/idle.txt"
  start_keyboard_with aids-idle DWELL_CLICK=1 SCAN_MODE=1
  NOTEPAD_PID=""
  drive point-at $AWAY_X $AWAY_Y
  # Before the scan rests: at the default 1000 ms step the keyboard's eight
  # rows rest three rounds, 24 s, after the start; two seconds of settling
  # and this interval end well before.
  IDLE_S=$SCAN_RUN_S idle_interval aids-scanning
  echo "aids-scanning_lit_at_end $(lit_keys)" >>"$OUT/idle.txt"
  # At rest nothing repaints: the count standing still for more than two
  # steps, then no key in the scan's colour, says the rest has begun.
  local count last still=0 deadline=$((SECONDS + 120))
  last=$(drive activity main | tr -d '\r' | head -1)
  while ((still < 3 && SECONDS < deadline)); do
    sleep 1
    count=$(drive activity main | tr -d '\r' | head -1)
    if [[ $count == "$last" ]]; then still=$((still + 1)); else still=0; fi
    last=$count
  done
  echo "aids-rest_lit $(lit_keys)" >>"$OUT/idle.txt"
  idle_interval aids-away
  drive point main BUTTON_LETTER_Q
  sleep 1.5  # the hover clicks; then the key rests spent
  idle_interval aids-key
  echo "aids-key_lit_at_end $(lit_keys)" >>"$OUT/idle.txt"
  stop_keyboard
  local A=$OUT/aids.txt I=$OUT/idle.txt n
  echo "| Hover time | Click late by, median | p90 | max | n (lost) |"
  echo "|---|---|---|---|---|"
  for ms in 1000 2000; do
    printf '| %s ms | %s ms | %s ms | %s ms | %s (%s) |\n' "$ms" "$(value "h${ms}_hover_late_median_ms" "$A")" \
      "$(value "h${ms}_hover_late_p90_ms" "$A")" "$(value "h${ms}_hover_late_max_ms" "$A")" \
      "$(value "h${ms}_hover_late_n" "$A")" "$(value "h${ms}_hover_late_lost" "$A")"
  done
  echo
  echo "| Idle, hover and scanning on | seconds | keyboard CPU | % of a core | messages | repaints |"
  echo "|---|---|---|---|---|---|"
  for n in aids-scanning aids-away aids-key; do
    idle_row "$n" "$n" "$I"
  done
  echo
  echo "Keys lit: at the end of scanning $(value aids-scanning_lit_at_end "$I"), once at rest $(value aids-rest_lit "$I"), at the end $(value aids-key_lit_at_end "$I")."
}

# What following the user's own keys and clicks costs with word prediction
# on: at rest, with Notepad recorded and in front and the pointer resting
# outside the keyboard and then on a key just clicked; and with the pointer
# moving on and on over Notepad (every move reaches the keyboard as raw
# input while prediction is on), beside the same moves with prediction off.
POINTER_PID=""
start_pointer() {
  python3 "$ROOT/bench/move_pointer.py" 200 520 700 300 125 &
  POINTER_PID=$!
}
stop_pointer() {
  kill "$POINTER_PID" 2>/dev/null || true
  wait "$POINTER_PID" 2>/dev/null || true
  POINTER_PID=""
}

predict_bench() {
  : >"$OUT/idle.txt"
  local v
  for v in 0 1; do
    start_keyboard_with "predict$v" "WORD_PREDICTION=$v"
    start_notepad
    drive click main BUTTON_LETTER_T
    drive point-at $AWAY_X $AWAY_Y
    if [[ $v == 1 ]]; then
      idle_interval predict-away
    fi
    start_pointer
    idle_interval "predict$v-moving"
    stop_pointer
    if [[ $v == 1 ]]; then
      drive click main BUTTON_LETTER_H
      idle_interval predict-key
    fi
    stop_keyboard
    kill "$NOTEPAD_PID" 2>/dev/null || true
  done
  local I=$OUT/idle.txt n
  echo "| Idle, word prediction on | seconds | keyboard CPU | % of a core | messages | repaints |"
  echo "|---|---|---|---|---|---|"
  for n in predict-away predict-key predict1-moving predict0-moving; do
    idle_row "$n" "$n" "$I"
  done
}

# What drawing the character keys from the target's layout costs at rest:
# the same states with the keys following the input language off and on.
language_bench() {
  : >"$OUT/idle.txt"
  local v n
  for v in 0 1; do
    start_keyboard_with "language-$v" FOLLOW_INPUT_LANGUAGE=$v
    start_notepad
    drive click main BUTTON_LETTER_T
    drive point-at $AWAY_X $AWAY_Y
    idle_interval "language-$v-away"
    drive click main BUTTON_LETTER_H
    idle_interval "language-$v-key"
    stop_keyboard
    kill "$NOTEPAD_PID" 2>/dev/null || true
  done
  local I=$OUT/idle.txt
  echo "| Idle, keys following the input language | seconds | keyboard CPU | % of a core | messages | repaints |"
  echo "|---|---|---|---|---|---|"
  for n in language-0-away language-1-away language-0-key language-1-key; do
    idle_row "$n" "$n" "$I"
  done
}

# What the comfort settings cost at rest: each on its own, with Notepad
# recorded and in front, a key clicked (so the click sound has played) and
# the pointer away from the keyboard (so a fading keyboard has faded: the
# wait is 3 s, the interval starts 2 s after the point and runs on after).
COMFORT_STATES=(plain "fade FADE_WHEN_NOT_IN_USE=1" "dock DOCK_BOTTOM=1" "numpad NUM_PAD=1"
                "contrast HIGH_CONTRAST=1" "sound CLICK_SOUND=1")
comfort_bench() {
  : >"$OUT/idle.txt"
  local state name setting
  for state in "${COMFORT_STATES[@]}"; do
    read -r name setting <<<"$state"
    # shellcheck disable=SC2086  # no setting for the plain keyboard
    start_keyboard_with "comfort-$name" $setting
    start_notepad
    # Docked, the keyboard is where Notepad usually stands.
    [[ $name == dock ]] && drive move "Untitled - Notepad" 67 60 1120 300
    drive click main BUTTON_LETTER_T
    drive point-at $AWAY_X $AWAY_Y
    sleep 2
    idle_interval "comfort-$name"
    stop_keyboard
    kill "$NOTEPAD_PID" 2>/dev/null || true
  done
  local I=$OUT/idle.txt
  echo "| Idle, comfort setting on | seconds | keyboard CPU | % of a core | messages | repaints |"
  echo "|---|---|---|---|---|---|"
  for state in "${COMFORT_STATES[@]}"; do
    read -r name _ <<<"$state"
    idle_row "$name" "comfort-$name" "$I"
  done
}

# ---- what runs ------------------------------------------------------------

resize_table() {
  local R=$OUT/resize.txt
  echo "| Redraw of the whole keyboard at a new size (n=$(value resize_n "$R") each) | median | p90 | max |"
  echo "|---|---|---|---|"
  printf '| a step of a drag of the frame: SetWindowPos, then the window painted | %s ms | %s ms | %s ms |\n' \
    "$(value drag_median_ms "$R")" "$(value drag_p90_ms "$R")" "$(value drag_max_ms "$R")"
  printf '| the drag'"'"'s release: every key placed and painted | %s ms | | |\n' "$(value drag_release_ms "$R")"
  printf '| a resize on its own (a program, a maximise): SetWindowPos, then every key painted | %s ms | %s ms | %s ms |\n' \
    "$(value resize_median_ms "$R")" "$(value resize_p90_ms "$R")" "$(value resize_max_ms "$R")"
  printf '| for comparison, an empty window of the same size on a thread of the bench | %s ms | %s ms | %s ms |\n' \
    "$(value bare_median_ms "$R")" "$(value bare_p90_ms "$R")" "$(value bare_max_ms "$R")"
}

if [[ "${1:-}" == resize ]]; then
  echo "bench: resize, 100 size steps" >&2
  start_keyboard resize
  bench resize 100 >"$OUT/resize.txt"
  stop_keyboard
  resize_table | tee "$OUT/resize.md"
  exit 0
fi

if [[ "${1:-}" == predict ]]; then
  predict_bench | tee "$OUT/predict.md"
  exit 0
fi

if [[ "${1:-}" == language ]]; then
  language_bench | tee "$OUT/language.md"
  exit 0
fi

if [[ "${1:-}" == comfort ]]; then
  comfort_bench | tee "$OUT/comfort.md"
  exit 0
fi

if [[ "${1:-}" == aids ]]; then
  aids_bench | tee "$OUT/aids.md"
  exit 0
fi

if [[ "${1:-}" == idle ]]; then
  echo "bench: idle, ${#IDLE_STATES[@]} states of ${IDLE_S} s" >&2
  idle_states
  idle_table | tee "$OUT/idle.md"
  exit 0
fi

switch_latency
keep_focus_latency
if [[ $QUICK == 1 ]]; then
  delivery_table | tee "$OUT/results.md"
  exit 0
fi

echo "bench: idle, ${#IDLE_STATES[@]} states of ${IDLE_S} s" >&2
idle_states

# ---- latency and throughput --------------------------------------------

echo "bench: latency, $ROUNDS rounds" >&2
start_keyboard typing
bench latency "$ROUNDS" "Z:${OUT//\//\\}\\latency.csv" >"$OUT/latency.txt"
# Throughput runs alternate between the keyboard and direct input, each
# into a fresh Notepad and all with the keyboard running, so that both see
# the same machine; the best of REPEATS runs of each is reported.
: >"$OUT/throughput.txt"
for r in $(seq "$REPEATS"); do
  echo "bench: throughput, $CHARS characters, run $r of $REPEATS" >&2
  bench type-osk "$CHARS" >>"$OUT/throughput.txt"
  bench type-direct "$CHARS" vk >>"$OUT/throughput.txt"
  bench type-direct "$CHARS" unicode >>"$OUT/throughput.txt"
done
stop_keyboard

# ---- table --------------------------------------------------------------

L=$OUT/latency.txt T=$OUT/throughput.txt I=$OUT/idle.txt
{
  delivery_table
  echo
  echo "| Measurement | Keyboard | Direct SendInput | Keyboard / direct |"
  echo "|---|---|---|---|"
  printf '| Click-to-arrival latency, median (n=%s, lost %s/%s) | %s ms | %s ms | %s |\n' \
    "$(value keyboard_n "$L")" "$(value keyboard_lost "$L")" "$(value direct_lost "$L")" \
    "$(value keyboard_median_ms "$L")" "$(value direct_median_ms "$L")" \
    "$(ratio "$(value keyboard_median_ms "$L")" "$(value direct_median_ms "$L")")"
  printf '| Click-to-arrival latency, p90 | %s ms | %s ms | %s |\n' \
    "$(value keyboard_p90_ms "$L")" "$(value direct_p90_ms "$L")" \
    "$(ratio "$(value keyboard_p90_ms "$L")" "$(value direct_p90_ms "$L")")"
  printf '| Throughput, %s chars into Notepad, best of %s (VK keys) | %s chars/s (%s ms) | %s chars/s (%s ms) | %s |\n' \
    "$CHARS" "$REPEATS" "$(best keyboard_chars_per_s "$T")" "$(best_ms keyboard "$T")" \
    "$(best direct_vk_chars_per_s "$T")" "$(best_ms direct_vk "$T")" \
    "$(ratio "$(best keyboard_chars_per_s "$T")" "$(best direct_vk_chars_per_s "$T")")"
  printf '| Throughput, direct with KEYEVENTF_UNICODE instead | | %s chars/s (%s ms) | %s |\n' \
    "$(best direct_unicode_chars_per_s "$T")" "$(best_ms direct_unicode "$T")" \
    "$(ratio "$(best keyboard_chars_per_s "$T")" "$(best direct_unicode_chars_per_s "$T")")"
  echo
  idle_table
  echo
  echo "Every run typed the text exactly: keyboard $(worst keyboard_text_matches "$T"), direct VK $(worst direct_vk_text_matches "$T"), direct Unicode $(worst direct_unicode_text_matches "$T") (1 = yes)."
  echo "All throughput runs, chars/s: keyboard $(awk '$1 == "keyboard_chars_per_s" {printf "%s ", $2}' "$T")/ direct VK $(awk '$1 == "direct_vk_chars_per_s" {printf "%s ", $2}' "$T")/ direct Unicode $(awk '$1 == "direct_unicode_chars_per_s" {printf "%s ", $2}' "$T")"
  echo "Raw figures: $OUT"
} | tee "$OUT/results.md"
