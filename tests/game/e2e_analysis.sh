#!/usr/bin/env bash
# Plays the real program under Xvfb: the record of a game copied with
# Ctrl+C (read from the clipboard with xclip), another one pasted with
# Ctrl+V and shown piece by piece, its values over the columns with A, and
# Ctrl+Z then Ctrl+Y giving the board back.
#   e2e_analysis.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
if ! command -v xclip >/dev/null 2>&1; then
  echo "SKIP: xclip is not installed (Debian package xclip)"
  exit 77
fi
zh_start 1280x1024x24
zh_start_game "$program"
shot=$ZH_DIR/screen.png
seen=
mx=$ZH_MAIN_X my=$ZH_MAIN_Y

retry() {
  local seconds=$1 message=$2
  shift 2
  zh_until "$seconds" "$@" || zh_fail "$message${seen:+ (screen shows $seen)}"
}
click() { zh_click $((mx + $1)) $((my + $2)); }
shows() { seen=$(zh_board "$mx" "$my") && [ "$seen" = "$1" ]; }

# The grid a record leaves, as zh_board reads it: row 0 (top) first.
grid_of() {
  local grid=000000000000000000000000000000000000000000 heights=(0 0 0 0 0 0 0)
  local player=1 i column index
  for ((i = 0; i < ${#1}; i++)); do
    column=$((${1:i:1} - 1))
    index=$(((5 - heights[column]) * 7 + column))
    heights[column]=$((heights[column] + 1))
    grid="${grid:0:index}$player${grid:index+1}"
    player=$((3 - player))
  done
  echo "$grid"
}

# "2 joueurs humains" in the options, then a new game.
click $((7 + 27)) $((145 + 27))
sleep 0.5
click $((63 + 10)) $((65 + 411 + 12))
sleep 0.2
click $((712 + 30)) $((65 + 497 + 10))
sleep 0.5
click $((7 + 27)) $((75 + 27))
retry 10 "the new game did not start on an empty board" shows "$(grid_of "")"
xdotool mousemove $((mx + 100)) $((my + 500))

# Four moves from the keyboard, then Ctrl+C: their columns in the clipboard.
for key in 4 4 5 3; do
  played=${played:-}$key
  xdotool key "$key"
  retry 15 "the key $key played nothing" shows "$(grid_of "$played")"
done
xdotool key ctrl+c
copied() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = 4453 ]; }
retry 5 "Ctrl+C did not put 4453 in the clipboard (it holds '$(xclip -o -selection clipboard 2>&1)')" copied

# Ctrl+V of another record: its pieces, red first.
record=44444435356262711717
printf '%s\n' "$record" | xclip -i -selection clipboard
sleep 0.3
xdotool key ctrl+v
retry 20 "Ctrl+V did not show the pasted game" shows "$(grid_of "$record")"

# A: a figure on a dark plate over each open column, nothing over the full
# column 4; once the values are known, some green (a win) or red (a loss).
# Prints, for the plate of column $1: "none", "plate" (no figure yet),
# "figure" (bright: a value or the dots), with "green"/"red" when so.
plate() {
  convert "$shot" -crop "58x28+$((mx + 266 + 70 * $1 + 6))+$((my + 69 + 3))" +repage \
    -depth 8 txt:- | awk -F'[(),]' 'NR > 1 {
      r = $2; g = $3; b = $4
      if (r + g + b < 260) dark++
      if (r + g + b > 450 || g > 180 || r > 200) bright++
      if (g > 150 && r < 120 && b < 150) green++
      if (r > 200 && g < 120 && b < 120) red++
    } END {
      if (dark < 300) { print "none"; exit }
      printf "%s", (bright > 10 ? "figure" : "plate")
      if (green > 10) printf " green"
      if (red > 10) printf " red"
      print ""
    }'
}
valued() {
  local c state colours=""
  zh_shot "$shot"
  for c in 0 1 2 3 4 5 6; do
    state=$(plate "$c")
    if [ "$c" = 3 ]; then
      [ "$state" = none ] || return 1
    else
      [ "${state%% *}" = figure ] || return 1
      colours+=" ${state#figure}"
    fi
  done
  [[ "$colours" == *green* || "$colours" == *red* ]]
}
plates() {
  local c
  zh_shot "$shot"
  for c in 0 1 2 3 4 5 6; do printf '%s; ' "$(plate "$c")"; done
}
xdotool key a
zh_until 60 valued || zh_fail "A showed no values over the columns (column 4 full): $(plates)"

# Ctrl+Z takes the last piece back, Ctrl+Y plays it again.
xdotool key ctrl+z
retry 10 "Ctrl+Z did not take the last piece back" shows "$(grid_of "${record:0:19}")"
xdotool key ctrl+y
retry 10 "Ctrl+Y did not give the board back" shows "$(grid_of "$record")"
zh_alive "$ZH_PID" || zh_fail "the program ended"
echo "PASS: Ctrl+C copied 4453, Ctrl+V showed another game, A its values, Ctrl+Z and Ctrl+Y the board back"
