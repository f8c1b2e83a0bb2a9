#!/usr/bin/env bash
# Plays a whole game against the machine as a screen reader does, through
# AT-SPI alone: the controls found by their names, the start-up picture
# closed, the game started and every move played through the buttons'
# actions, the board read cell by cell, the moves and the end heard from the
# status text. Runs on a session bus of its own with the accessibility bus
# it starts.
#   e2e_screen_reader.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

missing() {
  echo "SKIP: $1 is not installed (Debian packages dbus, at-spi2-core, python3-pyatspi, gir1.2-atspi-2.0)"
  exit 77
}
command -v dbus-run-session >/dev/null 2>&1 || missing dbus-run-session
[ -x /usr/libexec/at-spi-bus-launcher ] || missing at-spi-bus-launcher
# Debian's own Python, which the pyatspi package is installed for.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" -c 'import pyatspi' 2>/dev/null || missing pyatspi

# The rest runs inside a session bus of its own, which ends with it.
if [ -z "${ZERUD_OWN_BUS:-}" ]; then
  ZERUD_OWN_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

source "$here/../e2e/harness.sh"
zh_require "$program"
zh_start 1280x1024x24

# The fastest fall, so that a whole game takes seconds.
mkdir -p "$XDG_CONFIG_HOME/zerud-uravizera4"
printf '[options]\nvitesse=35\nniveau=2\nmode=machine\nson=non\n' \
  >"$XDG_CONFIG_HOME/zerud-uravizera4/options.ini"

# The accessibility bus, as a desktop session starts it; Qt speaks to it
# only when told to.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$ZH_DIR/atspi.log" 2>&1 &
ZH_PIDS+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_ACCESSIBILITY=1
zh_launch "$program"

timeout 150 "$python" "$here/screen_reader.py" "$ZH_PID" || zh_fail "the screen reader could not play (see above)"
echo "PASS"
