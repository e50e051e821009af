#!/usr/bin/env bash
# Plays two seconds with `vivizu-cli play` through a real sound server: a
# PulseAudio of our own with a null sink, started in a temporary home. What
# the sink receives is recorded from its monitor and compared with the
# decoded audio of the same range: its duration and its loudness.
# Usage: bash tests/integration/pulse_play.sh BUILD
set -euo pipefail
BUILD=${1:-build}
CLI="$BUILD/bin/vivizu-cli"

fail() { echo "pulse_play: FAIL: $*" >&2; exit 1; }
skip() { echo "pulse_play: skipped: $*"; exit 0; }
source "$(dirname "$0")/lib/common.sh"
source "$(dirname "$0")/lib/pulse.sh"

[ -x "$CLI" ] || fail "$CLI is missing (build first)"
"$CLI" play --help >/dev/null 2>&1 || skip "vivizu-cli was built without preview support"
require_tools pulseaudio pactl parecord sox soxi lame
start_work rec_pid pa_pid

# A sound server of our own, reachable only through this temporary folder.
private_home "$work"
private_runtime "$work"
start_pulse "$work"
sink=$(pactl get-default-sink)
echo "pulse_play: server up (pid $pa_pid), default sink $sink"

# Four seconds of a steady two-tone signal, encoded at 192 kbit/s.
sox -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 4 sine 440 sine 660 vol 0.5
lame --quiet -b 192 "$work/tone.wav" "$work/tone.mp3"
# The reference: the decoded audio of the range that will be played.
lame --quiet --decode "$work/tone.mp3" "$work/decoded.wav"
sox "$work/decoded.wav" "$work/reference.wav" trim 0.5 2

# The sink's monitor, recorded from before the start.
start_recording "$work/recorded.wav"
sleep 0.2

started=$(date +%s%N)
SDL_AUDIODRIVER=pulseaudio "$CLI" play "$work/tone.mp3" 500 2500 >"$work/play.out" 2>&1 \
  || { cat "$work/play.out" >&2; fail "vivizu-cli play failed"; }
ended=$(date +%s%N)
sleep 0.5
stop_recording
said=$(tr '\r' '\n' <"$work/play.out" | tail -n 1)
echo "pulse_play: vivizu-cli said: $said"
[ "$said" = "000:00:02.500 / 000:00:02.500" ] || fail "the last position line is not the end of the range"

# vivizu-cli returns once the range has been heard: about two seconds.
took_ms=$(( (ended - started) / 1000000 ))
echo "pulse_play: playing took $took_ms ms"
[ "$took_ms" -ge 1900 ] && [ "$took_ms" -le 3000 ] || fail "playing two seconds took $took_ms ms"

# The sound in the recording, without the silence before and after it.
heard=$(sound_seconds "$work/recorded.wav" "$work/heard.wav")
echo "pulse_play: the sink heard $heard s of sound"
awk -v d="$heard" 'BEGIN { exit !(d >= 1.9 && d <= 2.1) }' || fail "heard $heard s instead of 2 s"

rms() { sox "$1" -n stat 2>&1 | awk '/RMS +amplitude/ { print $3 }'; }
heard_rms=$(rms "$work/heard.wav")
reference_rms=$(rms "$work/reference.wav")
echo "pulse_play: RMS heard $heard_rms, decoded $reference_rms"
awk -v a="$heard_rms" -v b="$reference_rms" 'BEGIN { r = a / b; exit !(r > 0.89 && r < 1.12) }' \
  || fail "loudness $heard_rms differs from the decoded $reference_rms by more than 1 dB"
echo "pulse_play: passed"
