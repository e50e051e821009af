#!/usr/bin/env bash
# The overview band on a real X display: the program opens a file of tone
# (0-1.5 s), silence (1.5-2.5 s) and tone (2.5-4 s) given on its command
# line; a screenshot of its window then shows, in the band's columns (x 252
# to 448, the middle line at y 62), level bars reaching well above the
# middle line where the file sounds and none where it is silent. Checked
# with the decoded picture (the first run) and with the one kept in the
# levels cache (a second run, which does not decode).
# Usage: bash tests/integration/overview_screen.sh BUILD
set -euo pipefail
BUILD=${1:-build}
APP="$(cd "$BUILD/bin" && pwd)/vivizu"
FIXTURE="$(cd "$(dirname "$0")/../fixtures" && pwd)/tone-pause-tone.mp3"

fail() { echo "overview_screen: FAIL: $*" >&2; [ -n "${work:-}" ] && cat "$work/vivizu.log" >&2 2>/dev/null; exit 1; }
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/xvfb.sh"

[ -x "$APP" ] || fail "$APP is missing (build first)"
require_tools Xvfb xdotool xwininfo import convert
start_work pid xvfb_pid
start_display "$work"
private_home "$work"
cp "$FIXTURE" "$work/song.mp3"

# The band's columns and the row 10 pixels above its middle line, where a
# bar of a loud granule is drawn and the band's blue shows where there is
# none.
band_left=252 band_right=448 row=52
# row_reds FILE: the red of every pixel of that row from band_left to
# band_right, one a line.
row_reds() {
  convert "$1" -crop "$((band_right - band_left + 1))x1+${band_left}+${row}" +repage \
    -depth 8 txt:- | awk -F'[(,)]' 'NR > 1 { print $3 }'
}
# column_of SECONDS: the band's column of a time on this 4-second stream.
column_of() { awk -v s="$1" 'BEGIN { printf "%d", (448 - 252 + 1) * s / 4 }'; }

# check_run NAME: starts the program on the song, takes a picture of its
# window once the picture has settled, closes it and checks the row.
check_run() {
  "$APP" "$work/song.mp3" >"$work/vivizu.log" 2>&1 &
  pid=$!
  wait_window '^Vivizu$' 592x452 || fail "no main window appeared"
  local window=$found
  sleep 2 # the decode of four seconds takes a fraction of that
  import -window "$window" "$work/$1.png" || fail "import could not take a picture"
  mapfile -t reds < <(row_reds "$work/$1.png")
  [ "${#reds[@]}" -eq $((band_right - band_left + 1)) ] || fail "$1: ${#reds[@]} pixels read from the picture"
  # A bar is white over the band's blue: far more red than the blue's 38-72.
  local loud=0 silent=0 x
  local -a ranges=("$(column_of 0.15) $(column_of 1.35) bar" "$(column_of 1.7) $(column_of 2.3) none"
    "$(column_of 2.7) $(column_of 3.85) bar")
  local range from to want
  for range in "${ranges[@]}"; do
    read -r from to want <<<"$range"
    for ((x = from; x <= to; x++)); do
      if [ "$want" = bar ]; then
        [ "${reds[$x]}" -ge 150 ] || fail "$1: no bar at column $((band_left + x)) (red ${reds[$x]}), where the file sounds"
        loud=$((loud + 1))
      else
        [ "${reds[$x]}" -le 100 ] || fail "$1: a bar at column $((band_left + x)) (red ${reds[$x]}), where the file is silent"
        silent=$((silent + 1))
      fi
    done
  done
  echo "overview_screen: $1: bars in all $loud loud columns, none in all $silent silent ones"
  xdotool key --window "$window" alt+F4 2>/dev/null || true
  stop_process "$pid"
  pid=""
}

check_run decoded
ls "$HOME/.cache/vivizu/"*.levels >/dev/null 2>&1 || fail "the decoded levels were not kept in $HOME/.cache/vivizu"
check_run kept
echo "overview_screen: passed"
