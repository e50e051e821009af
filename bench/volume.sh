#!/usr/bin/env bash
# The costs of the lossless volume on the 2-hour VBR file of bench/run.sh
# (made here the same way when it is missing):
#   a cut with --gain 3 --fade-in 2000 --fade-out 2000 against the plain cut
#     of the same span (30:00-31:00); goal <= 1.2x
#   the loudness measurement that --normalize makes, of one minute (30:00-
#     31:00) and of the whole of the 2-hour file, against ffmpeg's ebur128
#     filter (with true peak) measuring the same span; both alone
#     (vivizu-cli loudness) and inside a cut (cut --normalize against the
#     plain cut of the span)
# Usage: bench/volume.sh BUILD   (VOLUME_RUNS=N runs per command, default 5;
#        the whole-file rows take VOLUME_LONG_RUNS, default 3)
set -euo pipefail

BUILD=${1:-build}
RUNS=${VOLUME_RUNS:-5}
LONG_RUNS=${VOLUME_LONG_RUNS:-3}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
CLI="$BUILD/bin/vivizu-cli"
OUT="$ROOT/bench/out"

[ -x "$CLI" ] || { echo "volume: $CLI not found; build first" >&2; exit 1; }
BENCH=volume
# shellcheck source=bench/lib.sh
. "$ROOT/bench/lib.sh"
need_tools lame ffmpeg
mkdir -p "$OUT"

VBR="$OUT/vbr-2h.mp3"
make_source 7200 -V 4 "$VBR"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
BENCH_CLEAN=$WORK
verdict() { # A B LIMIT: whether A / B is at most LIMIT
  awk -v a="$1" -v b="$2" -v lim="$3" 'BEGIN {
    printf "(goal <= %s: %s)", lim, (b > 0 && a / b <= lim) ? "met" : "MISSED" }'
}
length_ms() { "$CLI" info "$1" | awk -F': ' '$1 == "LengthMs" { print $2 }'; }
sec() { awk -v ms="$1" 'BEGIN { printf "%.3f", ms / 1000 }'; }

plain_cut() { "$CLI" cut --no-tag "$1" "$WORK/out.mp3" "$2" "$3"; }
volume_cut() { "$CLI" cut --no-tag --gain 3 --fade-in 2000 --fade-out 2000 "$1" "$WORK/out.mp3" "$2" "$3"; }
normalize_cut() { "$CLI" cut --no-tag --normalize "$1" "$WORK/out.mp3" "$2" "$3"; }
measure() { "$CLI" loudness "$1" "$2" "$3"; }
ffmpeg_measure() {
  ffmpeg -nostdin -hide_banner -nostats -ss "$(sec "$2")" -t "$(sec $(($3 - $2)))" -i "$1" \
    -af ebur128=peak=true -f null -
}
row() { printf '  %-44s %9s  %s\n' "$@"; }

echo "lossless volume benchmark: medians after one warm-up run, files in the page cache"
echo "machine: $(nproc) CPUs; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo

echo "== cut 30:00-31:00 of $(basename "$VBR") ($RUNS runs)"
row "command" "median ms" "ratio"
p=$(median_ms plain_cut "$VBR" 1800000 1860000)
g=$(median_ms volume_cut "$VBR" 1800000 1860000)
row "cut (plain)" "$p" ""
row "cut --gain 3 --fade-in 2000 --fade-out 2000" "$g" "$(ratio "$g" "$p")x plain $(verdict "$g" "$p" 1.2)"
echo

len=$(length_ms "$VBR")
echo "== loudness of $(basename "$VBR") ($(awk -v ms="$len" 'BEGIN { printf "%d:%02d:%02d", ms / 3600000, ms % 3600000 / 60000, ms % 60000 / 1000 }'))"
row "command" "median ms" "ratio"
for span in "1800000 1860000 $RUNS one-minute" "0 $len $LONG_RUNS whole-file"; do
  read -r from to runs label <<<"$span"
  m=$(RUNS=$runs median_ms measure "$VBR" "$from" "$to")
  f=$(RUNS=$runs median_ms ffmpeg_measure "$VBR" "$from" "$to")
  c=$(RUNS=$runs median_ms plain_cut "$VBR" "$from" "$to")
  n=$(RUNS=$runs median_ms normalize_cut "$VBR" "$from" "$to")
  row "ffmpeg -af ebur128=peak=true $label" "$f" ""
  row "vivizu-cli loudness $label" "$m" "$(ratio "$m" "$f")x ffmpeg"
  row "vivizu-cli cut $label" "$c" ""
  row "vivizu-cli cut --normalize $label" "$n" "$(ratio "$n" "$f")x ffmpeg, $(ratio "$n" "$c")x plain cut"
done
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
