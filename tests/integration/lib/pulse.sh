# shellcheck shell=bash
# Sourced by scripts that listen to what is played: a sound server of their
# own and a recording of what reaches it. Needs common.sh and the script's
# fail.

# start_pulse WORK: a PulseAudio with a null sink as the default output,
# reachable only through the unix socket in $XDG_RUNTIME_DIR (make it private
# first), its log in WORK/pulseaudio.log. PulseAudio warns when it runs as
# root but runs. Sets pa_pid; fails, showing the log, when the server ends or
# does not answer within ten seconds.
start_pulse() {
  unset PULSE_SERVER PULSE_SINK
  pulseaudio --daemonize=no --exit-idle-time=-1 -n \
    --load=module-null-sink --load=module-native-protocol-unix \
    >"$1/pulseaudio.log" 2>&1 &
  pa_pid=$!
  local _
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && return 0
    kill -0 "$pa_pid" 2>/dev/null || { cat "$1/pulseaudio.log" >&2; fail "pulseaudio did not start"; }
    sleep 0.1
  done
  pactl info >/dev/null 2>&1 || { cat "$1/pulseaudio.log" >&2; fail "pulseaudio does not answer"; }
}

# start_recording FILE: records the default sink's monitor into FILE (WAV,
# 44100 Hz, stereo, 16 bits) and returns once the recording runs. Recording
# with a short latency also keeps the null sink working in short blocks;
# idle, it sleeps up to two seconds at a time, which would hold back the start
# of any new stream by as much. Sets rec_pid.
start_recording() {
  local sink
  sink=$(pactl get-default-sink)
  parecord --device="$sink.monitor" --latency-msec=20 --rate=44100 --channels=2 \
    --format=s16le --file-format=wav "$1" &
  rec_pid=$!
  retry 100 recording_runs "$1" || true
}
recording_runs() { [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -gt 20000 ]; }

# stop_recording: ends the recording and waits until its file is complete.
stop_recording() {
  kill -INT "$rec_pid"
  wait "$rec_pid" || true
  rec_pid=""
}

# sound_seconds RECORDING SOUND: writes the recording without the silence
# before and after its sound to SOUND and prints how long that is (seconds).
sound_seconds() {
  sox "$1" "$2" silence 1 0.01 1% reverse silence 1 0.01 1% reverse || return
  soxi -D "$2"
}
