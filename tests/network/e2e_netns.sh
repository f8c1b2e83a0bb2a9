#!/usr/bin/env bash
# The game as server in a network namespace of its own, against a raw peer
# speaking the wire protocol from a second namespace; a veth pair joins them
# (198.51.100.1 and 198.51.100.2, no route anywhere else). It checks that
#   - a stranger joining in the middle of a game, sending a move and leaving
#     changes nothing, and a silent, healthy link is still up after 75 s;
#   - a silently cut cable (the peer's namespace drops every packet) ends the
#     connection within a minute, while the game waits for the peer's move
#     and right after it has sent one into the cut, and Connexion works again
#     afterwards;
#   - Return in the chat field sends the line and plays no move, also after
#     an arrow key moved the keyboard marker.
# The game has noticed a lost link when its process holds no established
# TCP socket to the peer any more and its status label no longer looks
# connected. Needs root, iproute2, nftables and python3; skips (77) without.
#
# Nearly all of the time goes into waiting: 75 s of silence, about 30 s for
# each cut to be noticed. So each case runs side by side with the others, as
# a copy of this script with its own namespaces, X display, configuration
# folder and game; the cases share nothing.
#   e2e_netns.sh <program>          all the cases, a few at a time
#   e2e_netns.sh <program> <case>   one case alone
set -uo pipefail
program=$(readlink -f "$1")
only=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require_netns "nftables, python3" nft ss python3
zh_require "$program"

# The longest case first: the others fit beside it.
CASES=(stranger_then_silence cut_while_waiting cut_after_sending)
# The cases mostly wait on the system's timers, but each has an X server, a
# game and screenshots to read: three at once on a small machine.
MAX_CASES_AT_ONCE=3

# The running cases' pids and the logs' folder are global: the exit trap
# needs them.
case_pid=()
logs=
# On the way out, a case still running is stopped (it removes its own
# namespaces and processes as it ends) and its log shown, which says where
# it kept its screenshots.
stop_cases() {
  local i stopped=()
  for i in "${!case_pid[@]}"; do
    [ -n "${case_pid[$i]}" ] || continue
    kill "${case_pid[$i]}" 2>/dev/null
    stopped+=("$i")
  done
  wait
  for i in "${stopped[@]}"; do
    echo "--- ${CASES[$i]}: stopped"
    sed 's/^/  /' "$logs/${CASES[$i]}.log"
  done
  [ -n "$logs" ] && rm -rf "$logs"
}

