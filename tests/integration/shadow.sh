#!/usr/bin/env bash
# The main window's outline and glow on a real X server, with and without a
# compositing manager.
#   1. With xcompmgr (which paints the root grey, 128, when no root picture
#      is set): a screenshot shows, along the column through the middle of
#      the window and in every pixel of the window's rectangle outside its
#      rounded outline, the shadow's own pixels composited over that grey
#      (bin/shadow_screen_check); the shadow window (624 x 484) lies
#      directly below the main window in the stacking order.
#   2. Without a compositing manager, on a grey root: no shadow window, and
#      no pixel outside the window's outline differs from the root; the
#      pointer over the window's pixel (0, 0) is not over the window. A
#      compositing manager started then brings the shadow, and stopping it
#      takes the shadow away.
# Usage: bash tests/integration/shadow.sh BUILD
set -euo pipefail
BUILD=${1:-build}
BIN="$(cd "$BUILD/bin" && pwd)"
APP="$BIN/vivizu"
CHECK="$BIN/shadow_screen_check"

fail() { echo "shadow: FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/lib/xvfb.sh"

[ -x "$APP" ] || fail "$APP is missing (build first)"
[ -x "$CHECK" ] || fail "$CHECK is missing (build first)"
for tool in Xvfb xcompmgr xsetroot xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps.sh)"
done

work=$(mktemp -d)
xvfb_pid="" pid="" cm_pid=""
stop() { if [ -n "$1" ]; then kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; fi; }
cleanup() {
  stop "$pid"; stop "$cm_pid"; stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work" 1024x768x24 || fail "the virtual X server did not start"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The id of the visible top-level window of the given size, or nothing.
window_of_size() {
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null || true); do
    size=$(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    if [ "$size" = "$1" ]; then echo "$id"; return; fi
  done
}
# Starts the program and waits for its main window; sets pid and window.
start_program() {
  "$APP" >"$work/vivizu.log" 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || { cat "$work/vivizu.log" >&2; fail "the program ended early"; }
    for id in $(xdotool search --onlyvisible --name '^Vivizu$' 2>/dev/null || true); do
      [ "$(window_size "$id")" = "592x452" ] && { window=$id; return; }
    done
    sleep 0.1
  done
  fail "no main window appeared"
}
window_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
window_corner() { xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x, y}'; }
hex() { printf '0x%x' "$1"; }

# --- 1. with a compositing manager -------------------------------------
xcompmgr >"$work/xcompmgr.log" 2>&1 &
cm_pid=$!
for _ in $(seq 50); do
  xwininfo -root -children 2>/dev/null | grep -q '"xcompmgr"' && break
  sleep 0.1
done
xwininfo -root -children | grep -q '"xcompmgr"' || fail "xcompmgr did not start"

start_program
shadow=""
for _ in $(seq 50); do
  shadow=$(window_of_size 624x484)
  [ -n "$shadow" ] && break
  sleep 0.1
done
[ -n "$shadow" ] || fail "no 624 x 484 shadow window with a compositing manager"
read -r left top < <(window_corner "$window")
read -r sleft stop_ < <(window_corner "$shadow")
[ "$sleft" -eq $((left - 16)) ] && [ "$stop_" -eq $((top - 16)) ] \
  || fail "shadow at $sleft,$stop_ for a window at $left,$top"

# Stacking: the root's children from the bottom up; the shadow comes right
# before the main window.
order=$(xwininfo -root -children | awk '/^ +0x[0-9a-f]+ / {print $1}' | tac)
below=$(echo "$order" | grep -B1 -x "$(hex "$window")" | head -n 1)
[ "$below" = "$(hex "$shadow")" ] || fail "the window directly below the main window is $below, not the shadow $(hex "$shadow")"

sleep 0.5
import -window root "$work/with.png"
"$CHECK" "$work/with.png" "$left" "$top" || {
  cp "$work/with.png" /tmp/shadow-with.png 2>/dev/null || true
  fail "the glow's pixels are not the shadow's (screenshot kept in /tmp/shadow-with.png)"
}
stop "$pid"; pid=""
stop "$cm_pid"; cm_pid=""

# --- 2. without one ------------------------------------------------------
start_program
# Set while the program is connected: the server resets the root when its
# last client leaves.
xsetroot -solid '#808080'
sleep 0.5
[ -z "$(window_of_size 624x484)" ] || fail "a shadow window without a compositing manager"
read -r left top < <(window_corner "$window")
import -window root "$work/without.png"
# Everything but the window's rectangle, and the rectangle's corners
# outside the outline, must be the root's grey.
convert "$work/without.png" +antialias -stroke none -fill '#808080' -draw "rectangle $((left + 4)),$((top + 1)) $((left + 587)),$((top + 450))" \
  -draw "rectangle $((left + 1)),$((top + 4)) $((left + 590)),$((top + 447))" \
  -draw "rectangle $((left + 2)),$((top + 2)) $((left + 589)),$((top + 449))" "$work/masked.png"
colours=$(convert "$work/masked.png" -format '%k' info:)
[ "$colours" = "1" ] || {
  cp "$work/without.png" /tmp/shadow-without.png 2>/dev/null || true
  fail "$colours colours outside the window without a compositing manager (screenshot in /tmp/shadow-without.png)"
}

# The outline also takes the mouse: the pointer over the window's corner
# pixel (0, 0) is over the root, one step inside it is over the window.
pointer_window() { xdotool mousemove "$1" "$2" getmouselocation --shell | awk -F= '/^WINDOW=/ {print $2}'; }
[ "$(pointer_window "$left" "$top")" != "$window" ] || fail "pixel (0, 0) of the window takes the mouse"
[ "$(pointer_window $((left + 10)) $((top + 10)))" = "$window" ] || fail "pixel (10, 10) of the window does not take the mouse"

# A compositing manager that starts while the program runs brings the
# shadow; one that stops takes it away again.
xcompmgr >"$work/xcompmgr.log" 2>&1 &
cm_pid=$!
shadow=""
for _ in $(seq 60); do
  shadow=$(window_of_size 624x484)
  [ -n "$shadow" ] && break
  sleep 0.1
done
[ -n "$shadow" ] || fail "no shadow after a compositing manager started"
stop "$cm_pid"; cm_pid=""
for _ in $(seq 60); do
  [ -z "$(window_of_size 624x484)" ] && break
  sleep 0.1
done
[ -z "$(window_of_size 624x484)" ] || fail "the shadow stayed after the compositing manager stopped"
echo "shadow: ok (glow matches with xcompmgr; no shadow and a clean root without; follows a compositor that starts and stops)"
