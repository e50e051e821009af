#!/usr/bin/env bash
# Times vivizu-cli against its peers on long files:
#   cut  30:00-31:00 and the last minute: vivizu-cli cut, ffmpeg -c copy, mp3splt -f;
#        on the 1-hour file also vivizu-cli cut --length-header and --exact
#   info (a full length walk):           vivizu-cli info against cat FILE > /dev/null
#   the same cut and the length walk against bare-mapped-walk (bench/walk/):
#        the least a frame cut can do, as the yardstick
# and shows the peak memory of vivizu-cli on a 1-hour and a 2-hour file, and
# what the frame index adds per frame.
# Usage: bench/run.sh BUILD   (BENCH_RUNS=N sets the runs per command, default 7)
# The source files are made once with LAME into bench/out/ and kept there.
set -euo pipefail

BUILD=${1:-build}
RUNS=${BENCH_RUNS:-7}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
CLI="$BUILD/bin/vivizu-cli"
OUT="$ROOT/bench/out"
WORK="$OUT/work"

[ -x "$CLI" ] || { echo "bench: $CLI not found; build first" >&2; exit 1; }
cmake --build "$BUILD" --target bare-mapped-walk >/dev/null
BARE="$BUILD/bin/bare-mapped-walk"
BENCH=bench
# shellcheck source=bench/lib.sh
. "$ROOT/bench/lib.sh"
need_tools lame ffmpeg mp3splt /usr/bin/time
mkdir -p "$OUT"

CBR="$OUT/cbr128-1h.mp3"
VBR="$OUT/vbr-2h.mp3"
make_source 3600 -b 128 "$CBR"
make_source 7200 -V 4 "$VBR"

rm -rf "$WORK"
mkdir -p "$WORK"
trap 'rm -rf "$WORK"' EXIT

BENCH_CLEAN=$WORK

# verdict A B min|max LIMIT: whether A / B meets the target.
verdict() {
  awk -v a="$1" -v b="$2" -v kind="$3" -v lim="$4" 'BEGIN {
    r = (b > 0) ? a / b : 0
    ok = (kind == "min") ? (r >= lim) : (r <= lim)
    printf "(target %s %s: %s)", (kind == "min") ? ">=" : "<=", lim, ok ? "met" : "MISSED" }'
}

length_ms() { "$CLI" info "$1" | awk -F': ' '$1 == "LengthMs" { print $2 }'; }

# mp3splt times are minutes.seconds.hundredths.
splt_time() { awk -v ms="$1" 'BEGIN { printf "%d.%02d.%02d", ms / 60000, (ms % 60000) / 1000, (ms % 1000) / 10 }'; }
sec() { awk -v ms="$1" 'BEGIN { printf "%.3f", ms / 1000 }'; }

cat_file() { cat "$1" >/dev/null; }
vivizu_cut() { "$CLI" cut --no-tag "$1" "$WORK/$4.mp3" "$2" "$3"; }
vivizu_header_cut() { "$CLI" cut --no-tag --length-header "$1" "$WORK/$4.mp3" "$2" "$3"; }
vivizu_exact_cut() { "$CLI" cut --no-tag --exact "$1" "$WORK/$4.mp3" "$2" "$3"; }
ffmpeg_cut() { ffmpeg -v error -y -ss "$(sec "$2")" -to "$(sec "$3")" -i "$1" -c copy "$WORK/$4.mp3"; }
mp3splt_cut() { mp3splt -Q -f -d "$WORK" -o "$4" "$1" "$(splt_time "$2")" "$(splt_time "$3")"; }

bare_cut() { "$BARE" "$1" "$2" "$3" "$WORK/$4.mp3"; }

peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

echo "vivizu-cli benchmark: median of $RUNS runs after one warm-up, files in the page cache"
echo "machine: $(nproc) CPUs, $(awk '/MemTotal/ { printf "%d MB", $2 / 1024 }' /proc/meminfo)"
echo

