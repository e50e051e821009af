#!/usr/bin/env bash
# The overview's costs, on the 1-hour CBR and 2-hour VBR files of
# bench/run.sh (made here the same way when they are missing):
#   opening with and without the overview, on both files: vivizu-cli info
#     (the length walk that builds the frame index) against vivizu-cli peaks
#     --estimate (the same walk plus the side-information estimate the
#     window shows at once) written as the band's 196 columns, so that the
#     companion's output of the levels costs next to nothing; goal <= 1.3x;
#     and in the window (bench/startup's open probe, offscreen, an empty
#     levels cache): the Open button's click until the file's information is
#     painted, the overview's job started, against the engine's analysis
#     alone (fastest of 3)
#   the estimate's correlation with the decoded RMS per column (dB against
#     dB, 196 columns as in the band; ffmpeg decodes) on three synthetic
#     tracks: speech-like (noise phrases with a syllable rhythm and short
#     pauses), music-like (decaying harmonic notes, no pauses) and passages
#     of noise that fade in and out between silences; also against the
#     decoded peak per column, which is what the band draws once decoded
# The decoded overview's speed (what the window's background job computes)
# against ffmpeg's decode is timed by bench/decode.sh.
# Usage: bench/overview.sh BUILD   (OVERVIEW_RUNS=N runs per command, default 3)
set -euo pipefail

BUILD=${1:-build}
RUNS=${OVERVIEW_RUNS:-3}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
CLI="$BUILD/bin/vivizu-cli"
OUT="$ROOT/bench/out"
CBR="$OUT/cbr128-1h.mp3"
VBR="$OUT/vbr-2h.mp3"

[ -x "$CLI" ] || { echo "overview: $CLI not found; build first" >&2; exit 1; }
BENCH=overview
# shellcheck source=bench/lib.sh
. "$ROOT/bench/lib.sh"
need_tools lame ffmpeg sox python3
mkdir -p "$OUT"
make_source 3600 -b 128 "$CBR"
make_source 7200 -V 4 "$VBR"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cores=$(nproc)
echo "overview benchmark: median of $RUNS runs after one warm-up, files in the page cache"
echo "machine: $cores CPUs; load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "== opening with and without the overview (goal <= 1.3x)"
for file in "$CBR" "$VBR"; do
  columns=$("$CLI" info "$file" | awk -F': ' '$1 == "LengthMs" { printf "%d", $2 * 44.1 / 196 + 1 }')
  open=$(median_ms "$CLI" info "$file")
  estimate=$(median_ms "$CLI" peaks --estimate --samples-per-pixel "$columns" -o "$work/e.dat" "$file")
  r=$(ratio "$estimate" "$open")
  printf '  %-16s info %6s ms   info + estimate %6s ms   %sx (%s)\n' "$(basename "$file")" "$open" "$estimate" "$r" \
    "$(awk -v r="$r" 'BEGIN { print (r <= 1.3) ? "met" : "MISSED" }')"
