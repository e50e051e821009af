#!/usr/bin/env bash
# The overview's costs on the 1-hour file of bench/run.sh (made here the same
# way when it is missing):
#   opening with and without the overview: vivizu-cli info (the length walk
#     that builds the frame index) against vivizu-cli peaks --estimate (the
#     same walk plus the side-information estimate); goal <= 1.3x
#   the estimate's correlation with the decoded levels per column (dB of the
#     estimate against dB of the decoded peak, 196 columns as in the band) on
#     noise passages with fades and silences between them
# Usage: bench/overview.sh BUILD   (OVERVIEW_RUNS=N runs per command, default 3)
set -euo pipefail

BUILD=${1:-build}
RUNS=${OVERVIEW_RUNS:-3}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
CLI="$BUILD/bin/vivizu-cli"
OUT="$ROOT/bench/out"
CBR="$OUT/cbr128-1h.mp3"

[ -x "$CLI" ] || { echo "overview: $CLI not found; build first" >&2; exit 1; }
mkdir -p "$OUT"
if [ ! -s "$CBR" ]; then
  echo "overview: encoding cbr128-1h.mp3 (3600 s of audio, once)..."
  ffmpeg -v error -f lavfi -i "anoisesrc=d=3600:c=pink:r=44100:a=0.05" \
    -f lavfi -i "sine=f=440:r=44100:d=3600" \
    -filter_complex "amix=inputs=2,aformat=channel_layouts=stereo" -f s16le - |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -b 128 - "$CBR.part"
  mv "$CBR.part" "$CBR"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now_us() { echo "${EPOCHREALTIME/./}"; }
median_ms() {
  local times=() i start end
  for ((i = 0; i <= RUNS; i++)); do
    start=$(now_us)
    "$@" >/dev/null 2>&1 || { echo "overview: failed: $*" >&2; exit 1; }
    end=$(now_us)
    ((i == 0)) || times+=($((end - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END {
    m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
    printf "%.0f", m / 1000 }'
}

open=$(median_ms "$CLI" info "$CBR")
estimate=$(median_ms "$CLI" peaks --estimate --samples-per-pixel 576 -o "$work/e.dat" "$CBR")
echo "opening (info, the length walk)          ${open} ms"
echo "opening with the estimate (peaks --estimate) ${estimate} ms  $(awk -v a="$estimate" -v b="$open" \
  'BEGIN { r = a / b; printf "%.2fx (goal <= 1.3: %s)", r, r <= 1.3 ? "met" : "MISSED" }')"

# Silence-separated passages that fade in and out: 36 s over the band's 196
# columns.
sox -q -n -r 44100 -c 2 "$work/mix.wav" synth 8 pinknoise vol 0.5 fade t 3 8 3 pad 2 2 repeat 2
lame --quiet -b 128 "$work/mix.wav" "$work/mix.mp3"
samples=$("$CLI" info "$work/mix.mp3" | awk -F': ' '$1 == "LengthMs" { printf "%d", $2 * 44.1 / 196 + 1 }')
"$CLI" peaks --estimate --samples-per-pixel "$samples" -o "$work/e.json" "$work/mix.mp3"
"$CLI" peaks --samples-per-pixel "$samples" -o "$work/d.json" "$work/mix.mp3"
python3 - "$work/e.json" "$work/d.json" <<'PY'
import json, math, sys
e, d = (json.load(open(p))["data"] for p in sys.argv[1:3])
db = lambda v: 20 * math.log10(max(abs(v), 1) / 32768)
x = [db(v) for v in e[1::2]]; y = [db(v) for v in d[1::2]]
n = min(len(x), len(y)); x, y = x[:n], y[:n]
mx, my = sum(x) / n, sum(y) / n
cov = sum((a - mx) * (b - my) for a, b in zip(x, y))
sx = math.sqrt(sum((a - mx) ** 2 for a in x)); sy = math.sqrt(sum((b - my) ** 2 for b in y))
print(f"estimate against decoded peak per column: r = {cov / (sx * sy) if sx and sy else float('nan'):.3f} over {n} columns")
PY
