#!/usr/bin/env bash
# Installs into a temporary prefix and runs the installed copy, far from the
# build folder: the companion analyses a file and loads the preview module
# from lib/vivizu; the window, started with a file on its command line,
# finds its language files and marker pictures in share/vivizu and opens
# the file (its length shows in the end time field, read back through the
# X selection); a file that is not an MP3 gets the installed language
# file's message box.
# Usage: bash tests/integration/install_run.sh BUILD
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
FIXTURES=$(cd "$(dirname "$0")/../fixtures" && pwd)

fail() { echo "install_run: FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/xvfb.sh"
require_tools Xvfb xdotool xwininfo xclip appstreamcli
start_work pid xvfb_pid

prefix="$work/prefix"
cmake --install "$BUILD" --prefix "$prefix" >/dev/null
for f in bin/vivizu bin/vivizu-cli lib/vivizu/libvivizu-media.so share/vivizu/Languages/English.isl \
         share/vivizu/MarkStart.bmp share/applications/vivizu.desktop; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done
# The menu entry, its icon and the AppStream data fit together.
appstreamcli validate-tree --no-net "$prefix" >"$work/tree.log" 2>&1 ||
  { cat "$work/tree.log" >&2; fail "the installed tree does not validate"; }

song="$FIXTURES/cbr128-tags.mp3"
# The companion from the prefix.
info=$("$prefix/bin/vivizu-cli" info "$song") || fail "vivizu-cli info failed"
length=$(sed -n 's/^Length: *//p' <<<"$info" | head -n 1)
[ -n "$length" ] || fail "vivizu-cli info shows no length: $info"
SDL_AUDIODRIVER=dummy "$prefix/bin/vivizu-cli" play "$song" 0 100 >"$work/play.log" 2>&1 ||
  { cat "$work/play.log" >&2; fail "vivizu-cli play could not load the installed preview module"; }

# The window, on a virtual display, with its settings in a home of its own.
start_display "$work"
private_home "$work"
export XDG_CONFIG_HOME="$work/home/.config"
stop_program() { stop_process "$pid"; pid=""; }

(cd "$work" && exec "$prefix/bin/vivizu" "$song") >"$work/vivizu.log" 2>&1 &
pid=$!
wait_window '^Vivizu$' || fail "no window titled \"Vivizu\" appeared"
window=$found
size=$(window_size "$window")
[ "$size" = "592x452" ] || fail "the first window titled \"Vivizu\" is $size, not 592x452 (an error box?)"

# The end time field (96 x 21 at 288,140) shows the length once the file is
# open; select its text and read the primary selection.
shown=""
for _ in $(seq 50); do
  xdotool mousemove --window "$window" 336 150 click 1 key ctrl+a 2>/dev/null || true
  shown=$(timeout 2 xclip -o -selection primary 2>/dev/null || true)
  [ "$shown" = "$length" ] && break
  sleep 0.1
done
[ "$shown" = "$length" ] || fail "the end time field shows '$shown', not the length $length"
# A missing marker picture or language file would have put up an error box.
count=$(xdotool search --onlyvisible --name '^Vivizu$' | wc -l)
[ "$count" -eq 1 ] || fail "an error box is up beside the window"
stop_program

# A file that is not an MP3: the box captioned with the installed English
# file's Ms_Info text.
info_caption=$(sed -n 's/^Ms_Info=//p' "$prefix/share/vivizu/Languages/English.isl" | tr -d '\r')
printf 'no audio here\n' >"$work/notes.mp3"
(cd "$work" && exec "$prefix/bin/vivizu" notes.mp3) >"$work/vivizu.log" 2>&1 &
pid=$!
wait_window "^${info_caption}\$" || fail "no \"$info_caption\" box for a file that is not an MP3"
stop_program
echo "install_run: ok (length $length)"
