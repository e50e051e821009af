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
for tool in lame ffmpeg; do
  command -v "$tool" >/dev/null || { echo "decode: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
mkdir -p "$OUT"
if [ ! -s "$CBR" ]; then
  echo "decode: encoding cbr128-1h.mp3 (3600 s of audio, once)..."
  ffmpeg -v error -f lavfi -i "anoisesrc=d=3600:c=pink:r=44100:a=0.05" \
    -f lavfi -i "sine=f=440:r=44100:d=3600" \
    -filter_complex "amix=inputs=2,aformat=channel_layouts=stereo" -f s16le - |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b 128 - "$CBR.part"
  mv "$CBR.part" "$CBR"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now_us() { echo "${EPOCHREALTIME/./}"; }

# median_ms CMD...: one warm-up run, then RUNS timed runs; the median in ms.
median_ms() {
  local times=() i start end
  for ((i = 0; i <= RUNS; i++)); do
    start=$(now_us)
    "$@" >/dev/null 2>&1 || { echo "decode: failed: $*" >&2; exit 1; }
    end=$(now_us)
    ((i == 0)) || times+=($((end - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END {
    m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
    printf "%.0f", m / 1000 }'
}
# cpu_s CMD...: the processor time (user + system, all threads) of one run,
# in seconds: on a machine that others keep busy, the wall time of several
# threads says little, their processor time still does.
cpu_s() {
  local TIMEFORMAT='%U %S'
  { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.1f", $1 + $2 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0) ? a / b : 0 }'; }

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
