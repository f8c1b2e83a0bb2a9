#!/usr/bin/env bash
# Two computers on one local network find each other. Each is a network
# namespace with mount and host-name namespaces of its own: its own /run with
# a private system bus and an Avahi daemon that answers on the veth pair
# alone (IPv4, no wide area, nothing published but what the game publishes).
# The computers are called table-a (198.51.100.1) and table-b
# (198.51.100.2); their Avahi host names differ from these on purpose, since
# the game announces the computer's name. The game on table-a listens as
# server on port 28601; on table-b:
#   - avahi-browse shows the game's service with its name, address, port and
#     TXT record, and no longer once the server's Déconnexion is pressed;
#   - the game, in the client role, lists the server again when it listens
#     again, as "table-a (198.51.100.1:28601)" in the drop-down of its server
#     field; the list is read through AT-SPI, which gives each entry's text
#     exactly as a screen reader speaks it, where a screenshot would need
#     the text recognised from the font's pixels;
#   - choosing the entry (the keyboard in the opened drop-down) and pressing
#     Connexion connects: the client's port field still holds the default
#     and the server's name resolves nowhere, so only the address and port
#     the entry filled in can reach the server. The server's first move
#     lands on the client's grid;
#   - with the peer connected, the service is gone.
# Needs root, iproute2, dbus, avahi-daemon, avahi-utils, at-spi2-core and
# python3-pyatspi; skips (77) without.
#   e2e_discovery.sh <program>
set -uo pipefail
program=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require_netns "dbus, avahi-daemon, avahi-utils, util-linux" \
  dbus-daemon avahi-daemon avahi-browse nsenter unshare
launcher=/usr/libexec/at-spi-bus-launcher
# Debian's own Python, which the pyatspi package is installed for.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if [ ! -x "$launcher" ] || ! "$python" -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: the accessibility bus or pyatspi is missing (Debian packages at-spi2-core, python3-pyatspi)"
  exit "$ZH_SKIP"
fi
zh_require "$program"
# Each computer has its own buses, the system bus at its usual place in the
# computer's own /run: the harness's way away from the machine's bus is undone.
unset DBUS_SYSTEM_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS
zh_start 1280x1024x24
SERVER_DISPLAY=$DISPLAY
zh_start_display CLIENT_DISPLAY
zh_began=$(zh_now_ms)

SERVER_NAME=table-a
SERVER_ADDR=198.51.100.1
PORT=28601
SERVICE=_zerud4._tcp
# What avahi-browse -p prints once it has resolved the server's service.
RECORD="=;veth0;IPv4;$SERVER_NAME;$SERVICE;local;mdns-a.local;$SERVER_ADDR;$PORT;\"version=1\""
ENTRY="$SERVER_NAME ($SERVER_ADDR:$PORT)"

zh_netns_pair "zerud-a-$$" "zerud-b-$$"
# zh_fail's screenshot shows the server's display: the client's is kept too.
zh_on_exit() {
  if [ -e "$ZH_DIR/failure.png" ]; then
    DISPLAY=$CLIENT_DISPLAY zh_shot "$ZH_DIR/failure-client.png" 2>/dev/null
  fi
  return 0
}

cat >"$ZH_DIR/system-bus.conf" <<'EOF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=/run/dbus/system_bus_socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <deny own="*"/>
    <deny send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
    <allow send_destination="org.freedesktop.DBus"/>
  </policy>
  <!-- The installed services' policies: Avahi's lets root own its name. -->
  <includedir>/usr/share/dbus-1/system.d</includedir>
  <includedir>/etc/dbus-1/system.d</includedir>
</busconfig>
EOF

