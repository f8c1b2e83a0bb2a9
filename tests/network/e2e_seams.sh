#!/usr/bin/env bash
# What only the real window shows, where the game meets a peer:
#   - a chat line from the peer shows at once, while the piece of the move
#     the peer sent just before it still falls (the slowest fall, from the
#     kept settings; the peer is a raw one written here);
#   - two copies joined over 127.0.0.1, server A and client B: A starts and
#     wins, then B starts and wins. After each end, with the result shown in
#     both windows, every one of the 42 cells reads as it should, high and low
#     in its disc; the scores count players, this side's wins first: "1-0" on
#     A and "0-1" on B after the first game, "1-1" on both after the second.
# Each copy has its own configuration folder, its kept settings written here
# (speed, role, server, a free port), so no typing and no clash with another
# test listening on the default port.
#   e2e_seams.sh <program>
set -uo pipefail
program=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
command -v python3 >/dev/null 2>&1 || { echo "SKIP: python3 is not installed"; exit 77; }
zh_start 1280x1024x24
D1=$DISPLAY
zh_start_display D2
zh_began=$(zh_now_ms)

# Places in the main window (client coordinates) and the network window.
START=(34 102)           # bnStart
MULTI=(35 243)           # bnReseau, "Mode multi-joueurs"
MEMO_CHAT=(7 524 187 50)
SCORE=(87 122 124 17)    # lbScore
CONNEXION=(46 150)       # bnConnexion in the network window
BANNER_EDGE=(285 105)    # inside the result's left end, over the column targets
column_x() { echo $((266 + 70 * $1 + 35)); }
TARGET_Y=104
BOTTOM_CELL_Y=$((149 + 70 * 5 + 50))

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
# A configuration folder holding the kept settings of one copy.
settings() {  # folder speed role port
  mkdir -p "$1/zerud-uravizera4"
  printf '[options]\nvitesse=%s\n[reseau]\nrole=%s\nserveur=127.0.0.1\nport=%s\n' \
    "$2" "$3" "$4" >"$1/zerud-uravizera4/options.ini"
}
# Starts a copy on a display with a configuration folder and connects it:
# its main window's corner goes to x, y and its pid to pid.
start_connected() {  # display config-folder log
  DISPLAY=$1 XDG_CONFIG_HOME=$2 ZH_LOG=$3 zh_start_game "$program"
  x=$ZH_MAIN_X y=$ZH_MAIN_Y pid=$ZH_PID
  DISPLAY=$1 zh_click $((x + MULTI[0])) $((y + MULTI[1]))
  local net nx ny
  net=$(DISPLAY=$1 zh_wait_window "Réseau" 10 312x166) || zh_fail "no network window on $1"
  read -r nx ny _ _ < <(DISPLAY=$1 zh_geometry "$net")
  DISPLAY=$1 zh_click $((nx + CONNEXION[0])) $((ny + CONNEXION[1]))
  DISPLAY=$1 zh_wait_gone "$net" 5 || zh_fail "the network window on $1 stays after Connexion"
}

shot() {  # display file
  DISPLAY=$1 zh_shot "$2"
}
red() { IFS=, read -r r g b <<<"$1"; [ "$r" -gt 150 ] && [ "$g" -lt 110 ] && [ "$b" -lt 110 ]; }
navy() { IFS=, read -r r g b <<<"$1"; [ "$b" -gt 100 ] && [ "$r" -lt 90 ] && [ "$g" -lt 90 ]; }

