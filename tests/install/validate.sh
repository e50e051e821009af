#!/usr/bin/env bash
# Validates the menu entry, the AppStream file and the manual pages with
# their standard checkers; any warning fails.
# Usage: validate.sh DESKTOP METAINFO MANPAGE...
set -uo pipefail
desktop=$1 metainfo=$2
shift 2
status=0
fail() { echo "validate: FAIL: $*" >&2; status=1; }

for tool in desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || { echo "validate: $tool is not installed (scripts/install-deps.sh)" >&2; exit 1; }
done

out=$(desktop-file-validate "$desktop" 2>&1)
[ -z "$out" ] || fail "$desktop: $out"
grep -qx 'MimeType=audio/mpeg;' "$desktop" || fail "$desktop does not offer to open audio/mpeg"
grep -qx 'Exec=vivizu %f' "$desktop" || fail "$desktop does not pass the file to vivizu"

out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "$metainfo: $out"

for page in "$@"; do
  out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$out" ] || fail "$page: $out"
done
[ $status -eq 0 ] && echo "validate: ok"
exit $status
