#!/usr/bin/env bash
# Plays the real program under Xvfb: a two-human game won by red with a
# vertical four, read back from screenshots cell by cell, then a few moves
# against the machine.
#   e2e_game.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
zh_start 1280x1024x24

zh_start_game "$program"

# The whole framed window ends up in the middle of the screen, its client
# area still 800 x 600.
read -r screen_w screen_h < <(zh_screen_size)
read -r left right top bottom < <(zh_frame_extents "$ZH_MAIN")
deadline=$(($(zh_now_ms) + 5000))
while :; do
  read -r mx my w h < <(zh_geometry "$ZH_MAIN")
  dx=$((2 * (mx - left) + left + 800 + right - screen_w))
  dy=$((2 * (my - top) + top + 600 + bottom - screen_h))
  [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] && break
  [ "$(zh_now_ms)" -lt "$deadline" ] ||
    zh_fail "framed main window at $((mx - left)),$((my - top)) (frame $left $right $top $bottom) is not centred"
  sleep 0.1
done
[ "$w" = 800 ] && [ "$h" = 600 ] || zh_fail "main window's client area is ${w}x$h"
shot=$ZH_DIR/screen.png

click() { zh_click $((mx + $1)) $((my + $2)); }

# The grid as seen on the screen, row 0 (top) first: 1 for a red piece, 2 for
# a yellow one, 0 for anything else. Each cell is read low in its disc,
# below where a winning piece carries its tick.
board() {
  local format="" row column
  for row in 0 1 2 3 4 5; do
    for column in 0 1 2 3 4 5 6; do
      local x=$((mx + 266 + 70 * column + 35)) y=$((my + 149 + 70 * row + 50))
      format+="%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)] "
    done
  done
  zh_shot "$shot"
  convert "$shot" -format "$format" info: | tr ' ' '\n' | while IFS=, read -r r g b; do
    [ -n "$r" ] || continue
    if [ "$r" -gt 150 ] && [ "$g" -lt 130 ] && [ "$b" -lt 130 ]; then
      printf 1
    elif [ "$r" -gt 150 ] && [ "$g" -gt 150 ] && [ "$b" -lt 140 ]; then
      printf 2
    else
      printf 0
    fi
  done
}

# Waits until the screen shows the grid `want` (pieces take a moment to fall).
wait_board() {
  local want=$1 seconds=${2:-15} deadline seen
  deadline=$(($(zh_now_ms) + seconds * 1000))
  while :; do
    seen=$(board)
    [ "$seen" = "$want" ] && return 0
    [ "$(zh_now_ms)" -ge "$deadline" ] && break
    sleep 0.2
  done
  echo "screen shows $seen, expected $want"
  return 1
}

count() { local text=$1 digit=$2; text=${text//[^$digit]/}; echo ${#text}; }

# Options: "2 joueurs humains", then "Fermer".
choose_mode() {
  click $((7 + 27)) $((145 + 27))
  sleep 0.5
  click $((63 + 10)) $((65 + $1 + 12))
  sleep 0.2
  click $((712 + 30)) $((65 + 497 + 10))
  sleep 0.5
}

choose_mode 411
click $((7 + 27)) $((75 + 27))  # "Commencer une nouvelle partie"
sleep 0.5
empty=000000000000000000000000000000000000000000
wait_board "$empty" 5 || zh_fail "the board is not empty at the start"

# Red in column 0, yellow in column 1, four times red: a vertical four.
grid=$empty
player=1
for column in 0 1 0 1 0 1 0; do
  # The lowest free row of the column.
  for row in 5 4 3 2 1 0; do
    index=$((row * 7 + column))
    [ "${grid:index:1}" = 0 ] && break
  done
  grid="${grid:0:index}$player${grid:index+1}"
  click $((266 + 70 * column + 35)) $((69 + 35))
  wait_board "$grid" || zh_fail "piece $player in column $column"
  player=$((3 - player))
done
# The end is shown: the winning pieces blink and stay, the grid fades out,
# and further clicks add nothing.
sleep 2
click $((266 + 70 * 3 + 35)) $((69 + 35))
sleep 1.5
wait_board "$grid" 3 || zh_fail "a click after the end of the game changed the board"

# Against the machine: a new game, then three moves of ours; the machine
# answers each one with a yellow piece.
choose_mode 387
click $((7 + 27)) $((75 + 27))
deadline=$(($(zh_now_ms) + 15000))
while :; do
  seen=$(board)
  # The pieces of the last game fall away; the machine may open the game.
  [ "$(count "$seen" 1)" = 0 ] && [ "$(count "$seen" 2)" -le 1 ] && break
  [ "$(zh_now_ms)" -ge "$deadline" ] && zh_fail "the new game did not clear the board: $seen"
  sleep 0.2
done
sleep 1
opening=$(count "$(board)" 2)
for move in 1 2 3; do
  click $((266 + 70 * 3 + 35)) $((69 + 35))
  deadline=$(($(zh_now_ms) + 30000))
  while :; do
    seen=$(board)
    [ "$(count "$seen" 1)" = "$move" ] && [ "$(count "$seen" 2)" = $((move + opening)) ] && break
    [ "$(zh_now_ms)" -ge "$deadline" ] && zh_fail "move $move: the machine did not answer ($seen)"
    sleep 0.2
  done
  sleep 0.3
done
zh_alive "$ZH_PID" || zh_fail "the program ended"
echo "PASS: a two-human game won by a vertical four, and three moves against the machine"
