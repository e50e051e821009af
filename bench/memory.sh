#!/usr/bin/env bash
# Peak memory on long recordings: the 1-hour CBR file of bench/run.sh (made
# here the same way when it is missing) and an 8-hour file of eight copies
# of its frames, side by side, for
#   the window: opening the file and waiting for the overview's decode
#     (bench/startup's overview probe, offscreen, an empty levels cache)
#   vivizu-cli peaks (16-bit .dat, 256 samples a pixel)
#   vivizu-cli loudness
#   vivizu-cli split --silence --dry-run (the silence search; the source
#     has no pause, so it ends with "no silence found")
# Peak memory is the largest resident set, from /usr/bin/time -f %M. The
# goal: the 8-hour peak at most 1.5x the 1-hour peak for each, and the
# window's 8-hour peak under 150 MB.
# Usage: bench/memory.sh BUILD   (MEMORY_PROBE=PROGRAM and MEMORY_CLI=PROGRAM
# measure other builds of the probe and the companion)
set -euo pipefail

BUILD=${1:-build}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
CLI=${MEMORY_CLI:-$BUILD/bin/vivizu-cli}
PROBE=${MEMORY_PROBE:-$BUILD/bin/startup-probe-overview}
OUT="$ROOT/bench/out"
HOUR="$OUT/cbr128-1h.mp3"
EIGHT="$OUT/cbr128-8h.mp3"

[ -x "$CLI" ] || { echo "memory: $CLI not found; build first" >&2; exit 1; }
BENCH=memory
# shellcheck source=bench/lib.sh
. "$ROOT/bench/lib.sh"
need_tools lame ffmpeg /usr/bin/time
mkdir -p "$OUT"
make_source 3600 -b 128 "$HOUR"
if [ ! -s "$EIGHT" ]; then
  echo "memory: joining eight copies of $(basename "$HOUR") (once)..."
  for _ in 1 2 3 4 5 6 7 8; do cat "$HOUR"; done >"$EIGHT.part"
  mv "$EIGHT.part" "$EIGHT"
fi
[ -n "${MEMORY_PROBE:-}" ] || cmake --build "$BUILD" --target startup-probe-overview >/dev/null 2>&1 ||
  PROBE=""

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# peak_mb CMD...: the peak resident set of one run of CMD, in MB; exit
# codes 0 and 1 (a declined run) count as done.
peak_mb() {
  local code=0
  rm -rf "$work/cache" && mkdir -p "$work/cache"
  XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen /usr/bin/time -f %M -o "$work/rss" \
    "$@" >"$work/stdout" 2>"$work/stderr" || code=$?
  if ((code > 1)); then
    echo "$BENCH: failed ($code): $*" >&2
    sed 's/^/  /' "$work/stderr" >&2
    exit 1
  fi
  awk '/^[0-9]+$/ { printf "%.1f", $1 / 1024 }' "$work/rss"
}

row() {
  local name=$1 goal=$2 one eight r verdict
  shift 2
  one=$(peak_mb "${@//\{\}/$HOUR}")
  eight=$(peak_mb "${@//\{\}/$EIGHT}")
  r=$(ratio "$eight" "$one")
  verdict=$(awk -v r="$r" -v e="$eight" -v g="$goal" 'BEGIN { print (r <= 1.5 && (g == "" || e < g)) ? "met" : "MISSED" }')
  printf '  %-34s %8s %8s %7sx  %s\n' "$name" "$one" "$eight" "$r" "$verdict"
}

echo "memory benchmark: peak resident set in MB; machine: $(nproc) CPUs"
echo "files: $(basename "$HOUR") $(awk -v b="$(stat -c %s "$HOUR")" 'BEGIN { printf "%.0f MB", b / 1048576 }'), $(basename "$EIGHT") $(awk -v b="$(stat -c %s "$EIGHT")" 'BEGIN { printf "%.0f MB", b / 1048576 }')"
echo "goal: 8 h at most 1.5x 1 h for each; the window's 8 h under 150 MB"
echo
printf '  %-34s %8s %8s %8s\n' "run" "1 h" "8 h" "8 h / 1 h"
if [ -n "$PROBE" ] && [ -x "$PROBE" ]; then
  row "window: open + overview decode" 150 "$PROBE" {}
else
  echo "  (window: bench/startup's overview probe could not be built)"
fi
row "vivizu-cli peaks" "" "$CLI" peaks -o "$work/peaks.dat" {}
row "vivizu-cli loudness" "" "$CLI" loudness {}
row "vivizu-cli split --silence" "" "$CLI" split --silence --dry-run -d "$work" {}
