#!/usr/bin/env bash
# The game plays for real: a PulseAudio server of the test's own with a null
# sink, its monitor recorded while a whole game against the machine is
# played to its end. Every sound the game says it started must be in the
# recording, whole and as loud as its file: each knock and the result's
# tune. Skipped (77) when the server cannot start.
#   e2e_game_sounds.sh <program> <sounds folder>
set -uo pipefail
program=$1 sounds=$2
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
log=$ZH_DIR/program.log
landings() { grep -c 'zerud.sound playing "landing.wav"' "$log"; }
over() { grep -qE 'zerud.sound playing "(won|lost|draw).wav"' "$log"; }

# A new game against the machine, played with the keys 1 to 7 in turn until
# it ends: each key's piece, then the machine's (a full column plays nothing).
xdotool key ctrl+n
sleep 2
for turn in $(seq 0 80); do
  over && break
  before=$(landings)
  xdotool key $((turn % 7 + 1))
  zh_until 2 eval '[ "$(landings)" -gt "$before" ]' || continue
  zh_until 30 eval '[ "$(landings)" -gt "$((before + 1))" ] || over' ||
    zh_fail "the machine did not answer"
done
over || zh_fail "the game did not end"
sleep 2
kill -TERM "$recorder"
wait "$recorder" 2>/dev/null

python3 "$here/find_sounds.py" "$sounds" "$ZH_DIR/recording.raw" "$ZH_DIR/times" "$log" ||
  zh_fail "a sound the game started is not whole in the recording"
echo "PASS: every knock and the result's tune of a whole game are heard"
