#!/usr/bin/env bash
# Plays the real program under Xvfb: a two-human game won by red with a
# vertical four, read back from screenshots cell by cell, its result over
# the board and in the score, and the winning piece taken back; then a few
# moves against the machine, two of them taken back, the last ones from the
# keyboard, one of them where the hint (H) put the next piece.
#   e2e_game.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
zh_start 1280x1024x24
zh_start_game "$program"
shot=$ZH_DIR/screen.png
seen=

# Runs the command until it succeeds, for at most `seconds`; fails with
# `message` and the last board seen.
retry() {
  local seconds=$1 message=$2
  shift 2
  zh_until "$seconds" "$@" || zh_fail "$message${seen:+ (screen shows $seen)}"
}

# The whole framed window ends up in the middle of the screen, its client
# area still 800 x 600.
read -r screen_w screen_h < <(zh_screen_size)
read -r left right top bottom < <(zh_frame_extents "$ZH_MAIN")
centred() {
  read -r mx my w h < <(zh_geometry "$ZH_MAIN")
  local dx=$((2 * (mx - left) + left + 800 + right - screen_w))
  local dy=$((2 * (my - top) + top + 600 + bottom - screen_h))
  [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ]
}
retry 5 "the framed main window is not centred (frame $left $right $top $bottom)" centred
[ "$w" = 800 ] && [ "$h" = 600 ] || zh_fail "main window's client area is ${w}x$h"

click() { zh_click $((mx + $1)) $((my + $2)); }

