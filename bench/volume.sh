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
for tool in lame ffmpeg; do
  command -v "$tool" >/dev/null || { echo "volume: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
mkdir -p "$OUT"

# make_source SECONDS LAME-OPTIONS... FILE: as bench/run.sh makes them.
make_source() {
  local seconds=$1 file=${*: -1}
  local lame_opts=("${@:2:$#-2}")
  [ -s "$file" ] && return
  echo "volume: encoding $(basename "$file") (${seconds} s of audio, once)..."
  ffmpeg -v error -f lavfi -i "anoisesrc=d=$seconds:c=pink:r=44100:a=0.05" \
    -f lavfi -i "sine=f=440:r=44100:d=$seconds" \
    -filter_complex "amix=inputs=2,aformat=channel_layouts=stereo" -f s16le - |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian "${lame_opts[@]}" \
      - "$file.part" 2>>"$OUT/encode.log"
  mv "$file.part" "$file"
}
VBR="$OUT/vbr-2h.mp3"
make_source 7200 -V 4 "$VBR"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
now_us() { echo "${EPOCHREALTIME/./}"; }

# median_ms RUNS CMD...: one warm-up run, then RUNS timed runs; the median
# wall time in milliseconds.
median_ms() {
  local runs=$1 times=() i start end
  shift
  for ((i = 0; i <= runs; i++)); do
    start=$(now_us)
    "$@" >/dev/null 2>&1 || { echo "volume: failed: $*" >&2; exit 1; }
    end=$(now_us)
    rm -f "$WORK"/*.mp3
    ((i == 0)) || times+=($((end - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END {
    m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
    printf "%.0f", m / 1000 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0) ? a / b : 0 }'; }
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
p=$(median_ms "$RUNS" plain_cut "$VBR" 1800000 1860000)
g=$(median_ms "$RUNS" volume_cut "$VBR" 1800000 1860000)
row "cut (plain)" "$p" ""
row "cut --gain 3 --fade-in 2000 --fade-out 2000" "$g" "$(ratio "$g" "$p")x plain $(verdict "$g" "$p" 1.2)"
echo

len=$(length_ms "$VBR")
echo "== loudness of $(basename "$VBR") ($(awk -v ms="$len" 'BEGIN { printf "%d:%02d:%02d", ms / 3600000, ms % 3600000 / 60000, ms % 60000 / 1000 }'))"
row "command" "median ms" "ratio"
for span in "1800000 1860000 $RUNS one-minute" "0 $len $LONG_RUNS whole-file"; do
  read -r from to runs label <<<"$span"
  m=$(median_ms "$runs" measure "$VBR" "$from" "$to")
  f=$(median_ms "$runs" ffmpeg_measure "$VBR" "$from" "$to")
  c=$(median_ms "$runs" plain_cut "$VBR" "$from" "$to")
  n=$(median_ms "$runs" normalize_cut "$VBR" "$from" "$to")
  row "ffmpeg -af ebur128=peak=true $label" "$f" ""
  row "vivizu-cli loudness $label" "$m" "$(ratio "$m" "$f")x ffmpeg"
  row "vivizu-cli cut $label" "$c" ""
  row "vivizu-cli cut --normalize $label" "$n" "$(ratio "$n" "$f")x ffmpeg, $(ratio "$n" "$c")x plain cut"
done
echo
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
