#!/usr/bin/env bash
# Silence splitting: a synthetic album (tracks of pink noise and a tone,
# separated by pauses of known place and length: digital silence of 2 s,
# 0.6 s and 1 s, and 1.5 s of noise just under -48 dBFS), encoded with LAME,
# split with vivizu-cli split --silence against mp3splt -s in the same run,
# both with a minimum pause of 0.5 s and a threshold of -48 dB. Prints the
# time of each (best of RUNS) and, per true pause, how far each tool's split
# point lies from its middle, with the points outside any pause (extra) and
# the pauses without a point (missed).
# Usage: bench/silence.sh BUILD   (SILENCE_RUNS=N runs, default 3;
#        SILENCE_TRACKS=N tracks of 175 s, default 20: about an hour)
set -euo pipefail
BUILD=${1:-build}
RUNS=${SILENCE_RUNS:-3}
TRACKS=${SILENCE_TRACKS:-20}
TRACK_SECONDS=175
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
OUT="$ROOT/bench/out"
ALBUM="$OUT/album-$TRACKS.mp3"
PAUSES="$OUT/album-$TRACKS.pauses"   # start end kind, seconds of the source

cmake --build "$BUILD" --target vivizu-cli >/dev/null
for tool in sox lame mp3splt; do
  command -v "$tool" >/dev/null || { echo "silence: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
mkdir -p "$OUT"
if [ ! -s "$ALBUM" ]; then
  echo "silence: encoding $(basename "$ALBUM") ($TRACKS tracks, once)..."
  gen=$(mktemp -d "$OUT/gen.XXXXXX")
  sox -q -n -r 44100 -c 2 "$gen/track.wav" synth $TRACK_SECONDS pinknoise synth $TRACK_SECONDS sine mix 330 gain -14
  sox -q -n -r 44100 -c 2 "$gen/p0.wav" trim 0 2
  sox -q -n -r 44100 -c 2 "$gen/p1.wav" trim 0 0.6
  sox -q -n -r 44100 -c 2 "$gen/p2.wav" synth 1.5 whitenoise gain -46
  sox -q -n -r 44100 -c 2 "$gen/p3.wav" trim 0 1
  lengths=(2 0.6 1.5 1)
  kinds=(silence silence noise silence)
  parts=("$gen/track.wav")
  : > "$PAUSES.part"
  at=$TRACK_SECONDS
  for i in $(seq 1 $((TRACKS - 1))); do
    k=$(( (i - 1) % 4 ))
    parts+=("$gen/p$k.wav" "$gen/track.wav")
    end=$(echo "$at ${lengths[$k]}" | awk '{print $1+$2}')
    echo "$at $end ${kinds[$k]}" >> "$PAUSES.part"
    at=$(echo "$end $TRACK_SECONDS" | awk '{print $1+$2}')
  done
  sox -q "${parts[@]}" -t wav - | lame --quiet -V 2 - "$ALBUM.part"
  rm -rf "$gen"
  mv "$PAUSES.part" "$PAUSES"
  mv "$ALBUM.part" "$ALBUM"
fi

work=$(mktemp -d "$OUT/silence.XXXXXX")
trap 'rm -rf "$work"' EXIT
best() {
  local best=""
  for _ in $(seq "$RUNS"); do
    rm -rf "$work/d" "$work/mp3splt.log" && mkdir "$work/d"
    sync
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    t1=$(date +%s.%N)
    best=$(echo "$t0 $t1 ${best:-1e9}" | awk '{d=$2-$1; print (d<$3)?d:$3}')
  done
  echo "$best"
}
CLI="$BUILD/bin/vivizu-cli"
t_viv=$(best "$CLI" split --silence --min-length 0.5 -d "$work/d" "$ALBUM")
# The split points of each tool, in seconds on the decoded time line (every
# frame's samples, the encoder's delay included).
"$CLI" split --silence --min-length 0.5 --dry-run --json "$ALBUM" |
  sed -n '/"pieces"/,$p' | grep -o '"start_ms": [0-9.]*' | awk 'NR>1{print $2/1000}' > "$work/viv.points"
# mp3splt keeps the silences it found in mp3splt.log in its working folder
# and reads them back on the next run: the log is removed before each run.
t_splt=$(cd "$work" && best mp3splt -s -p th=-48,min=0.5 -d "$work/d" "$ALBUM")
# mp3splt's points: the running sum of its pieces' lengths.
ls "$work/d" | grep '\.mp3$' | sort -V | while read -r f; do
  "$CLI" info --json "$work/d/$f" | grep -o '"LengthMs": [0-9]*' | awk '{print $2}'
done | awk '{sum+=$1/1000; print sum}' | sed '$d' > "$work/splt.points"

# LAME's delay and the decoder's: 1105 samples.
shift=$(awk 'BEGIN{print 1105/44100}')
report() { # name points-file
  awk -v shift="$shift" -v name="$1" '
    BEGIN { n = 0; m = 0 }
    FNR==NR { s[n]=$1+shift; e[n]=$2+shift; kind[n]=$3; n++; next }
    { p[m++]=$1 }
    END {
      inside=0; missed=0; worst=0; sum=0; extra=0
      for (j=0;j<m;j++) { hit=0; for (i=0;i<n;i++) if (p[j]>=s[i] && p[j]<=e[i]) hit=1; if (!hit) extra++ }
      for (i=0;i<n;i++) {
        found=0; bestd=1e9
        for (j=0;j<m;j++) if (p[j]>=s[i] && p[j]<=e[i]) { d=p[j]-(s[i]+e[i])/2; if (d<0) d=-d; if (d<bestd) bestd=d; found=1 }
        if (found) { inside++; sum+=bestd; if (bestd>worst) worst=bestd } else missed++
      }
      printf "  %-10s %3d points: %3d of %d pauses hit, %d missed, %d extra; distance from the middle mean %.3f s, worst %.3f s\n",
        name, m, inside, n, missed, extra, inside?sum/inside:0, worst
    }' "$PAUSES" "$2"
}
echo "silence: $(basename "$ALBUM") ($(du -m "$ALBUM" | cut -f1) MB, $TRACKS tracks, $((TRACKS-1)) pauses), best of $RUNS runs:"
printf '  %-44s %8.3f s\n' "vivizu-cli split --silence --min-length 0.5" "$t_viv"
printf '  %-44s %8.3f s  (%.1fx vivizu)\n' "mp3splt -s -p th=-48,min=0.5" "$t_splt" "$(echo "$t_splt $t_viv" | awk '{print $1/$2}')"
report vivizu "$work/viv.points"
report mp3splt "$work/splt.points"
