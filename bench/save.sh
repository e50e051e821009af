#!/usr/bin/env bash
# Saving from the window: the time from the Save As click to the hidden wait
# panel for a one-minute cut (60:00-61:00) of the 2-hour VBR file of
# bench/run.sh, against the engine's cut of the same range alone. The file is
# made here the same way when bench/run.sh has not made it yet.
# Usage: bench/save.sh BUILD   (SAVE_RUNS=N runs, default 7)
set -euo pipefail
BUILD=${1:-build}
RUNS=${SAVE_RUNS:-7}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
OUT="$ROOT/bench/out"
VBR="$OUT/vbr-2h.mp3"

cmake --build "$BUILD" --target save-probe >/dev/null
mkdir -p "$OUT"
if [ ! -s "$VBR" ]; then
  for tool in lame ffmpeg; do
    command -v "$tool" >/dev/null || { echo "save: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
  done
  echo "save: encoding vbr-2h.mp3 (7200 s of audio, once)..."
  ffmpeg -v error -f lavfi -i "anoisesrc=d=7200:c=pink:r=44100:a=0.05" \
    -f lavfi -i "sine=f=440:r=44100:d=7200" \
    -filter_complex "amix=inputs=2,aformat=channel_layouts=stereo" -f s16le - |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -V 4 - "$VBR.part"
  mv "$VBR.part" "$VBR"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
read -r window_med window_min engine_med engine_min < <(
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" "$BUILD/bin/save-probe" "$VBR" 3600000 3660000 "$work" "$RUNS")
echo "save: one minute (60:00-61:00) of $(basename "$VBR"), median of $RUNS runs (minimum):"
echo "  window, Save As click to hidden wait panel: $window_med ms ($window_min ms)"
echo "  engine cut alone:                           $engine_med ms ($engine_min ms)"
