#!/usr/bin/env bash
# Decoding speed on the 1-hour file of bench/run.sh (made here the same way
# when it is missing), in the same run as its peer:
#   decoded levels (vivizu-cli peaks, one level per granule of 576 samples)
#     on 1 thread and on all threads, against ffmpeg -i FILE -f null -
#   loudness (vivizu-cli loudness: EBU R128 with true peak) on 1 thread and
#     all threads, against ffmpeg -af ebur128=peak=true -f null -
# and the loudness figures of both side by side.
# Usage: bench/decode.sh BUILD   (DECODE_RUNS=N runs per command, default 3)
set -euo pipefail

BUILD=${1:-build}
RUNS=${DECODE_RUNS:-3}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
CLI="$BUILD/bin/vivizu-cli"
OUT="$ROOT/bench/out"
CBR="$OUT/cbr128-1h.mp3"

[ -x "$CLI" ] || { echo "decode: $CLI not found; build first" >&2; exit 1; }
BENCH=decode
# shellcheck source=bench/lib.sh
. "$ROOT/bench/lib.sh"
need_tools lame ffmpeg
mkdir -p "$OUT"
make_source 3600 -b 128 "$CBR"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
levels() { "$CLI" peaks --threads "$1" --samples-per-pixel 576 -o "$work/levels.dat" "$CBR"; }
loudness() { "$CLI" loudness --threads "$1" "$CBR"; }
ffmpeg_decode() { ffmpeg -v error -i "$CBR" -f null -; }
ffmpeg_ebur128() { ffmpeg -nostats -v error -i "$CBR" -af ebur128=peak=true -f null -; }

cores=$(nproc)
echo "decode benchmark: median of $RUNS runs after one warm-up, file in the page cache"
echo "machine: $cores CPUs; file: $(basename "$CBR"), $(awk -v b="$(stat -c %s "$CBR")" 'BEGIN { printf "%.1f MB", b / 1048576 }')"
echo
ff=$(median_ms ffmpeg_decode)
l1=$(median_ms levels 1)
ln=$(median_ms levels "$cores")
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '  %-44s %9s %7s  %s\n' "command" "median ms" "cpu s" "ffmpeg's time / this"
printf '  %-44s %9s %7s\n' "ffmpeg -i FILE -f null -" "$ff" "$(cpu_s ffmpeg_decode)"
printf '  %-44s %9s %7s  %sx\n' "vivizu-cli peaks (levels), 1 thread" "$l1" "$(cpu_s levels 1)" "$(ratio "$ff" "$l1")"
printf '  %-44s %9s %7s  %sx\n' "vivizu-cli peaks (levels), $cores threads" "$ln" "$(cpu_s levels "$cores")" "$(ratio "$ff" "$ln")"
fe=$(median_ms ffmpeg_ebur128)
m1=$(median_ms loudness 1)
mn=$(median_ms loudness "$cores")
printf '  %-44s %9s %7s\n' "ffmpeg -af ebur128=peak=true -f null -" "$fe" "$(cpu_s ffmpeg_ebur128)"
printf '  %-44s %9s %7s  %sx\n' "vivizu-cli loudness, 1 thread" "$m1" "$(cpu_s loudness 1)" "$(ratio "$fe" "$m1")"
printf '  %-44s %9s %7s  %sx\n' "vivizu-cli loudness, $cores threads" "$mn" "$(cpu_s loudness "$cores")" "$(ratio "$fe" "$mn")"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "== figures: vivizu-cli loudness ($cores threads) | ffmpeg ebur128"
"$CLI" loudness "$CBR" | sed 's/^/  /'
ffmpeg -nostats -hide_banner -i "$CBR" -af ebur128=peak=true -f null - 2>&1 |
  awk '/Summary:/ { s = 1 } s && /I:|LRA:|Peak:/ { print "  ffmpeg " $0 }'
