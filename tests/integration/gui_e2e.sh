#!/usr/bin/env bash
# Starts the real program on a virtual X display, waits for its 592 x 452
# window titled "Vivizu", clicks the window's close button and expects the
# program to end by itself with exit status 0.
# Usage: bash tests/integration/gui_e2e.sh BUILD
set -euo pipefail
BUILD=${1:-build}
APP="$(cd "$BUILD/bin" && pwd)/vivizu"

fail() { echo "gui_e2e: FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/lib/xvfb.sh"

[ -x "$APP" ] || fail "$APP is missing (build first)"
for tool in Xvfb xdotool xwininfo; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh)"
done

# A virtual X server of our own on a free display, ended with the script.
work=$(mktemp -d)
xvfb_pid="" pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
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
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$APP" >"$work/vivizu.log" 2>&1 &
pid=$!

# The visible top-level window named exactly "Vivizu" and 592 x 452.
window=""
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || { cat "$work/vivizu.log" >&2; fail "the program ended before showing its window"; }
  for id in $(xdotool search --onlyvisible --name '^Vivizu$' 2>/dev/null || true); do
    size=$(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    if [ "$size" = "592x452" ]; then window=$id; break 2; fi
  done
  sleep 0.1
done
[ -n "$window" ] || fail "no 592 x 452 window titled \"Vivizu\" appeared"
[ "$(xdotool getwindowname "$window")" = "Vivizu" ] || fail "window title is not \"Vivizu\""

# The close button sits at the top right: 40 x 20 at (547, 0).
sleep 0.3
xdotool mousemove --window "$window" 567 10
sleep 0.2
xdotool click 1

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
[ "$status" -eq 0 ] || { cat "$work/vivizu.log" >&2; fail "the program ended with status $status"; }
echo "gui_e2e: ok (window $window, clean exit)"