# Starts a computer: its namespaces, held by a sleeping process, then its
# system bus and Avahi daemon. The command that enters the namespaces goes
# to the array `enter_<side>`. The mounts live as long as a process runs in
# them, and the exit trap ends them all.
computer_up() {  # side(a|b)
  local side=$1 holder
  local -n enter=enter_$side
  cat >"$ZH_DIR/avahi-$side.conf" <<EOF
[server]
host-name=mdns-$side
use-ipv4=yes
use-ipv6=no
allow-interfaces=veth0
enable-dbus=yes
[wide-area]
enable-wide-area=no
[publish]
publish-addresses=yes
publish-hinfo=no
publish-workstation=no
publish-domain=no
publish-aaaa-on-ipv4=no
[reflector]
enable-reflector=no
EOF
  # A /run of its own (which would hide a test folder made there), and the
  # machine's static services and hosts hidden.
  ip netns exec "zerud-$side-$$" unshare --mount --uts --propagation private sh -c '
    mount -t tmpfs -o mode=755 zerud-run /run && mkdir /run/dbus /run/avahi-daemon &&
    if [ -d /etc/avahi/services ]; then mount -t tmpfs -o ro zerud-none /etc/avahi/services; fi &&
    if [ -f /etc/avahi/hosts ]; then mount --bind /dev/null /etc/avahi/hosts; fi &&
    hostname "table-$1" && touch "$2" && exec sleep infinity' sh "$side" "$ZH_DIR/$side.ready" \
    >"$ZH_DIR/$side-namespaces.log" 2>&1 &
  holder=$!
  ZH_PIDS+=("$holder")
  enter=(nsenter -t "$holder" -m -u -n --wd="$ZH_DIR/cwd" --)
  zh_until 5 test -e "$ZH_DIR/$side.ready" ||
    zh_fail "computer $side: no namespaces ($(cat "$ZH_DIR/$side-namespaces.log"))"
  start_on "$side" "$ZH_DIR/$side-bus.log" \
    dbus-daemon --nofork --config-file="$ZH_DIR/system-bus.conf"
  zh_until 5 test -S "/proc/$holder/root/run/dbus/system_bus_socket" ||
    zh_fail "computer $side: no system bus ($(cat "$ZH_DIR/$side-bus.log"))"
  start_on "$side" "$ZH_DIR/$side-avahi.log" \
    avahi-daemon --no-drop-root --no-chroot -f "$ZH_DIR/avahi-$side.conf"
}
# Runs a command on a computer.
on() {  # side command...
  local -n enter=enter_$1
  "${enter[@]}" "${@:2}"
}
# The same in the background, stopped by the exit trap.
start_on() {  # side log command...
  local -n enter=enter_$1
  "${enter[@]}" "${@:3}" >"$2" 2>&1 &
  ZH_PIDS+=("$!")
}
avahi_ready() { grep -q 'Server startup complete' "$ZH_DIR/$1-avahi.log"; }
case $(readlink -f "$ZH_DIR") in
  /run/*) zh_fail "the test folder $ZH_DIR is under /run: set TMPDIR elsewhere" ;;
esac
computer_up a
computer_up b
for side in a b; do
  zh_until 10 avahi_ready "$side" ||
    zh_fail "computer $side: Avahi did not start ($(cat "$ZH_DIR/$side-avahi.log"))"
done

# The client's accessibility: a session bus and the accessibility bus, on
# table-b beside the game and the reader.
session=unix:path=$ZH_DIR/session-bus
start_on b "$ZH_DIR/b-session.log" dbus-daemon --session --nofork --address="$session"
zh_until 5 test -S "$ZH_DIR/session-bus" || zh_fail "no session bus on table-b"
start_on b "$ZH_DIR/b-atspi.log" \
  env DBUS_SESSION_BUS_ADDRESS="$session" "$launcher" --launch-immediately
zh_step "two computers up"

# Each game on its computer and its display, with its own settings.
zh_wrapper "$ZH_DIR/game-a" "${enter_a[@]}" env XDG_CONFIG_HOME="$ZH_DIR/config-a" "$program"
zh_wrapper "$ZH_DIR/game-b" "${enter_b[@]}" env XDG_CONFIG_HOME="$ZH_DIR/config-b" DBUS_SESSION_BUS_ADDRESS="$session" \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$program"
ZH_LOG=$ZH_DIR/game-a.log zh_start_game "$ZH_DIR/game-a"
server_pid=$ZH_PID ax=$ZH_MAIN_X ay=$ZH_MAIN_Y
DISPLAY=$CLIENT_DISPLAY ZH_LOG=$ZH_DIR/game-b.log zh_start_game "$ZH_DIR/game-b"
client_pid=$ZH_PID bx=$ZH_MAIN_X by=$ZH_MAIN_Y
zh_step "both games started"

# Places in the main window and in the network window.
START=(34 102)        # bnStart
MULTI=(35 243)        # bnReseau, "Mode multi-joueurs"
RADIO_CLIENT=(30 38)  # RadioClient
SERVER_FIELD=(150 95) # EditNomServeur
PORT_FIELD=(200 116)  # EditNumeroPort
CONNEXION=(46 150)    # bnConnexion
DECONNEXION=(137 150) # bnDeconnexion

# Opens the network window of the game on a display at (x, y); its corner
# goes to (nx, ny).
network_window() {  # display x y
  DISPLAY=$1 zh_click $(($2 + MULTI[0])) $(($3 + MULTI[1]))
  net=$(DISPLAY=$1 zh_wait_window "Réseau" 10 312x166) || zh_fail "no network window on $1"
  read -r nx ny _ _ < <(DISPLAY=$1 zh_geometry "$net")
}
press() {  # display button(array name): the button's click hides the window
  local -n place=$2
  DISPLAY=$1 zh_click $((nx + place[0])) $((ny + place[1]))
  DISPLAY=$1 zh_wait_gone "$net" 5 || zh_fail "the network window on $1 stays after $2"
}
browse() { on b avahi-browse -rtp "$SERVICE" 2>>"$ZH_DIR/browse.log"; }
announced() { browse | grep -qxF "$RECORD"; }
# Gone: avahi-browse answered, with no resolved entry of the server's name.
withdrawn() {
  local seen
  seen=$(browse) && ! grep -q "^=;.*;$SERVER_NAME;$SERVICE;" <<<"$seen"
}

# The server listens on its own port: avahi-browse on the client's computer
# finds the service.
network_window "$SERVER_DISPLAY" "$ax" "$ay"
zh_click $((nx + PORT_FIELD[0])) $((ny + PORT_FIELD[1]))
xdotool key ctrl+a
xdotool type --delay 20 "$PORT"
press "$SERVER_DISPLAY" CONNEXION
zh_until 15 announced || zh_fail "avahi-browse on table-b does not show $RECORD (it shows: $(browse))"
zh_step "avahi-browse shows the service"

# Déconnexion withdraws it; Connexion listens and announces again.
network_window "$SERVER_DISPLAY" "$ax" "$ay"
press "$SERVER_DISPLAY" DECONNEXION
zh_until 10 withdrawn || zh_fail "the service stays after the server's Déconnexion: $(browse)"
zh_step "Déconnexion withdrew the service"
network_window "$SERVER_DISPLAY" "$ax" "$ay"
press "$SERVER_DISPLAY" CONNEXION

# The client lists the server in its drop-down.
network_window "$CLIENT_DISPLAY" "$bx" "$by"
DISPLAY=$CLIENT_DISPLAY zh_click $((nx + RADIO_CLIENT[0])) $((ny + RADIO_CLIENT[1]))
on b env DBUS_SESSION_BUS_ADDRESS="$session" timeout 60 "$python" - "$client_pid" "$ENTRY" <<'EOF' ||
import sys, time
import pyatspi

pid, wanted = int(sys.argv[1]), sys.argv[2]
def is_role(role):
    return lambda a: a is not None and a.getRoleName() == role
def entries():
    """The texts of every entry in the game's drop-down lists."""
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is None or app.get_process_id() != pid:
                continue
            combos = pyatspi.findAllDescendants(app, is_role("combo box"))
            return [item.name for combo in combos
                    for item in pyatspi.findAllDescendants(combo, is_role("list item"))]
        except Exception:
            pass
    return []
end = time.monotonic() + 20
while wanted not in entries():
    if time.monotonic() > end:
        print("the drop-down lists %r" % entries())
        sys.exit(1)
    time.sleep(0.3)
EOF
  zh_fail "the client's drop-down does not list \"$ENTRY\""
zh_step "the client lists \"$ENTRY\""

# Chosen from the opened drop-down, it connects: the server's first move
# lands on the client's grid.
DISPLAY=$CLIENT_DISPLAY zh_click $((nx + SERVER_FIELD[0])) $((ny + SERVER_FIELD[1]))
DISPLAY=$CLIENT_DISPLAY xdotool key alt+Down
sleep 0.3
DISPLAY=$CLIENT_DISPLAY xdotool key Down Return
press "$CLIENT_DISPLAY" CONNEXION
zh_click $((ax + START[0])) $((ay + START[1]))
client_shows_move() { [ "$(DISPLAY=$CLIENT_DISPLAY zh_board "$bx" "$by")" = "$(printf '0%.0s' {1..38})1000" ]; }
server_plays() { zh_click $((ax + 266 + 70 * 3 + 35)) $((ay + 104)); }
zh_click_until "the server's move did not reach the client" server_plays client_shows_move
zh_step "connected through the entry, a move crossed"

zh_until 10 withdrawn || zh_fail "the service stays while a peer is connected: $(browse)"
zh_step "the service is withdrawn while a peer is connected"
zh_alive "$server_pid" && zh_alive "$client_pid" || zh_fail "a game ended"
echo "PASS: the server found, chosen and joined from the other computer, in $((($(zh_now_ms) - zh_began) / 1000)) s"