# Runs every case as a copy of this script and reports each one's end; fails
# with the failing cases' names and logs.
run_cases() {
  local began i name status running=0 failed=() skipped=()
  local -a case_status=() case_began=() case_took=()
  logs=$(mktemp -d "${TMPDIR:-/tmp}/zerud-netns.XXXXXX")
  began=$(zh_now_ms)
  trap stop_cases EXIT
  trap 'exit 130' INT TERM
  # Waits for one case to end and notes its status.
  reap_one() {
    local ended j
    wait -n -p ended
    local result=$?
    for j in "${!CASES[@]}"; do
      if [ "${case_pid[$j]:-}" = "${ended:-}" ]; then
        case_status[j]=$result
        case_took[j]=$((($(zh_now_ms) - case_began[j]) / 1000))
        case_pid[j]=
        echo "${CASES[$j]} ended ($result) after ${case_took[$j]} s"
      fi
    done
    running=$((running - 1))
  }
  for i in "${!CASES[@]}"; do
    [ $running -lt $MAX_CASES_AT_ONCE ] || reap_one
    case_began[i]=$(zh_now_ms)
    "$0" "$program" "${CASES[$i]}" >"$logs/${CASES[$i]}.log" 2>&1 &
    case_pid[i]=$!
    running=$((running + 1))
  done
  while [ $running -gt 0 ]; do reap_one; done

  for i in "${!CASES[@]}"; do
    name=${CASES[$i]} status=${case_status[$i]}
    if [ "$status" -eq 0 ]; then
      echo "--- $name: passed in ${case_took[$i]} s"
    elif [ "$status" -eq "$ZH_SKIP" ]; then
      echo "--- $name: skipped"
      skipped+=("$name")
    else
      echo "--- $name: FAILED ($status) after ${case_took[$i]} s"
      failed+=("$name")
    fi
    sed 's/^/  /' "$logs/$name.log"
  done
  local total=$((($(zh_now_ms) - began) / 1000))
  if [ ${#failed[@]} -gt 0 ]; then
    echo "FAIL: ${failed[*]} (logs above), in $total s"
    return 1
  fi
  if [ ${#skipped[@]} -gt 0 ]; then
    echo "SKIP: ${skipped[*]} could not run (logs above)"
    return "$ZH_SKIP"
  fi
  echo "PASS: cut cables noticed, a silent link kept, a stranger ignored, Return in the chat" \
    "played nothing, in $total s"
}

if [ -z "$only" ]; then
  run_cases
  exit
fi
case " ${CASES[*]} " in
  *" $only "*) ;;
  *) echo "FAIL: no case named '$only' (cases: ${CASES[*]})"; exit 1 ;;
esac

# One case from here on.
zh_start 1280x1024x24
zh_began=$(zh_now_ms)

GAME_NS=zerud-game-$$
PEER_NS=zerud-peer-$$
GAME_ADDR=198.51.100.1
PEER_ADDR=198.51.100.2
PORT=28528  # the low 16 bits of the default port text 290672
in_game() { ip netns exec "$GAME_NS" "$@"; }
in_peer() { ip netns exec "$PEER_NS" "$@"; }

zh_on_exit() {
  [ -n "${peer_pid:-}" ] && kill "$peer_pid" 2>/dev/null
  return 0
}
zh_netns_pair "$GAME_NS" "$PEER_NS"

# Places in the main window and in the network window (see e2e_network.sh).
START=(34 102)       # bnStart
MULTI=(35 243)       # bnReseau, "Mode multi-joueurs"
CHAT=(65 513)        # EditChat
STATUS=(7 579 204 17)  # lbReseau
CONNEXION=(46 150)   # bnConnexion in the network window
target() { zh_click $((mx + 266 + 70 * $1 + 35)) $((my + 104)); }

board() { zh_board "$mx" "$my"; }
# The grid shows these two bottom rows (14 cells), and nothing above them.
shows() { seen=$(board) && [ "$seen" = "0000000000000000000000000000$1" ]; }
wait_shows() {  # rows description
  zh_until 15 shows "$1" || zh_fail "$2 (the grid shows $seen)"
}

status_look() {
  zh_shot "$ZH_DIR/status.png" &&
    zh_region_hash "$ZH_DIR/status.png" $((mx + STATUS[0])) $((my + STATUS[1])) \
      "${STATUS[2]}" "${STATUS[3]}"
}
# The game's established connection to the peer's port.
holds_link() {
  in_game ss -Htnp state established "( sport = :$PORT )" 2>/dev/null |
    grep "pid=$ZH_PID," | grep -q " $PEER_ADDR:$1 "
}
looks_connected() { [ "$(status_look)" = "$connected_look" ]; }
looks_other_than() { [ "$(status_look)" != "$1" ]; }
noticed() { ! holds_link "$1" && ! looks_connected; }

# The raw peer: connects from the peer's namespace, sends what it is told on
# its standard input ("send TEXT"), appends every byte it receives to
# $ZH_DIR/peer.received and notes its port, then its end, in
# $ZH_DIR/peer.notes.
cat >"$ZH_DIR/peer.py" <<'EOF'
import socket, sys, threading
host, port, received, notes = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
def note(text):
    with open(notes, "a") as f:
        f.write(text + "\n")
link = socket.create_connection((host, port), timeout=10)
link.settimeout(None)
note("port %d" % link.getsockname()[1])
def read():
    with open(received, "ab", buffering=0) as f:
        while True:
            try:
                data = link.recv(4096)
            except OSError as error:
                note("error %d" % error.errno)
                return
            if not data:
                note("closed")
                return
            f.write(data)
threading.Thread(target=read, daemon=True).start()
for line in sys.stdin:
    command, _, text = line.rstrip("\n").partition(" ")
    if command == "send":
        link.sendall(text.encode("cp1252"))
EOF
start_peer() {
  rm -f "$ZH_DIR/peer.in"
  mkfifo "$ZH_DIR/peer.in"
  : >"$ZH_DIR/peer.received"
  : >"$ZH_DIR/peer.notes"
  ip netns exec "$PEER_NS" python3 -u "$ZH_DIR/peer.py" "$GAME_ADDR" "$PORT" \
    "$ZH_DIR/peer.received" "$ZH_DIR/peer.notes" <"$ZH_DIR/peer.in" 2>>"$ZH_DIR/peer.log" &
  peer_pid=$!
  exec 7>"$ZH_DIR/peer.in"
  zh_until 10 grep -q '^port ' "$ZH_DIR/peer.notes" || zh_fail "the raw peer did not connect"
  peer_port=$(sed -n 's/^port //p' "$ZH_DIR/peer.notes")
  zh_until 10 holds_link "$peer_port" || zh_fail "the game holds no connection to the raw peer"
  if [ -z "$connected_look" ]; then
    zh_until 10 looks_other_than "$listening_look" ||
      zh_fail "the status does not show the connection"
    connected_look=$(status_look)
  fi
  zh_until 10 looks_connected || zh_fail "the status does not show the connection"
}
stop_peer() {
  exec 7>&-
  kill "$peer_pid" 2>/dev/null
  wait "$peer_pid" 2>/dev/null
  peer_pid=
}
peer_send() { echo "send $1" >&7; }
peer_received() { [ "$(cat "$ZH_DIR/peer.received")" = "$1" ]; }
# Waits until the peer has received exactly these bytes, then forgets them.
peer_expects() {  # bytes description
  zh_until 15 peer_received "$1" ||
    zh_fail "$2 (the peer received '$(cat "$ZH_DIR/peer.received")')"
  : >"$ZH_DIR/peer.received"
}
# Every packet into or out of the peer's namespace vanishes, without a reset
# or an error message: the cable is cut.
cut_cable() {
  in_peer nft -f - <<'EOF' || zh_fail "cannot cut the cable"
table inet cut {
  chain in { type filter hook input priority 0; policy drop; }
  chain out { type filter hook output priority 0; policy drop; }
}
EOF
}
mend_cable() { in_peer nft delete table inet cut; }
# Waits, a minute at most, for the game to notice the lost link; prints the
# seconds since `since` (milliseconds).
time_notice() {  # since case
  zh_until 60 noticed "$peer_port" ||
    zh_fail "$2: the game did not notice the cut cable within 60 s"
  local ms=$(($(zh_now_ms) - $1))
  printf 'cut cable noticed %s: %d.%d s\n' "$2" $((ms / 1000)) $((ms % 1000 / 100))
}

# Connexion in the network window, with its fields as they stand (server
# role, port text 290672).
connexion() {
  zh_click $((mx + MULTI[0])) $((my + MULTI[1]))
  local net nx ny
  net=$(zh_wait_window "Réseau" 10 312x166) || zh_fail "no network window"
  read -r nx ny _ _ < <(zh_geometry "$net")
  zh_click $((nx + CONNEXION[0])) $((ny + CONNEXION[1]))
  zh_wait_gone "$net" 5 || zh_fail "the network window stays after Connexion"
}

# The game runs in its own namespace; Xvfb's socket in /tmp/.X11-unix is
# reached from there.
zh_wrapper "$ZH_DIR/game-in-namespace" ip netns exec "$GAME_NS" "$program"
zh_start_game "$ZH_DIR/game-in-namespace"
mx=$ZH_MAIN_X my=$ZH_MAIN_Y
connected_look=
connexion
listening_look=$(status_look)
start_peer
zh_step "the peer is connected"

# The game starts a game and plays column 3; the peer hears both.
game_starts_and_plays() {
  zh_click $((mx + START[0])) $((my + START[1]))
  peer_expects "INIT|xxx" "the game's start did not reach the peer"
  zh_click_until "the game's move did not land" "target 3" shows 00000000001000
  peer_expects "DATA_GAME|3" "the game's move did not reach the peer"
  zh_step "the game started a game and played"
}
# The peer starts a game, which clears the grid, and plays this column.
peer_starts_and_plays() {  # column rows description
  peer_send "INIT|xxx"
  wait_shows 00000000000000 "the peer's $3 did not clear the grid"
  peer_send "DATA_GAME|$1"
  wait_shows "$2" "the peer's move in its $3 did not land"
  zh_step "the peer started its $3 and played"
}
# Connexion again once the game has noticed a cut: the cable is mended, a new
# peer connects and plays.
connected_again() {  # column rows description
  stop_peer
  mend_cable
  connexion
  start_peer
  peer_starts_and_plays "$@"
}

case $only in
  stranger_then_silence)
    game_starts_and_plays
    # A stranger joins, sends a move and leaves: no piece lands, the peer's
    # connection and the status stay, and the peer's own move lands.
    in_peer python3 - "$GAME_ADDR" "$PORT" <<'EOF' || zh_fail "the stranger could not connect"
import socket, sys
stranger = socket.create_connection((sys.argv[1], int(sys.argv[2])), timeout=10)
try:
    stranger.sendall(b"DATA_GAME|0")
except OSError:
    pass
stranger.close()
EOF
    # Nothing to wait for: long enough for a piece to fall had it been played.
    sleep 2
    shows 00000000001000 || zh_fail "the stranger's move landed (the grid shows $seen)"
    holds_link "$peer_port" || zh_fail "the stranger ended the peer's connection"
    looks_connected || zh_fail "the stranger changed the status"
    peer_send "DATA_GAME|4"
    wait_shows 00000000001200 "the peer's move after the stranger did not land"
    zh_step "a stranger's move changed nothing"

    # A silent, healthy link stays up: nothing is sent for 75 s. The link is
    # looked at every second, so that a drop fails at once.
    silent_until=$(($(zh_now_ms) + 75000))
    while [ "$(zh_now_ms)" -lt $silent_until ]; do
      holds_link "$peer_port" || zh_fail "the silent link was dropped within 75 s"
      sleep 1
    done
    holds_link "$peer_port" || zh_fail "the silent link was dropped within 75 s"
    looks_connected || zh_fail "the status changed on the silent link"
    grep -q '^closed\|^error' "$ZH_DIR/peer.notes" && zh_fail "the peer saw the silent link end"
    zh_step "silent link still connected after 75 s"
    ;;

  cut_while_waiting)
    # The game plays, the peer hears the move, then the cable is cut while
    # the game waits for the answer.
    game_starts_and_plays
    cut_cable
    time_notice "$(zh_now_ms)" "while waiting for the peer's move"
    connected_again 2 00000000010000 "new game after the cut"
    ;;

  cut_after_sending)
    # The peer starts a game and plays; the cable is cut, then the game's
    # player sends a move into it.
    peer_starts_and_plays 2 00000000010000 "first game"
    cut_cable
    zh_click_until "the game's move into the cut did not land" "target 5" shows 00000000010020
    time_notice "$ZH_CLICKED" "after sending a move into it"
    connected_again 1 00000000100000 "new game after the cut"

    # Return in the chat field sends the line and plays nothing, also after
    # the arrow keys moved the keyboard marker over the board.
    zh_click $((mx + STATUS[0] + 100)) $((my + STATUS[1] + 8))  # the window takes the keys
    xdotool key Right
    zh_click $((mx + CHAT[0])) $((my + CHAT[1]))
    xdotool key ctrl+a
    xdotool type --delay 20 "Salut"
    xdotool key Return
    sleep 0.3
    xdotool key Return
    chat_arrived() { grep -q 'DATA_CHAT|Salut' "$ZH_DIR/peer.received"; }
    zh_until 10 chat_arrived || zh_fail "the chat line did not reach the peer"
    # Nothing to wait for: long enough for a move to have been sent and drawn.
    sleep 3
    grep -q 'DATA_GAME' "$ZH_DIR/peer.received" &&
      zh_fail "Return in the chat sent a move (the peer received '$(cat "$ZH_DIR/peer.received")')"
    shows 00000000100000 || zh_fail "Return in the chat played a piece (the grid shows $seen)"
    zh_step "Return in the chat sent the line and played nothing"
    ;;
esac
zh_alive "$ZH_PID" || zh_fail "the game ended"
echo "PASS: $only in $((($(zh_now_ms) - zh_began) / 1000)) s"
