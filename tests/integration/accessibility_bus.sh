#!/usr/bin/env bash
# Reads the real program through the accessibility bus (AT-SPI, what screen
# readers use): on a virtual X display, in a session bus of its own, the
# program opens a sound file with accessibility on, and a pyatspi client
# finds the buttons, the position bar and the time fields by their names
# and roles and the overview's words for the selection, then saves through
# the Save As button and hears the notice of the save; once in English, once
# in German (the names follow the language).
# Usage: bash tests/integration/accessibility_bus.sh BUILD
set -euo pipefail
BUILD=${1:-build}
BIN="$(cd "$BUILD/bin" && pwd)"
HERE="$(cd "$(dirname "$0")" && pwd)"

fail() { echo "accessibility_bus: FAIL: $*" >&2; exit 1; }
source "$HERE/lib/common.sh"
source "$HERE/lib/xvfb.sh"

[ -x "$BIN/vivizu" ] || fail "$BIN/vivizu is missing (build first)"
require_tools Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed (scripts/install-deps.sh)"
start_work xvfb_pid

app="$work/program"
mkdir -p "$app"
cp -r "$BIN/vivizu" "$BIN/Languages" "$BIN"/Mark*.bmp "$app/"
start_display "$work"
private_home "$work"
export XDG_CONFIG_HOME="$work/config"
sound="$HERE/../fixtures/tone-pause-tone.mp3"

for language in en de; do
  case $language in
    en) printf '[LANGUAGE]\nDefault=0\n' >"$app/Vivizu.ini" ;;
    de) printf '[LANGUAGE]\nDefault=2\n' >"$app/Vivizu.ini" ;;
  esac
  dbus-run-session -- /usr/bin/python3 "$HERE/lib/atspi_check.py" "$app/vivizu" "$sound" "$language" \
    "$work/saved-$language.mp3" \
    || fail "the window read through the accessibility bus (in $language) is not as expected"
done
echo "accessibility_bus: ok"
