#!/usr/bin/env bash
# The program under Xvfb as a player meets it: backdrop, centred start-up
# picture, "Fermer", the 800 x 600 main window centred in front (clicking the
# backdrop brings it back), "Quitter"/"Non", "Quitter"/"Oui" (exit status 0),
# and not a word on the console about the missing sound server.
# Prints the times to the backdrop, the start-up picture and the main window.
#   e2e_startup.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
zh_start 1280x1024x24
# No sound server (a named one is never started by the sound library): the
# game must be silent about it too.
export PULSE_SERVER=unix:$ZH_DIR/no-sound-server
read -r screen_w screen_h < <(zh_screen_size)

expect_pixel() {  # description x y r,g,b
  zh_wait_pixel "$2" "$3" "$4" 10 ||
    zh_fail "$1: pixel ($2, $3) is $(zh_pixel "$ZH_DIR/wait.png" "$2" "$3"), expected $4"
}
not_pixel() {  # description x y r,g,b
  zh_wait_pixel_not "$2" "$3" "$4" 10 || zh_fail "$1: pixel ($2, $3) stays $4"
}

# 1. Start-up: the backdrop first, then the start-up picture.
started=$(zh_now_ms)
zh_launch "$program"
backdrop=$(zh_wait_window "Zerud uravizera 4" 30) || zh_fail "the black backdrop never appeared"
backdrop_ms=$(($(zh_now_ms) - started))
splash=$(zh_wait_window "Zerud uravizera4" 30 387x354) || zh_fail "the start-up picture never appeared"
splash_ms=$(($(zh_now_ms) - started))
echo "start-up: first window (backdrop) after ${backdrop_ms} ms, start-up picture after ${splash_ms} ms"

read -r x y w h < <(zh_geometry "$backdrop")
[ "$x $y $w $h" = "0 0 $screen_w $screen_h" ] || zh_fail "the backdrop covers $x $y $w $h"
read -r sx sy w h < <(zh_geometry "$splash")
[ "$sx $sy" = "$(((screen_w - 387) / 2)) $(((screen_h - 354) / 2))" ] ||
  zh_fail "the start-up picture is at $sx $sy, not centred"
if zh_wait_window "Zerud uravizera4" 0 800x600 >/dev/null; then
  zh_fail "the main window shows before the start-up picture is closed"
fi
expect_pixel "backdrop" 5 5 0,0,0
expect_pixel "backdrop" $((screen_w - 5)) $((screen_h - 5)) 0,0,0
expect_pixel "black strip of the start-up picture" $((sx + 100)) $((sy + 340)) 0,0,0
expect_pixel "frame of Fermer" $((sx + 195)) $((sy + 327)) 0,0,128
expect_pixel "face of Fermer" $((sx + 198)) $((sy + 330)) 128,128,192

# 2. "Fermer": the main window comes up, 800 x 600, centred, in front.
fermer_at=$(zh_now_ms)
zh_click $((sx + 195 + 96)) $((sy + 327 + 10))
main=$(zh_wait_window "Zerud uravizera4" 20 800x600) || zh_fail "no 800 x 600 main window after Fermer"
echo "start-up: main window $(($(zh_now_ms) - fermer_at)) ms after Fermer"
zh_wait_gone "$splash" 5 || zh_fail "the start-up picture stays after Fermer"
read -r mx my w h < <(zh_geometry "$main")
read -r left right top bottom < <(zh_frame_extents "$main")
# Centred with whatever frame the window manager adds.
centre_dx=$((2 * mx + 800 - screen_w))
centre_dy=$((2 * my + 600 - screen_h))
echo "main window: client area at $mx,$my; frame extents $left $right $top $bottom"
[ "${centre_dx#-}" -le $((2 * (left + right) + 2)) ] || zh_fail "main window not centred horizontally"
[ "${centre_dy#-}" -le $((2 * (top + bottom) + 2)) ] || zh_fail "main window not centred vertically"
if xdotool search --onlyvisible --name '^Réseau$' >/dev/null 2>&1; then
  zh_fail "the network window shows at start-up"
fi
expect_pixel "backdrop around the main window" 5 5 0,0,0
not_pixel "main window in front" $((mx + 400)) $((my + 300)) 0,0,0

# 3. Clicking the backdrop brings the main window back to the front.
xdotool windowraise "$backdrop"
expect_pixel "main window behind the backdrop" $((mx + 400)) $((my + 300)) 0,0,0
zh_click 5 5
not_pixel "main window back in front" $((mx + 400)) $((my + 300)) 0,0,0

# 4. "Quitter", then "Non": the confirmation closes and the game goes on.
quit_x=$((mx + 718 + 37))
quit_y=$((my + 30 + 10))
# The confirmation's size, place (centred on the main window's frame) and
# colours; leaves its client position in cx, cy.
check_confirmation() {
  local wid=$1 w h
  read -r cx cy w h < <(zh_geometry "$wid")
  [ "$w x $h" = "236 x 68" ] || zh_fail "the confirmation is $w x $h"
  local fx=$((mx - left)) fy=$((my - top)) fw=$((800 + left + right)) fh=$((600 + top + bottom))
  [ "$cx $cy" = "$((fx + (fw - 236) / 2)) $((fy + (fh - 68) / 2))" ] ||
    zh_fail "the confirmation is at $cx,$cy, not centred on the main window"
  expect_pixel "outline of the confirmation" "$cx" "$cy" 0,0,0
  expect_pixel "rectangle of the confirmation" $((cx + 50)) $((cy + 60)) 208,223,255
  expect_pixel "question of the confirmation" $((cx + 4)) $((cy + 4)) 0,66,217
  expect_pixel "face of Oui" $((cx + 113)) $((cy + 47)) 144,178,255
}
zh_click "$quit_x" "$quit_y"
dialog=$(zh_wait_window "Confirmation" 10) || zh_fail "Quitter shows no confirmation"
check_confirmation "$dialog"
zh_click $((cx + 173 + 30)) $((cy + 44 + 10))
zh_wait_gone "$dialog" 5 || zh_fail "Non leaves the confirmation open"
sleep 0.5
zh_alive "$ZH_PID" || zh_fail "the program ended after Non"
zh_wait_window "Zerud uravizera4" 1 800x600 >/dev/null || zh_fail "the main window is gone after Non"

# 5. "Quitter", then "Oui": the process ends at once with status 0.
zh_click "$quit_x" "$quit_y"
dialog=$(zh_wait_window "Confirmation" 10) || zh_fail "the second Quitter shows no confirmation"
check_confirmation "$dialog"
zh_click $((cx + 110 + 30)) $((cy + 44 + 10))
zh_wait_exit "$ZH_PID" 10 || zh_fail "the program still runs after Oui"
[ "$ZH_STATUS" -eq 0 ] || zh_fail "exit status $ZH_STATUS after Oui"
! grep -qiE "pulse|audio|sound" "$ZH_DIR/program.log" ||
  zh_fail "the game complains about the missing audio device"
echo "PASS: start-up, backdrop, Fermer, Quitter/Non, Quitter/Oui (status 0), not a word on the missing sound"
