# Sourced by scripts that need a virtual X server of their own.
# start_xvfb WORK SCREEN: starts Xvfb with one screen of SCREEN (for example
# 1024x768x24) on a display it picks itself, with its report files in the
# folder WORK; sets xvfb_pid (for the caller to end) and exports DISPLAY.
# Fails when the server has not named its display within five seconds.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$2" -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$1/display" ] && break; sleep 0.05; done
  [ -s "$1/display" ] || return 1
  DISPLAY=":$(head -n 1 "$1/display")"
  export DISPLAY
}