# --- A chat line from the peer while its move's piece falls.
chat_while_falling() {
  local config=$ZH_DIR/config-c port before now cell seen_at=
  port=$(free_port)
  settings "$config" 1 serveur "$port"  # speed 1: one pixel a frame
  start_connected "$D1" "$config" "$ZH_DIR/c.log"
  local cx=$x cy=$y
  mkfifo "$ZH_DIR/peer.in"
  python3 -u "$here/peer.py" "$port" "$ZH_DIR/peer.notes" <"$ZH_DIR/peer.in" \
    >"$ZH_DIR/peer.log" 2>&1 &
  ZH_PIDS+=("$!")
  exec 7>"$ZH_DIR/peer.in"
  zh_until 15 grep -q connected "$ZH_DIR/peer.notes" 2>/dev/null ||
    zh_fail "the raw peer could not connect (see $ZH_DIR/peer.log)"
  memo() {
    zh_region_hash "$1" $((cx + MEMO_CHAT[0])) $((cy + MEMO_CHAT[1])) \
      "${MEMO_CHAT[2]}" "${MEMO_CHAT[3]}"
  }
  # The peer starts a game and moves first, in column 3; right behind the
  # move, in a read of its own, a chat line.
  echo "send INIT|xxx" >&7
  sleep 1
  shot "$D1" "$ZH_DIR/c-before.png"
  before=$(memo "$ZH_DIR/c-before.png")
  printf 'send DATA_GAME|3\nsleep 0.2\nsend DATA_CHAT|Salut\n' >&7
  zh_step "the peer sent its move and a chat line"
  # The first screen that shows the line must still show the piece above
  # the bottom cell of column 3.
  local deadline=$(($(zh_now_ms) + 10000)) n=0
  while [ "$(zh_now_ms)" -lt "$deadline" ]; do
    n=$((n + 1))
    shot "$D1" "$ZH_DIR/c-$n.png"
    now=$(memo "$ZH_DIR/c-$n.png")
    cell=$(zh_pixel "$ZH_DIR/c-$n.png" $((cx + $(column_x 3))) $((cy + BOTTOM_CELL_Y)))
    if [ "$now" != "$before" ]; then
      seen_at=$n
      break
    fi
    red "$cell" && zh_step "the piece has landed, no chat line yet"
  done
  [ -n "$seen_at" ] || zh_fail "the peer's chat line never showed (c-*.png)"
  zh_step "the chat line shows on screen $seen_at"
  red "$cell" && zh_fail "the chat line showed only once the peer's piece had landed (c-$seen_at.png)"
  bottom_red() {
    shot "$D1" "$ZH_DIR/c-landed.png" &&
      red "$(zh_pixel "$ZH_DIR/c-landed.png" $((cx + $(column_x 3))) $((cy + BOTTOM_CELL_Y)))"
  }
  zh_until 15 bottom_red || zh_fail "the peer's piece never landed in column 3"
  zh_step "the piece has landed"
  exec 7>&-
  kill "$pid"
  zh_wait_exit "$pid" 10 || zh_fail "the first copy did not end"
}

# --- Two copies: A starts and wins, then B starts and wins.
# The score label's two halves, one checksum each. Its text "d-d" stands in
# the middle, the digits of equal width, so the dash is always drawn alike
# and each half changes with its digit alone.
halves() {  # display
  local file=$ZH_DIR/score-$1.png sx sy half=$((SCORE[2] / 2))
  if [ "$1" = "$D1" ]; then sx=$ax sy=$ay; else sx=$bx sy=$by; fi
  shot "$1" "$file" &&
    echo "$(zh_region_hash "$file" $((sx + SCORE[0])) $((sy + SCORE[1])) $half "${SCORE[3]}")" \
      "$(zh_region_hash "$file" $((sx + SCORE[0] + half)) $((sy + SCORE[1])) $half "${SCORE[3]}")"
}
# The score as two digits, from the halves seen: 0 on each side from the
# start, 1 from the first win (after one game no count can be anything else).
score() {  # display
  local left right
  read -r left right < <(halves "$1")
  digit "$left" "$ZERO_LEFT" "${ONE_LEFT:-}"
  printf -
  digit "$right" "$ZERO_RIGHT" "${ONE_RIGHT:-}"
  echo
}
digit() {  # checksum zero one
  if [ "$1" = "$2" ]; then printf 0; elif [ "$1" = "$3" ]; then printf 1; else printf '?'; fi
}

