#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each for N seconds (default
# 60). Exits non-zero when a fuzzer finds anything; the input that shows it
# is left in build-fuzz/fuzz-artifacts/<target>/.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVIVIZU_FUZZ=ON -DVIVIZU_GUI=OFF -DVIVIZU_MEDIA=OFF -DVIVIZU_TESTS=OFF >/dev/null
cmake --build "$build" --target all_fuzz

status=0
for binary in "$build"/bin/*_fuzz; do
  target=$(basename "$binary")
  # Start from real inputs; the corpus grows in the build folder only.
  corpus=$build/fuzz-corpus/$target
  artifacts=$build/fuzz-artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  if [ -d "$root/fuzz/seeds/$target" ]; then
    cp -n "$root/fuzz/seeds/$target"/* "$corpus"/ 2>/dev/null || true
  fi
  if [ "$target" = engine_fuzz ] || [ -e "$root/fuzz/seeds/$target/.with-fixtures" ]; then
    cp -n "$root"/tests/fixtures/*.mp3 "$corpus"/ 2>/dev/null || true
  fi
  dict=()
  if [ -f "$root/fuzz/$target.dict" ]; then dict=(-dict="$root/fuzz/$target.dict"); fi
  echo "-- $target"
  result=0
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$binary" -max_total_time="$seconds" -timeout=10 -max_len=65536 "${dict[@]}" \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" || result=$?
  if [ "$result" -ne 0 ]; then
    echo "fuzz: $target found something (exit $result); see $artifacts" >&2
    status=$result
  fi
done
if [ "$status" -ne 0 ]; then exit "$status"; fi
echo "fuzz: no findings in ${seconds}s per target"
