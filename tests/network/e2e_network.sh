#!/usr/bin/env bash
# Two copies of the game on two X displays, joined over 127.0.0.1: the first
# listens as server with the default port text. A stranger sends it a move
# of bad text first: no box comes up, and the server listens again once the
# stranger has gone. The second copy connects as client. The server starts a
# game and plays column 3, the client sees the red piece land; the server's
# chat line "regarde DATA_GAME|0" shows on the client and plays nothing; the
# client answers in column 4, the server sees the yellow piece. A chat line
# goes from the server to the client's chat memo; after a long line and a
# short one, both memos show the end of the talk at their bottom.
# Neither copy reaches a system bus (the harness points it nowhere), so
# neither finds an Avahi daemon: all of this works as without discovery, and
# neither copy writes a word about it or shows a box.
#   e2e_network.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
zh_start 1280x1024x24
D1=$DISPLAY

# A second display with its own window manager, for the client's copy.
display2=$ZH_DIR/display2
Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp -noreset 4>"$display2" \
  >"$ZH_DIR/xvfb2.log" 2>&1 &
ZH_PIDS+=("$!")
for _ in $(seq 100); do [ -s "$display2" ] && break; sleep 0.1; done
[ -s "$display2" ] || { echo "SKIP: a second Xvfb did not start"; exit 77; }
D2=":$(head -n1 "$display2")"
if command -v openbox >/dev/null 2>&1; then
  DISPLAY=$D2 openbox --sm-disable >"$ZH_DIR/openbox2.log" 2>&1 &
  ZH_PIDS+=("$!")
  for _ in $(seq 100); do
    DISPLAY=$D2 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
fi

# Places in the main window and in the network window.
START=(34 102)         # bnStart
MULTI=(35 243)         # bnReseau, "Mode multi-joueurs"
CHAT=(65 513)          # EditChat
MEMO_CHAT=(7 524 187 50)
CONNEXION=(46 150)     # bnConnexion in the network window
RADIO_CLIENT=(30 38)   # RadioClient
column_x() { echo $((266 + 70 * $1 + 35)); }   # centre of column c, target and cells
TARGET_Y=104
BOTTOM_CELL_Y=534

red() { IFS=, read -r r g b <<<"$1"; [ "$r" -gt 150 ] && [ "$g" -lt 110 ] && [ "$b" -lt 110 ]; }
yellow() { IFS=, read -r r g b <<<"$1"; [ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]; }
pixel() {  # display x y
  DISPLAY=$1 zh_shot "$ZH_DIR/shot.png" && zh_pixel "$ZH_DIR/shot.png" "$2" "$3"
}
bottom_cell_is() {  # test display main-x main-y column
  "$1" "$(pixel "$2" $(($3 + $(column_x "$5"))) $(($4 + BOTTOM_CELL_Y)))"
}
client_memo_hash() {
  DISPLAY=$D2 zh_shot "$ZH_DIR/shot.png" && zh_region_hash "$ZH_DIR/shot.png" \
    $((bx + MEMO_CHAT[0])) $((by + MEMO_CHAT[1])) "${MEMO_CHAT[2]}" "${MEMO_CHAT[3]}"
}
wait_for() {  # description command...: retries the command for 15 s
  local description=$1
  shift
  zh_until 15 "$@" || zh_fail "$description"
}
# Clicks a column target on a display until `check` holds. A click before the
# targets wake (the game not yet started, the last piece still falling) is
# ignored, as the game means it to be, and a busy machine can take longer
# than any fixed pause; once the move is made the targets sleep until the
# peer's answer, so clicking again cannot play twice.
click_until() {  # description display x y check...
  local description=$1 display=$2 cx=$3 cy=$4 try
  shift 4
  for try in 1 2 3 4 5 6; do
    DISPLAY=$display zh_click "$cx" "$cy"
    zh_until 5 "$@" && return 0
  done
  zh_fail "$description"
}
# Starts a copy on a display and opens its network window: main window at
# (x, y), network window at (nx, ny).
open_network_window() {  # display
  DISPLAY=$1 zh_start_game "$program"
  x=$ZH_MAIN_X y=$ZH_MAIN_Y
  DISPLAY=$1 zh_click $((x + MULTI[0])) $((y + MULTI[1]))
  net=$(DISPLAY=$1 zh_wait_window "Réseau" 10 312x166) || zh_fail "no network window on $1"
  read -r nx ny _ _ < <(DISPLAY=$1 zh_geometry "$net")
}
connexion() {  # display
  DISPLAY=$1 zh_click $((nx + CONNEXION[0])) $((ny + CONNEXION[1]))
  DISPLAY=$1 zh_wait_gone "$net" 5 || zh_fail "the network window on $1 stays after Connexion"
}
# Windows titled as the game's: the main window, and any error box.
titled_windows() {  # display
  DISPLAY=$1 xdotool search --onlyvisible --name '^Zerud uravizera4$' | wc -l
}
# True when the rectangle of the display holds a dark (text) pixel.
dark_in() {  # display x y w h
  DISPLAY=$1 zh_shot "$ZH_DIR/shot.png" || return 1
  local darkest
  darkest=$(convert "$ZH_DIR/shot.png" -crop "$4x$5+$2+$3" -colorspace gray -format '%[fx:minima]' info:)
  awk -v d="$darkest" 'BEGIN { exit !(d < 0.4) }'
}
# Sends a chat line from the server's chat field.
server_chat() {  # text
  zh_click $((ax + CHAT[0])) $((ay + CHAT[1]))
  xdotool key ctrl+a
  xdotool type --delay 5 "$1"
  xdotool key Return
}

