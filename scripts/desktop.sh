# shellcheck shell=bash
# A private desktop for running the keyboard under Wine: a virtual X display
# with a window manager and a UK keymap, and throw-away Wine prefixes copied
# from one template. Source this file, then:
#
#   trap desktop_cleanup EXIT INT TERM
#   desktop_start            # exports DISPLAY
#   wine_template            # once per run, exports QMOSK_WINE_TEMPLATE
#   wine_fresh_prefix DIR    # a prefix with an empty settings store
#
# Everything the functions start is recorded so that desktop_cleanup can end
# exactly those processes and nothing else on the machine.

: "${QMOSK_RUN_DIR:=}"
_DESKTOP_XVFB_PID=""
_DESKTOP_WM_PID=""
_DESKTOP_OWNS_RUN_DIR=0

export WINEDEBUG="${WINEDEBUG:--all}"
# Without this a new prefix offers to download Mono and Gecko, in a dialog
# that nobody is there to answer.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

_desktop_log() { echo "desktop: $*" >&2; }

# Polls a command until it succeeds; gives up after the timeout in seconds.
desktop_wait_for() {
  local timeout=$1; shift
  local deadline=$((SECONDS + timeout))
  until "$@" >/dev/null 2>&1; do
    if ((SECONDS >= deadline)); then return 1; fi
    sleep 0.1
  done
}

desktop_run_dir() {
  if [[ -z "$QMOSK_RUN_DIR" ]]; then
    QMOSK_RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/qmosk-run.XXXXXX")
    _DESKTOP_OWNS_RUN_DIR=1
  fi
  mkdir -p "$QMOSK_RUN_DIR"
  export QMOSK_RUN_DIR
}

# Starts Xvfb on a display number it picks itself (-displayfd), so two runs
# on one machine never race for the same number.
desktop_start() {
  local size=${1:-1600x1000x24}
  desktop_run_dir
  local fdfile="$QMOSK_RUN_DIR/xvfb.display"
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset \
    3>"$fdfile" >"$QMOSK_RUN_DIR/xvfb.log" 2>&1 &
  _DESKTOP_XVFB_PID=$!
  if ! desktop_wait_for 30 grep -q '[0-9]' "$fdfile"; then
    _desktop_log "Xvfb did not start (see $QMOSK_RUN_DIR/xvfb.log)"
    return 1
  fi
  export DISPLAY=":$(tr -dc 0-9 <"$fdfile")"
  if ! desktop_wait_for 30 xdpyinfo -display "$DISPLAY"; then
    _desktop_log "display $DISPLAY does not answer"
    return 1
  fi
  setxkbmap -display "$DISPLAY" gb
  # Focus and activation under Wine follow the window manager; without one
  # they behave unlike any real desktop.
  openbox >"$QMOSK_RUN_DIR/openbox.log" 2>&1 &
  _DESKTOP_WM_PID=$!
  if ! desktop_wait_for 30 _desktop_has_wm; then
    _desktop_log "openbox did not take over $DISPLAY"
    return 1
  fi
  _desktop_log "virtual display $DISPLAY ($size)"
}

_desktop_has_wm() {
  xprop -display "$DISPLAY" -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

# Creates the template prefix once per run; later calls reuse it.
wine_template() {
  desktop_run_dir
  local t="$QMOSK_RUN_DIR/wine-template"
  if [[ ! -f "$t/.complete" ]]; then
    rm -rf "$t"
    _desktop_log "creating the template Wine prefix"
    WINEPREFIX="$t" wineboot -i >"$QMOSK_RUN_DIR/wineboot.log" 2>&1
    # wineboot returns before the registry is flushed; only an idle
    # wineserver guarantees a complete copy.
    WINEPREFIX="$t" wineserver -w
    touch "$t/.complete"
  fi
  export QMOSK_WINE_TEMPLATE="$t"
}

# A prefix holds over a gigabyte of DLLs that nothing writes to, so they are
# hard-linked; the registry files and the user profile, which Wine does write,
# are real copies so that no test sees another test's settings.
_wine_copy_prefix() {
  local from=$1 to=$2 f
  if ! cp -al "$from" "$to" 2>/dev/null; then
    rm -rf "$to"
    cp -a "$from" "$to"
  else
    for f in "$to"/*.reg; do cp --remove-destination -p "$from/${f##*/}" "$f"; done
    rm -rf "$to/drive_c/users"
    cp -a "$from/drive_c/users" "$to/drive_c/users"
  fi
  # "wineserver" names the server's shared memory: a copy would make two
  # servers share it.
  rm -f "$to/.complete" "$to/wineserver"
}

# Copies the template to DIR (replaced when it exists) and exports it as the
# current WINEPREFIX.
wine_fresh_prefix() {
  local dir=$1
  [[ -n "${QMOSK_WINE_TEMPLATE:-}" ]] || wine_template
  if [[ -d "$dir" ]]; then
    WINEPREFIX="$dir" wineserver -k 2>/dev/null || true
    rm -rf "$dir"
  fi
  mkdir -p "$(dirname "$dir")"
  _wine_copy_prefix "$QMOSK_WINE_TEMPLATE" "$dir"
  echo "$dir" >>"$QMOSK_RUN_DIR/prefixes"
  export WINEPREFIX="$dir"
  # Debian's Wine names each server's private directory in the prefix; two
  # programs starting together in a fresh prefix would race to make it, and
  # the loser waits forever. One server started first leaves nothing to race.
  wineserver -p
}

_desktop_stop_pid() {
  local pid=$1
  [[ -n "$pid" ]] || return 0
  kill "$pid" 2>/dev/null || return 0
  local i
  for i in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
}

# Ends every Wine process of every prefix this run made, then the window
# manager and the display. Safe to call more than once and from traps.
desktop_cleanup() {
  local rc=$?
  local p
  if [[ -n "$QMOSK_RUN_DIR" && -d "$QMOSK_RUN_DIR" ]]; then
    if [[ -f "$QMOSK_RUN_DIR/prefixes" ]]; then
      while read -r p; do
        [[ -d "$p" ]] && WINEPREFIX="$p" wineserver -k 2>/dev/null || true
      done <"$QMOSK_RUN_DIR/prefixes"
    fi
    # Prefixes made by the test runner itself live under prefixes/.
    for p in "$QMOSK_RUN_DIR"/prefixes.d/* "$QMOSK_RUN_DIR/wine-template"; do
      [[ -d "$p" ]] && WINEPREFIX="$p" wineserver -k 2>/dev/null || true
    done
  fi
  _desktop_stop_pid "$_DESKTOP_WM_PID"
  _DESKTOP_WM_PID=""
  _desktop_stop_pid "$_DESKTOP_XVFB_PID"
  _DESKTOP_XVFB_PID=""
  if ((_DESKTOP_OWNS_RUN_DIR)) && [[ "${QMOSK_KEEP_RUN_DIR:-0}" != 1 ]]; then
    rm -rf "$QMOSK_RUN_DIR"
    QMOSK_RUN_DIR=""
    _DESKTOP_OWNS_RUN_DIR=0
  fi
  return $rc
}
