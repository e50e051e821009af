#!/usr/bin/env bash
# Chooses a language in the real program with real clicks and finds the
# choice kept: a scratch copy of the program folder without a settings file,
# the program on a virtual X display, ">> Language" clicked, "French" chosen
# from its menu, the window closed with its close button; then "Vivizu.ini"
# beside the program holds Default=4 in section LANGUAGE, and a second start
# in French ends cleanly and keeps it.
# Usage: bash tests/integration/gui_language.sh BUILD [SHOTS]
# With SHOTS, a screenshot of the window in French is saved in that folder.
set -euo pipefail
BUILD=${1:-build}
SHOTS=${2:-}
BIN="$(cd "$BUILD/bin" && pwd)"

fail() { echo "gui_language: FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/xvfb.sh"

[ -x "$BIN/vivizu" ] || fail "$BIN/vivizu is missing (build first)"
require_tools Xvfb xdotool xwininfo
start_work pid xvfb_pid

# The program folder's files, but no settings file.
app="$work/program"
mkdir -p "$app"
cp -r "$BIN/vivizu" "$BIN/Languages" "$BIN"/Mark*.bmp "$app/"
[ ! -e "$app/Vivizu.ini" ] || fail "the scratch program folder has a settings file"

start_display "$work"
export XDG_CONFIG_HOME="$work/config"

# Starts the program and sets window to its 592 x 452 window.
start_program() {
  "$app/vivizu" >"$work/vivizu.log" 2>&1 &
  pid=$!
  wait_window '^Vivizu$' 592x452 || fail "no 592 x 452 window titled \"Vivizu\" appeared"
  window=$found
}

# Clicks the close button (40 x 20 at 547, 0) and waits for a clean end.
close_program() {
  xdotool mousemove --window "$window" 567 10 click 1
  wait_exit || fail "the program did not end after its close button was clicked"
  [ "$status" -eq 0 ] || { cat "$work/vivizu.log" >&2; fail "the program ended with status $status"; }
}

# The setting as the program stored it: Default in section LANGUAGE.
stored_language() {
  awk -F= '/^\[/ { s = toupper($0) } s == "[LANGUAGE]" && tolower($1) == "default" { print $2 }' "$app/Vivizu.ini"
}

start_program
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y of the window
wx=$X wy=$Y

# ">> Language" is right-aligned in its label (112 x 14 at 400, 4).
xdotool mousemove --window "$window" 500 10 click 1

# The menu opens at the label's bottom-left corner (400, 18): find it there.
menu=""
for _ in $(seq 50); do
  while read -r id; do
    geo=$(xwininfo -id "$id" 2>/dev/null) || continue
    ax=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geo")
    ay=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geo")
    state=$(awk '/Map State:/ {print $3}' <<<"$geo")
    if [ "$state" = "IsViewable" ] && [ "$ax" = $((wx + 400)) ] && [ "$ay" = $((wy + 18)) ]; then
      menu=$id
      mh=$(awk '/Height:/ {print $2}' <<<"$geo")
      mw=$(awk '/Width:/ {print $2}' <<<"$geo")
    fi
  done < <(xwininfo -root -children | awk '/^ +0x/ {print $1}')
  [ -n "$menu" ] && break
  sleep 0.1
done
[ -n "$menu" ] || fail "the language menu did not open below the label"

# Five items of equal height: "French" is the last one.
xdotool mousemove $((wx + 400 + mw / 2)) $((wy + 18 + mh - mh / 10)) click 1
sleep 0.3
[ -z "$SHOTS" ] || import -window root "$SHOTS/main-french-e2e.png"

close_program
[ -f "$app/Vivizu.ini" ] || fail "no Vivizu.ini beside the program after closing"
[ "$(stored_language)" = "4" ] || { cat "$app/Vivizu.ini" >&2; fail "Default is not 4 in section LANGUAGE"; }

# A second start reads French and keeps it.
start_program
sleep 0.2
close_program
[ "$(stored_language)" = "4" ] || fail "the second start did not keep French"
echo "gui_language: ok (French chosen from the menu and kept in Vivizu.ini)"
