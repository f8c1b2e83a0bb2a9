#!/usr/bin/env bash
# The game clock runs on while the quit confirmation waits and after "Non".
#   e2e_quit_keeps_game.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
zh_start 1280x1024x24

zh_start_game "$program"
mx=$ZH_MAIN_X
my=$ZH_MAIN_Y
shot=$ZH_DIR/screen.png
# The clock's label: the top 16 pixels of the clock panel at (718, 6).
clock() {
  zh_shot "$shot"
  zh_region_hash "$shot" $((mx + 718)) $((my + 6)) 74 16
}

# "Commencer une nouvelle partie": the clock starts.
zh_click $((mx + 7 + 27)) $((my + 75 + 27))
sleep 1.5
before=$(clock)
sleep 2.2
running=$(clock)
[ "$before" != "$running" ] || zh_fail "the game clock does not run after the start"

# "Quitter": while the confirmation waits, the clock goes on.
zh_click $((mx + 755)) $((my + 40))
dialog=$(zh_wait_window "Confirmation" 10) || zh_fail "no confirmation"
waiting=$(clock)
sleep 2.2
[ "$(clock)" != "$waiting" ] || zh_fail "the clock stopped while the confirmation waits"

# "Non": the game goes on.
read -r cx cy _ _ < <(zh_geometry "$dialog")
zh_click $((cx + 203)) $((cy + 54))
zh_wait_gone "$dialog" 5 || zh_fail "Non leaves the confirmation open"
after=$(clock)
sleep 2.2
[ "$(clock)" != "$after" ] || zh_fail "the clock stopped after Non"
zh_alive "$ZH_PID" || zh_fail "the program ended after Non"
echo "PASS: the game and its clock go on through the confirmation and after Non"
