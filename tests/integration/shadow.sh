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
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/xvfb.sh"

[ -x "$APP" ] || fail "$APP is missing (build first)"
[ -x "$CHECK" ] || fail "$CHECK is missing (build first)"
require_tools Xvfb xcompmgr xsetroot xdotool xwininfo import convert
start_work pid cm_pid xvfb_pid
start_display "$work"

# Starts the program and waits for its main window; sets pid and window.
start_program() {
  "$APP" >"$work/vivizu.log" 2>&1 &
  pid=$!
  wait_window '^Vivizu$' 592x452 || fail "no main window appeared"
  window=$found
}
# The shadow: the visible top-level window of 624 x 484. shadow_shows sets
# shadow to its id; shadow_gone is true while there is none.
shadow_shows() { shadow=$(find_window '' 624x484); }
shadow_gone() { ! find_window '' 624x484 >/dev/null; }
compositor_runs() { xwininfo -root -children 2>/dev/null | grep -q '"xcompmgr"'; }
window_corner() { xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x, y}'; }
hex() { printf '0x%x' "$1"; }

# --- 1. with a compositing manager -------------------------------------
xcompmgr >"$work/xcompmgr.log" 2>&1 &
cm_pid=$!
retry 50 compositor_runs || fail "xcompmgr did not start"

start_program
retry 50 shadow_shows || fail "no 624 x 484 shadow window with a compositing manager"
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
stop_process "$pid"; pid=""
stop_process "$cm_pid"; cm_pid=""

# --- 2. without one ------------------------------------------------------
start_program
# Set while the program is connected: the server resets the root when its
# last client leaves.
xsetroot -solid '#808080'
sleep 0.5
shadow_gone || fail "a shadow window without a compositing manager"
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
retry 60 shadow_shows || fail "no shadow after a compositing manager started"
stop_process "$cm_pid"; cm_pid=""
retry 60 shadow_gone || fail "the shadow stayed after the compositing manager stopped"
echo "shadow: ok (glow matches with xcompmgr; no shadow and a clean root without; follows a compositor that starts and stops)"
