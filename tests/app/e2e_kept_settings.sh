#!/usr/bin/env bash
# The options are kept between runs: the level set to "Expert" and the speed
# to the fastest, the game quit with "Oui" and started again, the options
# panel shows them as they were left. The game runs with a home folder of
# its own, so no other test's settings count.
#   e2e_kept_settings.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
zh_start 1280x1024x24
export HOME=$ZH_DIR/home
unset XDG_CONFIG_HOME
mkdir -p "$HOME"
shot=$ZH_DIR/screen.png

options() { zh_click $((mx + 7 + 27)) $((my + 145 + 27)) && sleep 0.7; }
# The speed and level bars of the options panel, as drawn.
bars() {
  zh_shot "$shot" &&
    echo "$(zh_region_hash "$shot" $((mx + 47)) $((my + 240)) 347 20)" \
      "$(zh_region_hash "$shot" $((mx + 47)) $((my + 336)) 347 20)"
}

zh_start_game "$program"
mx=$ZH_MAIN_X my=$ZH_MAIN_Y
options
defaults=$(bars)
# A click near the right end of a bar takes it to its last value.
zh_click $((mx + 392)) $((my + 250))
zh_click $((mx + 392)) $((my + 346))
sleep 0.5
set_bars=$(bars)
[ "$set_bars" != "$defaults" ] || zh_fail "the bars did not move"
# "Fermer", "Quitter", "Oui": the process ends.
zh_click $((mx + 712 + 30)) $((my + 65 + 497 + 10))
zh_click $((mx + 755)) $((my + 40))
dialog=$(zh_wait_window "Confirmation" 10) || zh_fail "no confirmation"
read -r cx cy _ _ < <(zh_geometry "$dialog")
zh_click $((cx + 140)) $((cy + 54))
zh_wait_exit "$ZH_PID" 10
[ "$ZH_STATUS" = 0 ] || zh_fail "Oui ended the game with status $ZH_STATUS"
[ -s "$HOME/.config/zerud-uravizera4/options.ini" ] || zh_fail "no settings file was written"

zh_start_game "$program"
mx=$ZH_MAIN_X my=$ZH_MAIN_Y
options
zh_until 5 eval '[ "$(bars)" = "$set_bars" ]' ||
  zh_fail "the options panel does not show the speed and level left last time"
echo "PASS: the level and the speed set in one run show in the next"