board() { zh_board "$mx" "$my"; }
shows() { seen=$(board) && [ "$seen" = "$1" ]; }
count() { local text=${1//[^$2]/}; echo ${#text}; }
# The pieces of each colour on the screen: red, then yellow.
holds() { seen=$(board) && [ "$(count "$seen" 1)" = "$1" ] && [ "$(count "$seen" 2)" = "$2" ]; }
target() { click $((266 + 70 * $1 + 35)) $((69 + 35)); }
start() { click $((7 + 27)) $((75 + 27)); }

# Options, a mode (its radio button's top within the panel), "Fermer".
choose_mode() {
  click $((7 + 27)) $((145 + 27))
  sleep 0.5
  click $((63 + 10)) $((65 + $1 + 12))
  sleep 0.2
  click $((712 + 30)) $((65 + 497 + 10))
  sleep 0.5
}

score_at_start=$(zh_shot "$shot" && zh_region_hash "$shot" $((mx + 87)) $((my + 122)) 124 17)
choose_mode 411  # "2 joueurs humains"
start
sleep 0.5
grid=000000000000000000000000000000000000000000
retry 5 "the board is not empty at the start" shows "$grid"

# Red in column 0, yellow in column 1, four times red: a vertical four.
player=1
for column in 0 1 0 1 0 1 0; do
  for row in 5 4 3 2 1 0; do
    index=$((row * 7 + column))
    [ "${grid:index:1}" = 0 ] && break
  done
  grid="${grid:0:index}$player${grid:index+1}"
  target $column
  retry 15 "piece $player in column $column" shows "$grid"
  player=$((3 - player))
done
# The end is shown: the winning pieces blink and stay, the grid fades out,
# and further clicks add nothing.
sleep 2
target 3
sleep 1.5
retry 3 "a click after the end of the game changed the board" shows "$grid"

# The result stands over the strip above the grid, white on navy, and the
# score counts it.
banner() {
  zh_shot "$shot"
  IFS=, read -r r g b < <(zh_pixel "$shot" $((mx + 285)) $((my + 105)))
  [ "$b" -gt 100 ] && [ "$r" -lt 90 ] && [ "$g" -lt 90 ]
}
retry 5 "no result over the board" banner
score_region() { zh_shot "$shot" && zh_region_hash "$shot" $((mx + 87)) $((my + 122)) 124 17; }
[ "$(score_region)" != "$score_at_start" ] || zh_fail "the score did not change after a win"

# Ctrl+Z takes the winning piece back and reopens the game; the result goes.
xdotool key ctrl+z
retry 5 "Ctrl+Z did not take the last piece back" shows "${grid:0:14}0${grid:15}"
banner && zh_fail "the result stayed after the undo"
grid="${grid:0:14}0${grid:15}"

# Against the machine: the pieces of the last game fall away, the machine
# may open; it answers each of our three moves with a yellow piece.
choose_mode 387  # "Joueur contre la machine"
# Runs the action (a command line, split into words) until the check holds
# within 5 s of it, six times at most. The start button and the targets
# ignore a click or key while a move is under way, and a busy machine can
# take longer to end one than any fixed pause.
repeat_until() {  # action check...
  local action=$1 tries
  shift
  for tries in 1 2 3 4 5 6; do
    $action
    zh_until 5 "$@" && return 0
  done
  return 1
}
cleared() { holds 0 0 || holds 0 1; }
# A new game: the board clears, and `opening` counts the machine's first
# piece when it has the first move.
new_game() {
  repeat_until start cleared || zh_fail "the new game did not clear the board (screen shows $seen)"
  sleep 1
  opening=$(count "$(board)" 2)
}
# Our move number `move` by the action, then the machine's answer. Once our
# piece shows, the targets sleep until the machine's has landed, so the
# action cannot play twice.
our_move() {  # move message action
  repeat_until "$3" reds "$1"
  retry 30 "$2" holds "$1" $(($1 + opening))
}
reds() { seen=$(board) && [ "$(count "$seen" 1)" -ge "$1" ]; }
new_game
for move in 1 2 3; do
  our_move $move "move $move: no move, or the machine did not answer" "target 3"
done
# Backspace takes back the machine's reply and our move.
xdotool key BackSpace
retry 5 "Backspace did not take back our move and the reply" holds 2 $((2 + opening))

# From the keyboard, in a new game, for the machine may have won the last one
# by now: "5" plays the fifth column; the marker then stands over it, moves
# one column right and Enter drops a piece there.
new_game
red_column() {  # the column of the red piece that is in $2 and not in $1
  local i
  for i in $(seq 0 41); do
    [ "${1:i:1}" = 0 ] && [ "${2:i:1}" = 1 ] && echo $((i % 7))
  done
}
before=$(board)
our_move 1 "the key 5: no move, or the machine did not answer" "xdotool key 5"
[ "$(red_column "$before" "$seen")" = 4 ] || zh_fail "the key 5 played elsewhere ($seen)"
before=$seen
xdotool key Right
our_move 2 "the marker and Enter: no move, or no answer" "xdotool key Return"
[ "$(red_column "$before" "$seen")" = 5 ] || zh_fail "Enter played elsewhere ($seen)"
# H: the hint moves the next piece over the advised column; Return plays it.
marker_column() {  # the column the next red piece stands over, above the grid
  local c
  zh_shot "$shot"
  for c in 0 1 2 3 4 5 6; do
    IFS=, read -r r g b < <(zh_pixel "$shot" $((mx + 266 + 70 * c + 35)) $((my + 69 + 50)))
    if [ "$r" -gt 150 ] && [ "$g" -lt 130 ] && [ "$b" -lt 130 ]; then echo "$c" && return 0; fi
  done
  return 1
}
xdotool mousemove $((mx + 100)) $((my + 500))
before=$(board)
xdotool key h
retry 15 "H showed no hint" marker_column
hinted=$(marker_column)
our_move 3 "H then Return: no move, or no answer" "xdotool key Return"
[ "$(red_column "$before" "$seen")" = "$hinted" ] ||
  zh_fail "Return played elsewhere than the hint's column $hinted ($seen)"
zh_alive "$ZH_PID" || zh_fail "the program ended"
echo "PASS: a two-human game won by a vertical four, its result and score, an undo; three moves against the machine and an undo, three from the keyboard, the last where the hint said"
