# shellcheck shell=bash
# Sourced by scripts that need a virtual X server of their own.
# start_xvfb WORK SCREEN: starts Xvfb with one screen of SCREEN (for example
# 1024x768x24) on a display it picks itself, with its report files in the
# folder WORK; sets xvfb_pid (for the caller to end) and exports DISPLAY.
# Fails when the server has not named its display within five seconds.
# The server does not reset when its last client leaves (-noreset): a
# program started right then would find no display, and the root's colour
# set by the script would be lost.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$2" -nolisten tcp -noreset 3>"$1/display" 2>"$1/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$1/display" ] && break; sleep 0.05; done
  [ -s "$1/display" ] || return 1
  DISPLAY=":$(head -n 1 "$1/display")"
  export DISPLAY
}

# The functions below need common.sh and the script's fail.

# start_display WORK: a 1024 x 768 virtual display for the program, which
# uses the real window system at scale 1 whatever the caller's environment
# says, with a private runtime folder (WORK/run). Sets xvfb_pid.
start_display() {
  start_xvfb "$1" 1024x768x24 || fail "the virtual X server did not start"
  unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR
  private_runtime "$1"
}

# window_size ID: the window's size, WIDTHxHEIGHT.
window_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# find_window NAME [SIZE]: prints the id of the first visible window whose
# name matches NAME (and whose size is SIZE, WIDTHxHEIGHT, when given);
# returns 1 when there is none.
find_window() {
  local id
  for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null || true); do
    if [ -z "${2:-}" ] || [ "$(window_size "$id")" = "$2" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# wait_window NAME [SIZE]: waits up to ten seconds for find_window NAME SIZE
# and sets found to the window's id; returns 1 when none appeared. The
# program ($pid, its output in $work/vivizu.log) must run all the while: its
# end is a failure.
wait_window() {
  local _
  found=""
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || { cat "$work/vivizu.log" >&2; fail "the program ended early"; }
    found=$(find_window "$@") && return 0
    sleep 0.1
  done
  return 1
}

# wait_exit: waits up to ten seconds for the program ($pid) to end, then sets
# status to its exit status and clears pid; returns 1 when it still runs.
wait_exit() {
  local _
  for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      status=0
      wait "$pid" || status=$?
      pid=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}
