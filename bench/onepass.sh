#!/usr/bin/env bash
# The cost of writing a long file's frames against the cost of copying the
# file: the 8-hour file of bench/memory.sh (eight copies of the 1-hour CBR
# file of bench/run.sh, made here the same way when missing), timed side by
# side in one run, the commands taking turns so that a machine whose speed
# drifts moves them all alike:
#   cat FILE > /dev/null         reading the file once
#   cat FILE > COPY              copying it once (the yardstick; the kernel
#                                copies, the bytes never reach cat)
#   dd bs=512K                   copying it through a program's buffer, as any
#                                program that looks at the bytes must: read
#                                once, written once, nothing else done
#   vivizu-cli split --parts 100 the whole file in 100 pieces
#   vivizu-cli cut, 50 --remove  the whole file less 50 stretches of 60 s
# Each figure is the median wall time and the median processor time (user +
# system) of RUNS runs after one warm-up, and the least processor time (this
# machine's writes through write(2) now and then take four times as long), the file in the page cache; the
# outputs go to a fresh folder beside the source, synced to the disk before
# each run. Goals: split at most 1.2x
# the copy, the cut at most 1.3x.
# Usage: bench/onepass.sh BUILD   (ONEPASS_RUNS=N runs, default 5)
set -euo pipefail

BUILD=${1:-build}
RUNS=${ONEPASS_RUNS:-5}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac
CLI="$BUILD/bin/vivizu-cli"
OUT="$ROOT/bench/out"
HOUR="$OUT/cbr128-1h.mp3"
EIGHT="$OUT/cbr128-8h.mp3"

[ -x "$CLI" ] || { echo "onepass: $CLI not found; build first" >&2; exit 1; }
BENCH=onepass
# shellcheck source=bench/lib.sh
. "$ROOT/bench/lib.sh"
mkdir -p "$OUT"
if [ ! -s "$EIGHT" ]; then
  need_tools lame ffmpeg
  make_source 3600 -b 128 "$HOUR"
  echo "onepass: joining eight copies of $(basename "$HOUR") (once)..."
  for _ in 1 2 3 4 5 6 7 8; do cat "$HOUR"; done >"$EIGHT.part"
  mv "$EIGHT.part" "$EIGHT"
fi

WORK=$(mktemp -d "$OUT/onepass.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

len=$("$CLI" info "$EIGHT" | awk -F': ' '$1 == "LengthMs" { print $2 }')
# 50 stretches of 60 s, one in each fiftieth of the file.
removes=()
for ((k = 0; k < 50; k++)); do
  from=$((k * len / 50 + 100000))
  removes+=(--remove "${from}-$((from + 60000))")
done

read_once() { cat "$EIGHT" >/dev/null; }
copy_once() { cat "$EIGHT" >"$WORK/d/copy.mp3"; }
copy_buffered() { dd if="$EIGHT" of="$WORK/d/copy.mp3" bs=512K status=none; }
split_100() { "$CLI" split --parts 100 -d "$WORK/d" "$EIGHT"; }
cut_50() { "$CLI" cut --no-tag "${removes[@]}" "$EIGHT" "$WORK/d/edit.mp3" 0 "$len"; }
names=(read_once copy_once copy_buffered split_100 cut_50)
labels=("cat FILE > /dev/null" "cat FILE > COPY" "dd bs=512K" "split --parts 100" "cut, 50 --remove")

# One timed run of $1 into an empty folder: "wall_ms cpu_ms".
run_once() {
  rm -rf "$WORK/d" && mkdir "$WORK/d"
  sync # no earlier run's writes still going out to the disk
  local TIMEFORMAT='%R %U %S' t
  t=$({ time "$1" >/dev/null 2>&1; } 2>&1) || { echo "onepass: $1 failed" >&2; exit 1; }
  awk '{ printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000 }' <<<"$t"
}

declare -A walls cpus
for name in "${names[@]}"; do run_once "$name" >/dev/null; done # warm-up
for ((r = 0; r < RUNS; r++)); do
  for name in "${names[@]}"; do
    read -r w c < <(run_once "$name")
    walls[$name]+="$w "
    cpus[$name]+="$c "
  done
done
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{ a[NR] = $1 } END {
  print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
least() { tr ' ' '\n' <<<"$1" | grep . | sort -n | head -1; }

echo "onepass: $(basename "$EIGHT") ($(du -m "$EIGHT" | cut -f1) MB), median of $RUNS runs taking turns"
printf '  %-26s %9s %9s  %-26s %9s  %s\n' "command" "wall ms" "cpu ms" "wall / copy (cpu / copy)" \
  "best cpu" "best / best copy"
copy_wall=$(median "${walls[copy_once]}")
copy_cpu=$(median "${cpus[copy_once]}")
copy_best=$(least "${cpus[copy_once]}")
for i in "${!names[@]}"; do
  name=${names[$i]}
  w=$(median "${walls[$name]}")
  c=$(median "${cpus[$name]}")
  goal=""
  [ "$name" = split_100 ] && goal="  (goal <= 1.2)"
  [ "$name" = cut_50 ] && goal="  (goal <= 1.3)"
  b=$(least "${cpus[$name]}")
  printf '  %-26s %9s %9s  %-26s %9s  %sx%s\n' "${labels[$i]}" "$w" "$c" \
    "$(ratio "$w" "$copy_wall")x ($(ratio "$c" "$copy_cpu")x)" "$b" "$(ratio "$b" "$copy_best")" "$goal"
done