ZH_LOG=$ZH_DIR/server.log open_network_window "$D1"
ax=$x ay=$y
connexion "$D1"

# A stranger sends a move of bad text, five times, while the server waits:
# each is a line of the log, no box comes up and the window stays usable.
exec 5<>/dev/tcp/127.0.0.1/28528 || zh_fail "the server does not listen"
for _ in 1 2 3 4 5; do
  printf 'DATA_GAME|0\n' >&5
  sleep 0.2
done
sleep 1
[ "$(titled_windows "$D1")" -eq 1 ] && zh_alive "$ZH_PID" ||
  zh_fail "the stranger's bad move brought up a box, or ended the game"
exec 5>&-
# The stranger has gone: the server listens again after Connexion.
sleep 1
DISPLAY=$D1 zh_click $((ax + MULTI[0])) $((ay + MULTI[1]))
net=$(DISPLAY=$D1 zh_wait_window "Réseau" 10 312x166) || zh_fail "no network window after the stranger"
read -r nx ny _ _ < <(DISPLAY=$D1 zh_geometry "$net")
connexion "$D1"
ZH_LOG=$ZH_DIR/client.log open_network_window "$D2"
bx=$x by=$y
DISPLAY=$D2 zh_click $((nx + RADIO_CLIENT[0])) $((ny + RADIO_CLIENT[1]))
DISPLAY=$D2 xdotool type --delay 20 "127.0.0.1"
connexion "$D2"
sleep 1

# Before any move, neither bottom cell shows a piece.
bottom_cell_is red "$D2" "$bx" "$by" 3 && zh_fail "the client's empty cell already looks red"
bottom_cell_is yellow "$D1" "$ax" "$ay" 4 && zh_fail "the server's empty cell already looks yellow"

# The server starts and plays column 3; the client sees the red piece land.
zh_click $((ax + START[0])) $((ay + START[1]))
click_until "the server's move never reached the client" "$D1" \
  $((ax + $(column_x 3))) $((ay + TARGET_Y)) bottom_cell_is red "$D2" "$bx" "$by" 3

# A chat line that holds a move's words stays a chat line: the client shows
# it and its grid does not change.
before=$(client_memo_hash)
server_chat "regarde DATA_GAME|0"
memo_changed() { [ "$(client_memo_hash)" != "$before" ]; }
wait_for "the chat line with DATA_GAME never showed on the client" memo_changed
sleep 1
bottom_cell_is yellow "$D2" "$bx" "$by" 0 && zh_fail "a chat line played a move on the client"
bottom_cell_is red "$D2" "$bx" "$by" 0 && zh_fail "a chat line played a move on the client"

# The client answers in column 4; the server sees the yellow piece.
click_until "the client's move never reached the server" "$D2" \
  $((bx + $(column_x 4))) $((by + TARGET_Y)) bottom_cell_is yellow "$D1" "$ax" "$ay" 4

# A chat line from the server shows in the client's chat memo.
before=$(client_memo_hash)
server_chat "Bonjour"
wait_for "the chat line never showed on the client" memo_changed

# A long line, then a short one: each memo shows the end of the talk, the
# short line in its last row (the second: the memo holds two whole rows)
# and the long one's end above it, where the newest line's last row alone
# used to show at the top with nothing below it.
server_chat "$(printf 'abcdefgh%.0s' $(seq 36))FIN"
server_chat "Deuxieme"
sleep 1
for side in "$D1 $ax $ay" "$D2 $bx $by"; do
  read -r display mx my <<<"$side"
  dark_in "$display" $((mx + MEMO_CHAT[0])) $((my + MEMO_CHAT[1] + 20)) "${MEMO_CHAT[2]}" 12 ||
    zh_fail "the newest chat line is not in the memo's last row on $display"
  dark_in "$display" $((mx + MEMO_CHAT[0])) $((my + MEMO_CHAT[1] + 3)) "${MEMO_CHAT[2]}" 12 ||
    zh_fail "the line before the newest is not above it in the memo on $display"
done
# Without a bus, discovery stays silent on both sides.
[ ! -e /nonexistent ] || zh_fail "/nonexistent exists: the harness's bus address leads somewhere"
for side in server client; do
  if grep -iE 'avahi|d-?bus|bus|mdns|dns-sd|zeroconf|_zerud4|discover|socket ?notifier' \
    "$ZH_DIR/$side.log"; then
    zh_fail "the $side wrote about discovery without a daemon"
  fi
done
[ "$(titled_windows "$D1")" -eq 1 ] && [ "$(titled_windows "$D2")" -eq 1 ] ||
  zh_fail "a box came up"
echo "PASS: two copies connected over 127.0.0.1, moves and chat lines seen on the other side"
