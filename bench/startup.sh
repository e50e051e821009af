#!/usr/bin/env bash
# Start-up time: from starting the program to its window's first paint
# reaching the X server, for the main window and for a minimal Qt Widgets
# window of the same size built in the same run. Both run alternately on a
# virtual X display; the medians are compared against the target of 1.5x.
# Usage: bench/startup.sh BUILD   (STARTUP_RUNS=N runs per program, default 21)
set -euo pipefail
BUILD=${1:-build}
RUNS=${STARTUP_RUNS:-21}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "$BUILD" in /*) ;; *) BUILD="$ROOT/$BUILD" ;; esac

if [ -z "${VIVIZU_STARTUP_INNER:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "startup: xvfb-run is missing (scripts/install-deps.sh)" >&2; exit 1; }
  cmake --build "$BUILD" --target startup-probe-minimal startup-probe-vivizu >/dev/null
  VIVIZU_STARTUP_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$BUILD"
fi

unset QT_QPA_PLATFORM QT_SCALE_FACTOR
export XDG_RUNTIME_DIR=$(mktemp -d)
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

# once PROGRAM: microseconds from its start to its first painted frame.
once() {
  VIVIZU_PROBE_T0=${EPOCHREALTIME/./} "$BUILD/bin/$1" 2>/dev/null
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

once startup-probe-minimal >/dev/null  # warm the file cache
once startup-probe-vivizu >/dev/null
minimal=() vivizu=()
for ((i = 0; i < RUNS; i++)); do
  minimal+=("$(once startup-probe-minimal)")
  vivizu+=("$(once startup-probe-vivizu)")
done
m=$(printf '%s\n' "${minimal[@]}" | median)
v=$(printf '%s\n' "${vivizu[@]}" | median)
awk -v m="$m" -v v="$v" -v runs="$RUNS" 'BEGIN {
  ratio = v / m
  printf "startup (median of %d, first paint):\n", runs
  printf "  minimal Qt window  %7.1f ms\n", m / 1000
  printf "  Vivizu main window %7.1f ms\n", v / 1000
  printf "  ratio %.2f (target 1.50): %s\n", ratio, ratio <= 1.5 ? "met" : "NOT MET"
  exit ratio <= 1.5 ? 0 : 1
}'
