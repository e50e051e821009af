# Shared by the benchmark scripts: sourced after they set BENCH (their name
# in messages), OUT (where the source files are kept) and RUNS.

# make_source SECONDS LAME-OPTIONS... FILE: pink noise over a tone, so that
# VBR frame sizes vary, encoded from raw 16-bit stereo at 44.1 kHz; made
# once and kept.
make_source() {
  local seconds=$1 file=${*: -1}
  local lame_opts=("${@:2:$#-2}")
  [ -s "$file" ] && return
  echo "$BENCH: encoding $(basename "$file") (${seconds} s of audio, once)..."
  ffmpeg -v error -f lavfi -i "anoisesrc=d=$seconds:c=pink:r=44100:a=0.05" \
    -f lavfi -i "sine=f=440:r=44100:d=$seconds" \
    -filter_complex "amix=inputs=2,aformat=channel_layouts=stereo" -f s16le - |
    lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian "${lame_opts[@]}" \
      - "$file.part" 2>>"$OUT/encode.log"
  mv "$file.part" "$file"
}

# need_tools TOOL...: ends the benchmark when one is missing.
need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$BENCH: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
  done
}

now_us() { echo "${EPOCHREALTIME/./}"; } # no process started

# median_ms CMD...: runs CMD once to warm the cache, then RUNS times, and
# prints the median wall time in milliseconds. "{}" in CMD becomes a fresh
# name for each run; the files in BENCH_CLEAN (a folder, when set) are
# removed after each run.
median_ms() {
  local times=() i start end args
  for ((i = 0; i <= RUNS; i++)); do
    args=("${@//\{\}/run$i}")
    start=$(now_us)
    "${args[@]}" >/dev/null 2>&1 || { echo "$BENCH: failed: ${args[*]}" >&2; exit 1; }
    end=$(now_us)
    [ -z "${BENCH_CLEAN:-}" ] || rm -rf "${BENCH_CLEAN:?}"/*
    ((i == 0)) || times+=($((end - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END {
    m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
    printf "%.2f", m / 1000 }'
}

# cpu_s CMD...: the processor time (user + system, all threads) of one run,
# in seconds: on a machine that others keep busy, the wall time of several
# threads says little, their processor time still does.
cpu_s() {
  local TIMEFORMAT='%U %S'
  { time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.1f", $1 + $2 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0) ? a / b : 0 }'; }
