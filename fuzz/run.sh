#!/usr/bin/env bash
# Builds the engine's fuzz target with clang and runs it for N seconds
# (default 60). Exits non-zero when the fuzzer finds anything; the input that
# shows it is left in build-fuzz/fuzz-artifacts/.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVIVIZU_FUZZ=ON -DVIVIZU_GUI=OFF -DVIVIZU_MEDIA=OFF -DVIVIZU_TESTS=OFF >/dev/null
cmake --build "$build" --target engine_fuzz

# Start from the real files; the corpus grows in the build folder only.
corpus=$build/fuzz-corpus
artifacts=$build/fuzz-artifacts
mkdir -p "$corpus" "$artifacts"
cp -n "$root"/tests/fixtures/*.mp3 "$corpus"/ 2>/dev/null || true

status=0
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "$build/bin/engine_fuzz" -max_total_time="$seconds" -timeout=10 -max_len=65536 \
  -dict="$root/fuzz/mp3.dict" \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" || status=$?
if [ "$status" -ne 0 ]; then
  echo "fuzz: finding (exit $status); see $artifacts" >&2
  exit "$status"
fi
echo "fuzz: no findings in ${seconds}s"