# The grid both sides should show, row 0 (top) first.
grid=000000000000000000000000000000000000000000
drop() {  # player column: the piece lands in the lowest free cell
  local row index
  for row in 5 4 3 2 1 0; do
    index=$((row * 7 + $2))
    [ "${grid:index:1}" = 0 ] && break
  done
  grid="${grid:0:index}$1${grid:index+1}"
}
board_is() {  # display corner-x corner-y dy
  seen=$(DISPLAY=$1 zh_board "$2" "$3" "$4") && [ "$seen" = "$grid" ]
}
both_show() { board_is "$D1" "$ax" "$ay" 50 && board_is "$D2" "$bx" "$by" 50; }
# Clicks a column until both windows show the grid. A click while the
# targets sleep (the game not started yet, the peer's piece still falling)
# is ignored; once the move is made they sleep until the answer.
play() {  # display corner-x corner-y player column
  local try
  drop "$4" "$5"
  for try in 1 2 3 4 5 6; do
    DISPLAY=$1 zh_click $(($2 + $(column_x "$5"))) $(($3 + TARGET_Y))
    zh_until 5 both_show && { zh_step "column $5 on $1, try $try: $grid"; return 0; }
  done
  zh_fail "column $5 on $1: the windows do not show $grid (last seen $seen)"
}
# A new game started by the side at display: the grids clear on both.
new_game() {  # display corner-x corner-y
  grid=000000000000000000000000000000000000000000
  DISPLAY=$1 zh_click $(($2 + START[0])) $(($3 + START[1]))
  zh_until 10 both_show || zh_fail "the game started on $1 did not clear both grids"
}
# Red (the starter) plays column 0 four times, yellow column 1 three times.
vertical_four() {  # starter's display x y, other's display x y
  local _
  for _ in 1 2 3; do
    play "$1" "$2" "$3" 1 0
    play "$4" "$5" "$6" 2 1
  done
  play "$1" "$2" "$3" 1 0
}
# The result is shown over the column targets, in its navy box.
banner_on() {  # display corner-x corner-y file
  shot "$1" "$4" && navy "$(zh_pixel "$4" $(($2 + BANNER_EDGE[0])) $(($3 + BANNER_EDGE[1])))"
}
# With the result shown on both sides, all 42 cells read as they should,
# high in each disc and low in it.
ended_in_sight() {  # game number
  local side display cornerx cornery dy file
  for side in A B; do
    if [ $side = A ]; then display=$D1 cornerx=$ax cornery=$ay; else
      display=$D2 cornerx=$bx cornery=$by
    fi
    file=$ZH_DIR/banner-$1-$side.png
    zh_until 10 banner_on "$display" "$cornerx" "$cornery" "$file" ||
      zh_fail "game $1: no result shown on $side ($file)"
    for dy in 20 50; do
      board_is "$display" "$cornerx" "$cornery" $dy ||
        zh_fail "game $1: with the result shown, $side reads $seen at height $dy, not $grid"
    done
    banner_on "$display" "$cornerx" "$cornery" "$file" ||
      zh_fail "game $1: the result on $side went while the grid was read"
  done
}

two_copies() {
  local port
  port=$(free_port)
  settings "$ZH_DIR/config-a" 35 serveur "$port"
  settings "$ZH_DIR/config-b" 35 client "$port"
  start_connected "$D1" "$ZH_DIR/config-a" "$ZH_DIR/a.log"
  ax=$x ay=$y
  start_connected "$D2" "$ZH_DIR/config-b" "$ZH_DIR/b.log"
  bx=$x by=$y
  read -r ZERO_LEFT ZERO_RIGHT < <(halves "$D1")
  local b_left b_right
  read -r b_left b_right < <(halves "$D2")
  [ "$b_left $b_right" = "$ZERO_LEFT $ZERO_RIGHT" ] ||
    zh_fail "the two copies do not show the same score at the start (score-*.png)"
  banner_on "$D1" "$ax" "$ay" "$ZH_DIR/no-banner.png" &&
    zh_fail "the place of the result looks like it before any game (no-banner.png)"
  zh_step "both copies connected"

  new_game "$D1" "$ax" "$ay"
  vertical_four "$D1" "$ax" "$ay" "$D2" "$bx" "$by"
  zh_step "A won"
  ended_in_sight 1
  local a_left a_right
  read -r a_left a_right < <(halves "$D1")
  read -r b_left b_right < <(halves "$D2")
  [ "$a_left" != "$ZERO_LEFT" ] && [ "$a_right" = "$ZERO_RIGHT" ] ||
    zh_fail "A's score after A's win does not read as a win then none (score-$D1.png)"
  [ "$b_left" = "$ZERO_LEFT" ] && [ "$b_right" != "$ZERO_RIGHT" ] ||
    zh_fail "B's score after A's win does not read as none then a win (score-$D2.png)"
  ONE_LEFT=$a_left ONE_RIGHT=$b_right

  new_game "$D2" "$bx" "$by"
  vertical_four "$D2" "$bx" "$by" "$D1" "$ax" "$ay"
  zh_step "B won"
  ended_in_sight 2
  local a b
  a=$(score "$D1") b=$(score "$D2")
  [ "$a" = 1-1 ] && [ "$b" = 1-1 ] || zh_fail "after a win each, A's score reads $a and B's $b, not 1-1"
}

chat_while_falling
two_copies
zh_step "done"
echo "PASS: a peer's chat line shown while its piece fell; the results left all 42 cells in sight; one win each reads 1-1 on both sides"
