#!/usr/bin/env bash
# Splitting: the 2-hour VBR file of bench/run.sh into 100 equal parts with
# vivizu-cli split, against mp3splt -t (pieces of the same length) and
# against cat of the file into one copy (the cost of reading and writing
# its bytes once). The file is made here the same way when bench/run.sh has
# not made it yet. Each tool writes into a fresh folder; the folders are on
# the same disk.
# Usage: bench/split.sh BUILD   (SPLIT_RUNS=N runs, default 3)
set -euo pipefail
BUILD=${1:-build}
RUNS=${SPLIT_RUNS:-3}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
OUT="$ROOT/bench/out"
VBR="$OUT/vbr-2h.mp3"

cmake --build "$BUILD" --target vivizu-cli >/dev/null
mkdir -p "$OUT"
if [ ! -s "$VBR" ]; then
  for tool in lame ffmpeg; do
    command -v "$tool" >/dev/null || { echo "split: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
  done
  echo "split: encoding vbr-2h.mp3 (7200 s of audio, once)..."
  ffmpeg -v error -f lavfi -i "anoisesrc=d=7200:c=pink:r=44100:a=0.05" \
    -f lavfi -i "sine=f=440:r=44100:d=7200" \
    -filter_complex "amix=inputs=2,aformat=channel_layouts=stereo" -f s16le - |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian -V 4 - "$VBR.part"
  mv "$VBR.part" "$VBR"
fi

work=$(mktemp -d "$OUT/split.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Seconds of wall time of the command, the best of RUNS, each into an empty folder.
best() {
  local best=""
  for _ in $(seq "$RUNS"); do
    rm -rf "$work/d" && mkdir "$work/d"
    sync
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    best=$(echo "$t0 $t1 ${best:-1e9}" | awk '{d=$2-$1; print (d<$3)?d:$3}')
  done
  echo "$best"
}
# 7200 s in 100 parts: 72 s each.
t_cat=$(best sh -c "cat '$VBR' > '$work/d/copy.mp3'")
t_viv=$(best "$BUILD/bin/vivizu-cli" split --parts 100 -d "$work/d" "$VBR")
t_splt=$(best mp3splt -q -f -t 1.12 -d "$work/d" "$VBR")
echo "split: $(basename "$VBR") ($(du -m "$VBR" | cut -f1) MB) into 100 parts, best of $RUNS runs:"
printf '  %-34s %8.3f s\n' "cat (one copy)" "$t_cat"
printf '  %-34s %8.3f s  (%.2fx cat)\n' "vivizu-cli split --parts 100" "$t_viv" "$(echo "$t_viv $t_cat" | awk '{print $1/$2}')"
printf '  %-34s %8.3f s  (%.1fx vivizu)\n' "mp3splt -f -t 1.12 (72 s pieces)" "$t_splt" "$(echo "$t_splt $t_viv" | awk '{print $1/$2}')"
