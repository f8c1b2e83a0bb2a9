#!/usr/bin/env bash
# Two copies of the game on two X displays, joined over 127.0.0.1: the first
# listens as server with the default port text, the second connects as
# client. The server starts a game and plays column 3, the client sees the
# red piece land and answers in column 4, the server sees the yellow piece.
# A chat line goes from the server to the client's chat memo.
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
target_x() { echo $((266 + 70 * $1 + 35)); }   # centre of column target c
cell_x() { echo $((266 + 70 * $1 + 35)); }     # centre of a cell of column c
BOTTOM_CELL_Y=534                                # centre of the bottom row

red_enough() { IFS=, read -r r g b <<<"$1"; [ "$r" -gt 150 ] && [ "$g" -lt 110 ] && [ "$b" -lt 110 ]; }
yellow_enough() { IFS=, read -r r g b <<<"$1"; [ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 120 ]; }

# Waits until the pixel at (x, y) of display $1 passes the test $4.
wait_cell() {  # display x y test description
  local shot=$ZH_DIR/cell.png colour deadline
  deadline=$(($(zh_now_ms) + 15000))
  while [ "$(zh_now_ms)" -lt "$deadline" ]; do
    DISPLAY=$1 zh_shot "$shot"
    colour=$(zh_pixel "$shot" "$2" "$3")
    "$4" "$colour" && return 0
    sleep 0.2
  done
  DISPLAY=$1 zh_fail "$5 (pixel $2,$3 is $colour)"
}

# The server's copy.
zh_start_game "$program"
ax=$ZH_MAIN_X ay=$ZH_MAIN_Y
zh_click $((ax + MULTI[0])) $((ay + MULTI[1]))
net=$(zh_wait_window "Réseau" 10 312x166) || zh_fail "no network window on the server side"
read -r nx ny _ _ < <(zh_geometry "$net")
zh_click $((nx + CONNEXION[0])) $((ny + CONNEXION[1]))
zh_wait_gone "$net" 5 || zh_fail "the network window stays after Connexion (server)"

# The client's copy.
DISPLAY=$D2 zh_start_game "$program"
bx=$ZH_MAIN_X by=$ZH_MAIN_Y
DISPLAY=$D2 zh_click $((bx + MULTI[0])) $((by + MULTI[1]))
net=$(DISPLAY=$D2 zh_wait_window "Réseau" 10 312x166) || DISPLAY=$D2 zh_fail "no network window on the client side"
read -r nx ny _ _ < <(DISPLAY=$D2 zh_geometry "$net")
DISPLAY=$D2 zh_click $((nx + RADIO_CLIENT[0])) $((ny + RADIO_CLIENT[1]))
DISPLAY=$D2 xdotool type --delay 20 "127.0.0.1"
DISPLAY=$D2 zh_click $((nx + CONNEXION[0])) $((ny + CONNEXION[1]))
DISPLAY=$D2 zh_wait_gone "$net" 5 || DISPLAY=$D2 zh_fail "the network window stays after Connexion (client)"
sleep 1

# Before any move, neither bottom cell shows a piece.
DISPLAY=$D2 zh_shot "$ZH_DIR/empty.png"
red_enough "$(zh_pixel "$ZH_DIR/empty.png" $((bx + $(cell_x 3))) $((by + BOTTOM_CELL_Y)))" &&
  zh_fail "the client's empty cell already looks red"
zh_shot "$ZH_DIR/empty.png"
yellow_enough "$(zh_pixel "$ZH_DIR/empty.png" $((ax + $(cell_x 4))) $((ay + BOTTOM_CELL_Y)))" &&
  zh_fail "the server's empty cell already looks yellow"

# The server starts and plays column 3; the client sees the red piece land.
zh_click $((ax + START[0])) $((ay + START[1]))
sleep 1
zh_click $((ax + $(target_x 3))) $((ay + 104))
wait_cell "$D2" $((bx + $(cell_x 3))) $((by + BOTTOM_CELL_Y)) red_enough \
  "the server's move never reached the client"

# The client answers in column 4; the server sees the yellow piece.
DISPLAY=$D2 zh_click $((bx + $(target_x 4))) $((by + 104))
wait_cell "$D1" $((ax + $(cell_x 4))) $((ay + BOTTOM_CELL_Y)) yellow_enough \
  "the client's move never reached the server"

# A chat line from the server shows in the client's chat memo.
DISPLAY=$D2 zh_shot "$ZH_DIR/before.png"
before=$(zh_region_hash "$ZH_DIR/before.png" $((bx + MEMO_CHAT[0])) $((by + MEMO_CHAT[1])) \
  "${MEMO_CHAT[2]}" "${MEMO_CHAT[3]}")
zh_click $((ax + CHAT[0])) $((ay + CHAT[1]))
xdotool key ctrl+a
xdotool type --delay 20 "Bonjour"
xdotool key Return
deadline=$(($(zh_now_ms) + 10000))
while :; do
  DISPLAY=$D2 zh_shot "$ZH_DIR/after.png"
  after=$(zh_region_hash "$ZH_DIR/after.png" $((bx + MEMO_CHAT[0])) $((by + MEMO_CHAT[1])) \
    "${MEMO_CHAT[2]}" "${MEMO_CHAT[3]}")
  [ "$after" != "$before" ] && break
  [ "$(zh_now_ms)" -lt "$deadline" ] || DISPLAY=$D2 zh_fail "the chat line never showed on the client"
  sleep 0.2
done
echo "PASS: two copies connected over 127.0.0.1, moves and a chat line seen on the other side"
