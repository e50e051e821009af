#!/usr/bin/env bash
# The real program on a virtual X display, driven with real clicks and keys:
#  1. its 592 x 452 window titled "Vivizu" appears;
#  2. Open through the real open dialog, type a start time into the start
#     field, Save As through the real save dialog, and compare the new file
#     with `vivizu-cli cut` of the same range and tag;
#  3. Play from the start tag through a private PulseAudio null sink whose
#     monitor is recorded, check that sound was heard, and Stop;
#  4. the close button ends the program with exit status 0.
# Without preview support (or without PulseAudio) step 3 is skipped.
# Usage: bash tests/integration/gui_e2e.sh BUILD
set -euo pipefail
BUILD=${1:-build}
APP="$(cd "$BUILD/bin" && pwd)/vivizu"
CLI="$(cd "$BUILD/bin" && pwd)/vivizu-cli"
FIXTURE="$(cd "$(dirname "$0")/../fixtures" && pwd)/cbr128-tags.mp3"

fail() { echo "gui_e2e: FAIL: $*" >&2; [ -n "${work:-}" ] && cat "$work/vivizu.log" >&2 2>/dev/null; exit 1; }
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/xvfb.sh"
source "$(dirname "$0")/lib/pulse.sh"

[ -x "$APP" ] || fail "$APP is missing (build first)"
[ -x "$CLI" ] || fail "$CLI is missing (build first)"
require_tools Xvfb xdotool xwininfo
play_check=1
for tool in pulseaudio pactl parecord sox; do
  command -v "$tool" >/dev/null || { play_check=0; echo "gui_e2e: $tool missing, Play is not checked"; }
done
[ -e "$BUILD/bin/libvivizu-media.so" ] || { play_check=0; echo "gui_e2e: no preview module, Play is not checked"; }

start_work pid rec_pid pa_pid xvfb_pid
start_display "$work"
private_home "$work"
unset PULSE_SERVER PULSE_SINK

# A sound server of our own with a null sink, reachable only through the
# temporary runtime folder.
if [ "$play_check" = 1 ]; then
  start_pulse "$work"
  export SDL_AUDIODRIVER=pulseaudio
fi

cp "$FIXTURE" "$work/song.mp3"
"$APP" >"$work/vivizu.log" 2>&1 &
pid=$!

# click WINDOW X Y: a left click at (X, Y) of the window's client area.
click() { xdotool mousemove --window "$1" "$2" "$3"; sleep 0.15; xdotool click 1; }
# choose_file PATH: types PATH into the file dialog that has just opened.
choose_file() {
  local dialog=""
  for _ in $(seq 100); do
    dialog=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || fail "no dialog titled \"$1\" appeared"
  sleep 0.5
  xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog" || true
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 5 "$2"
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the dialog \"$1\" did not close"
}

wait_window '^Vivizu$' 592x452 || fail "no 592 x 452 window titled \"Vivizu\" appeared"
window=$found
[ "$(xdotool getwindowname "$window")" = "Vivizu" ] || fail "window title is not \"Vivizu\""
sleep 0.3

# Open (64 x 64 at 12, 32).
click "$window" 44 64
choose_file "Open MP3 file" "$work/song.mp3"
sleep 0.5

# The start field (96 x 21 at 288, 116): start at 000:00:00.500.
click "$window" 292 126
xdotool key Home
xdotool type --delay 20 "0000000500"
sleep 0.2

# Save As (64 x 64 at 84, 32).
click "$window" 116 64
choose_file "Save Mp3 file" "$work/cut.mp3"
for _ in $(seq 50); do [ -s "$work/cut.mp3" ] && break; sleep 0.1; done
[ -s "$work/cut.mp3" ] || fail "Save As wrote no file"

# The same range with the source's tag, which the tag page shows unchanged.
length=$("$CLI" info --json "$work/song.mp3" | sed -n 's/.*"LengthMs": *\([0-9]*\).*/\1/p')
[ -n "$length" ] || fail "vivizu-cli info gave no length"
"$CLI" cut "$work/song.mp3" "$work/reference.mp3" 500 "$length" >/dev/null
cmp "$work/cut.mp3" "$work/reference.mp3" || fail "the saved file differs from vivizu-cli cut 500 $length"
echo "gui_e2e: Save As wrote $(stat -c %s "$work/cut.mp3") bytes, equal to vivizu-cli cut 500 $length"

if [ "$play_check" = 1 ]; then
  start_recording "$work/recorded.wav"
  # Play (88 x 48 at 396, 114), then OK in the play-from dialog: "Play from
  # Start Tag" is checked the first time.
  click "$window" 440 138
  wait_window '^Vivizu$' 340x204 || fail "the play-from dialog did not appear"
  dialog=$found
  click "$dialog" 185 176
  sleep 1.2
  # Stop (88 x 48 at 490, 114).
  click "$window" 534 138
  sleep 0.3
  stop_recording
  heard=$(sound_seconds "$work/recorded.wav" "$work/heard.wav")
  echo "gui_e2e: Play from the start tag: the sink heard $heard s of sound before Stop"
  awk -v d="$heard" 'BEGIN { exit !(d >= 0.3) }' || fail "no sound was heard from Play"
fi

# The close button sits at the top right: 40 x 20 at (547, 0).
click "$window" 567 10

wait_exit || fail "the program did not end after its close button was clicked"
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "gui_e2e: ok (window $window, saved and played, clean exit)"
