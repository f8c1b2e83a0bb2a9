#!/usr/bin/env bash
# Takes the picture of the main window that the AppStream metadata shows: the
# real program under the end-to-end harness, a few moves against the machine.
#   screenshot.sh <program> <output.png>
set -uo pipefail
program=$1
output=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/harness.sh"
zh_require "$program"
zh_start 1280x1024x24
zh_start_game "$program"

click() { zh_click $((ZH_MAIN_X + $1)) $((ZH_MAIN_Y + $2)); }
click $((7 + 27)) $((75 + 27))  # "Nouvelle partie"
sleep 3
# Each click drops a red piece; the machine answers before the next one.
for column in 3 2 4 3; do
  click $((266 + 70 * column + 35)) $((69 + 35))
  sleep 4
done
import -window "$ZH_MAIN" "$ZH_DIR/shot.png" || zh_fail "no screenshot"
convert "$ZH_DIR/shot.png" -strip "$output" || zh_fail "cannot write $output"
echo "written: $output"