for file in "$CBR" "$VBR"; do
  len=$(length_ms "$file")
  size_mb=$(awk -v b="$(stat -c %s "$file")" 'BEGIN { printf "%.1f", b / 1048576 }')
  echo "== $(basename "$file"): ${size_mb} MB, length $("$CLI" info "$file" | awk -F': ' '$1 == "Length" { print $2 }')"
  printf '  %-34s %10s  %s\n' "command" "median ms" "time / vivizu-cli's"
  for range in "1800000 1860000 30:00-31:00" "$((len - 60000)) $len last-minute"; do
    read -r from to label <<<"$range"
    v=$(median_ms vivizu_cut "$file" "$from" "$to" "{}")
    f=$(median_ms ffmpeg_cut "$file" "$from" "$to" "{}")
    s=$(median_ms mp3splt_cut "$file" "$from" "$to" "{}")
    printf '  %-34s %10s\n' "vivizu-cli cut $label" "$v"
    if [ "$file" = "$CBR" ]; then
      hc=$(median_ms vivizu_header_cut "$file" "$from" "$to" "{}")
      ec=$(median_ms vivizu_exact_cut "$file" "$from" "$to" "{}")
      printf '  %-34s %10s  %sx %s\n' "  --length-header $label" "$hc" "$(ratio "$hc" "$v")" "$(verdict "$hc" "$v" max 1.2)"
      printf '  %-34s %10s  %sx %s\n' "  --exact $label" "$ec" "$(ratio "$ec" "$v")" "$(verdict "$ec" "$v" max 1.2)"
    fi
    r=$(ratio "$f" "$v")
    printf '  %-34s %10s  %sx %s\n' "ffmpeg -ss -to -c copy $label" "$f" "$r" "$(verdict "$f" "$v" min 10)"
    r=$(ratio "$s" "$v")
    printf '  %-34s %10s  %sx %s\n' "mp3splt -f $label" "$s" "$r" "$(verdict "$s" "$v" min 3)"
  done
  i=$(median_ms "$CLI" info "$file")
  c=$(median_ms cat_file "$file")
  printf '  %-34s %10s\n' "cat FILE > /dev/null" "$c"
  r=$(ratio "$i" "$c")
  printf '  %-34s %10s  %sx cat %s\n' "vivizu-cli info (length walk)" "$i" "$r" "$(verdict "$i" "$c" max 1.2)"
  echo
done

echo "== against the yardstick: bare-mapped-walk maps the file and finds frames by their lengths alone"
printf '  %-34s %10s %10s  %s\n' "command" "vivizu ms" "bare ms" "ratio"
for file in "$CBR" "$VBR"; do
  name=$(basename "$file" .mp3)
  v=$(median_ms vivizu_cut "$file" 1800000 1860000 "{}")
  b=$(median_ms bare_cut "$file" 1800000 1860000 "{}")
  printf '  %-34s %10s %10s  %sx %s\n' "cut 30:00-31:00 $name" "$v" "$b" "$(ratio "$v" "$b")" "$(verdict "$v" "$b" max 1.3)"
  v=$(median_ms "$CLI" info "$file")
  b=$(median_ms "$BARE" "$file")
  printf '  %-34s %10s %10s  %sx\n' "info (walk + index) / walk $name" "$v" "$b" "$(ratio "$v" "$b")"
done
echo

echo "== peak memory (max RSS, KB)"
printf '  %-34s %12s %12s\n' "command" "1 hour" "2 hours"
printf '  %-34s %12s %12s\n' "vivizu-cli info" \
  "$(peak_kb "$CLI" info "$CBR")" "$(peak_kb "$CLI" info "$VBR")"
printf '  %-34s %12s %12s\n' "vivizu-cli cut 30:00-31:00" \
  "$(peak_kb "$CLI" cut --no-tag "$CBR" "$WORK/m1.mp3" 30:00 31:00)" \
  "$(peak_kb "$CLI" cut --no-tag "$VBR" "$WORK/m2.mp3" 30:00 31:00)"
printf '  %-34s %12s %12s\n' "vivizu-cli cut whole file" \
  "$(peak_kb "$CLI" cut --no-tag "$CBR" "$WORK/m3.mp3" 0 "$(length_ms "$CBR")")" \
  "$(peak_kb "$CLI" cut --no-tag "$VBR" "$WORK/m4.mp3" 0 "$(length_ms "$VBR")")"
# What the index keeps per frame: the growth of the peak memory from a file
# of a few frames to the two-hour file, over its frames.
small=$(peak_kb "$CLI" info "$ROOT/tests/fixtures/vbr48k.mp3")
big=$(peak_kb "$CLI" info "$VBR")
frames=$("$BARE" "$VBR" | awk '{ print $1 }')
awk -v s="$small" -v b="$big" -v f="$frames" 'BEGIN {
  printf "  %-34s %12.1f   (%d frames; target <= 12)\n", "index B/frame, 2 h (+ read buffer)", (b - s) * 1024 / f, f }'
