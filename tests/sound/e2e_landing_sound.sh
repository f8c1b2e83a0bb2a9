#!/usr/bin/env bash
# The game plays for real: a PulseAudio server of the test's own with a null
# sink, its monitor recorded while the first piece of a game lands. The
# recording must hold the landing sound, as loud as silence is not and as
# long as the file within 20 ms; the time from the landing to the sound is
# printed. Skipped (77) when the server cannot start.
#   e2e_landing_sound.sh <program> <landing.wav>
set -uo pipefail
program=$1 wav=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
for tool in pulseaudio pactl parec python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
zh_start 1280x1024x24

# The server keeps its state in the test's folder, and answers on a socket
# there only.
export HOME=$ZH_DIR/home
export PULSE_SERVER=unix:$ZH_DIR/pulse.socket
mkdir -p "$HOME"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=true --use-pid-file=no \
  --log-target=stderr --log-level=error \
  -L "module-null-sink sink_name=zerud_null rate=44100 channels=2" \
  -L "module-native-protocol-unix socket=$ZH_DIR/pulse.socket auth-anonymous=1" \
  >"$ZH_DIR/pulseaudio.log" 2>&1 &
ZH_PIDS+=($!)
if ! zh_until 10 pactl info >/dev/null 2>&1; then
  echo "SKIP: the sound server did not start:"
  cat "$ZH_DIR/pulseaudio.log"
  exit 77
fi

python3 "$here/record.py" zerud_null.monitor "$ZH_DIR/recording.raw" "$ZH_DIR/times" &
recorder=$!
ZH_PIDS+=("$recorder")
zh_until 10 test -s "$ZH_DIR/times" || zh_fail "the sink's monitor gives nothing to record"

# The game says when it starts a sound, on its monotonic clock.
export QT_LOGGING_RULES="zerud.sound.debug=true"
export QT_MESSAGE_PATTERN="%{time boot} %{category} %{message}"
zh_start_game "$program"
played() { awk '/zerud.sound playing "landing.wav"/ { print $1; exit }' "$ZH_DIR/program.log"; }
# A new game; its first piece is the machine's or, when we begin, column 4.
xdotool key ctrl+n
sleep 2
[ -n "$(played)" ] || xdotool key 4
zh_until 10 eval '[ -n "$(played)" ]' || zh_fail "no piece landed, or no sound was started"
sleep 1.5
kill -TERM "$recorder"
wait "$recorder" 2>/dev/null

python3 "$here/landing.py" "$wav" "$ZH_DIR/recording.raw" "$ZH_DIR/times" "$(played)" ||
  zh_fail "the landing sound is not in the recording"
echo "PASS: the landing sound plays when the piece arrives"
