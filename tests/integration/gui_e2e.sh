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
source "$(dirname "$0")/lib/xvfb.sh"

[ -x "$APP" ] || fail "$APP is missing (build first)"
[ -x "$CLI" ] || fail "$CLI is missing (build first)"
for tool in Xvfb xdotool xwininfo; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh)"
done
play_check=1
for tool in pulseaudio pactl parecord sox; do
  command -v "$tool" >/dev/null || { play_check=0; echo "gui_e2e: $tool missing, Play is not checked"; }
done
[ -e "$BUILD/bin/libvivizu-media.so" ] || { play_check=0; echo "gui_e2e: no preview module, Play is not checked"; }

work=$(mktemp -d)
xvfb_pid="" pid="" pa_pid="" rec_pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$rec_pid" ] && kill "$rec_pid" 2>/dev/null || true
  if [ -n "$pa_pid" ]; then
    kill "$pa_pid" 2>/dev/null || true
    wait "$pa_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work" 1024x768x24 || fail "the virtual X server did not start"

# The real window system, at scale 1, whatever the caller's environment says.
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER PULSE_SINK

# A sound server of our own with a null sink, reachable only through the
# temporary runtime folder.
if [ "$play_check" = 1 ]; then
  pulseaudio --daemonize=no --exit-idle-time=-1 -n \
    --load=module-null-sink --load=module-native-protocol-unix \
    >"$work/pulseaudio.log" 2>&1 &
  pa_pid=$!
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null 2>&1 || fail "pulseaudio did not start"
  export SDL_AUDIODRIVER=pulseaudio
fi

cp "$FIXTURE" "$work/song.mp3"
"$APP" >"$work/vivizu.log" 2>&1 &
pid=$!

# find_window WIDTHxHEIGHT: the visible window named "Vivizu" of that size.
find_window() {
  local id size
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended unexpectedly"
    for id in $(xdotool search --onlyvisible --name '^Vivizu$' 2>/dev/null || true); do
      size=$(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
      if [ "$size" = "$1" ]; then echo "$id"; return; fi
    done
    sleep 0.1
  done
}
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

window=$(find_window 592x452)
[ -n "$window" ] || fail "no 592 x 452 window titled \"Vivizu\" appeared"
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
  sink=$(pactl get-default-sink)
  parecord --device="$sink.monitor" --latency-msec=20 --rate=44100 --channels=2 \
    --format=s16le --file-format=wav "$work/recorded.wav" &
  rec_pid=$!
  for _ in $(seq 100); do
    [ "$(stat -c %s "$work/recorded.wav" 2>/dev/null || echo 0)" -gt 20000 ] && break
    sleep 0.1
  done
  # Play (88 x 48 at 396, 114), then OK in the play-from dialog: "Play from
  # Start Tag" is checked the first time.
  click "$window" 440 138
  dialog=$(find_window 340x180)
  [ -n "$dialog" ] || fail "the play-from dialog did not appear"
  click "$dialog" 185 152
  sleep 1.2
  # Stop (88 x 48 at 490, 114).
  click "$window" 534 138
  sleep 0.3
  kill -INT "$rec_pid"
  wait "$rec_pid" || true
  rec_pid=""
  sox "$work/recorded.wav" "$work/heard.wav" silence 1 0.01 1% reverse silence 1 0.01 1% reverse
  heard=$(soxi -D "$work/heard.wav")
  echo "gui_e2e: Play from the start tag: the sink heard $heard s of sound before Stop"
  awk -v d="$heard" 'BEGIN { exit !(d >= 0.3) }' || fail "no sound was heard from Play"
fi

# The close button sits at the top right: 40 x 20 at (547, 0).
click "$window" 567 10

status=""
for _ in $(seq 100); do
  if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "the program did not end after its close button was clicked"
pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "gui_e2e: ok (window $window, saved and played, clean exit)"