done
if cmake --build "$BUILD" --target startup-probe-open >/dev/null 2>&1; then
  for file in "$CBR" "$VBR"; do
    mkdir -p "$work/cache" && rm -rf "$work/cache"/*
    read -r window engine < <(XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen \
      "$BUILD/bin/startup-probe-open" "$file" 2>/dev/null)
    printf '  %-16s window open %6s ms   engine analysis alone %6s ms   %sx\n' "$(basename "$file")" \
      "$window" "$engine" "$(ratio "$window" "$engine")"
  done
else
  echo "  (window open: bench/startup's probe could not be built)"
fi
echo
echo "== the estimate against the decoded levels, per column of 196"

# Synthetic tracks of 36 s, 44.1 kHz mono, written by python (a fixed seed).
python3 - "$work" <<'PY'
import math, random, struct, sys, wave
rate, seconds = 44100, 36
random.seed(7)
def write(name, samples):
    with wave.open(f"{sys.argv[1]}/{name}.wav", "wb") as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples))
n = rate * seconds
# Speech-like: phrases of 0.4-2.5 s of low-passed noise under a syllable
# rhythm (3-6 Hz), each at its own level (-30..-8 dB), with pauses of
# 0.1-0.9 s between them.
speech, t, low = [0.0] * n, 0, 0.0
while t < n:
    length = int(rate * random.uniform(0.4, 2.5)); gain = 10 ** (random.uniform(-30, -8) / 20)
    rhythm = random.uniform(3, 6)
    for i in range(t, min(n, t + length)):
        low = 0.85 * low + 0.15 * random.uniform(-1, 1)
        speech[i] = 3 * low * gain * max(0.0, math.sin(math.pi * rhythm * (i - t) / rate)) ** 2
    t += length + int(rate * random.uniform(0.1, 0.9))
write("speech", speech)
# Music-like: notes of 0.2-1.2 s, three harmonics, a decaying envelope,
# loudness rising and falling over the track, no pauses.
music, t = [0.0] * n, 0
while t < n:
    length = int(rate * random.uniform(0.2, 1.2)); f = 110 * 2 ** (random.randint(0, 24) / 12)
    gain = 0.3 * (0.55 + 0.45 * math.sin(2 * math.pi * t / n * 3)) * random.uniform(0.6, 1.0)
    for i in range(t, min(n, t + int(length * 1.5))):
        x = (i - t) / rate
        env = math.exp(-3 * x)
        music[i] += gain * env * (math.sin(2 * math.pi * f * x) + 0.5 * math.sin(4 * math.pi * f * x) + 0.25 * math.sin(6 * math.pi * f * x)) / 1.75
    t += length
write("music", music)
PY
# Silence-separated passages that fade in and out.
sox -q -n -r 44100 -c 1 "$work/pauses.wav" synth 8 pinknoise vol 0.5 fade t 3 8 3 pad 2 2 repeat 2
for track in speech music pauses; do
  lame --quiet -b 128 "$work/$track.wav" "$work/$track.mp3"
  samples=$("$CLI" info "$work/$track.mp3" | awk -F': ' '$1 == "LengthMs" { printf "%d", $2 * 44.1 / 196 + 1 }')
  "$CLI" peaks --estimate --samples-per-pixel "$samples" -o "$work/e.json" "$work/$track.mp3"
  "$CLI" peaks --samples-per-pixel "$samples" -o "$work/d.json" "$work/$track.mp3"
  ffmpeg -v error -i "$work/$track.mp3" -f s16le -ac 1 "$work/$track.pcm"
  python3 - "$track" "$samples" "$work/e.json" "$work/d.json" "$work/$track.pcm" <<'PY'
import array, json, math, sys
track, spp = sys.argv[1], int(sys.argv[2])
e, d = (json.load(open(p))["data"] for p in sys.argv[3:5])
pcm = array.array("h"); pcm.frombytes(open(sys.argv[5], "rb").read())
db = lambda v: 20 * math.log10(max(abs(v), 1) / 32768)
est = [db(v) for v in e[1::2]]
peak = [db(v) for v in d[1::2]]
rms = []
for c in range(len(est)):
    block = pcm[c * spp:(c + 1) * spp]
    rms.append(db(math.sqrt(sum(s * s for s in block) / len(block))) if len(block) else -90.3)
def r(x, y):
    n = min(len(x), len(y)); x, y = x[:n], y[:n]
    mx, my = sum(x) / n, sum(y) / n
    cov = sum((a - mx) * (b - my) for a, b in zip(x, y))
    sx = math.sqrt(sum((a - mx) ** 2 for a in x)); sy = math.sqrt(sum((b - my) ** 2 for b in y))
    return (cov / (sx * sy) if sx and sy else float("nan")), n
(rr, n), (rp, _) = r(est, rms), r(est, peak)
print(f"  {track:8s} estimate against decoded RMS: r = {rr:.3f}; against decoded peak: r = {rp:.3f} ({n} columns)")
PY
done
