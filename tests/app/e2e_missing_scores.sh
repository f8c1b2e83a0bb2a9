#!/usr/bin/env bash
# With scores.txt missing beside the executable (the current folder holds
# one), its error comes before the backdrop; once answered, the start-up
# goes on with the backdrop and the start-up picture.
#   e2e_missing_scores.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
zh_start 1024x768x24

folder=$ZH_DIR/program
zh_copy_program "$program" "$folder" images/bg.jpg || zh_fail "no images/bg.jpg beside $program"
echo "0000|1" >"$ZH_DIR/cwd/scores.txt"

zh_launch "$folder/$(basename "$program")"
# The error box has the start-up picture's title, not its size.
box=""
deadline=$(($(zh_now_ms) + 30000))
while [ -z "$box" ] && [ "$(zh_now_ms)" -lt "$deadline" ]; do
  for wid in $(xdotool search --onlyvisible --name '^Zerud uravizera4$' 2>/dev/null); do
    read -r _ _ w h < <(zh_geometry "$wid")
    if [ "${w}x${h}" = "387x354" ]; then
      zh_fail "the start-up picture shows before the error about scores.txt"
    fi
    box=$wid
  done
  sleep 0.05
done
[ -n "$box" ] || zh_fail "no error about the missing scores.txt"
if xdotool search --onlyvisible --name '^Zerud uravizera 4$' >/dev/null 2>&1; then
  zh_fail "the backdrop shows before the main window's creation is done"
fi
zh_shot "$ZH_DIR/error.png"

# Answer the error; the start-up goes on.
xdotool windowactivate --sync "$box" 2>/dev/null
xdotool key Return
zh_wait_window "Zerud uravizera 4" 20 >/dev/null || zh_fail "no backdrop after the error"
splash=$(zh_wait_window "Zerud uravizera4" 20 387x354) || zh_fail "no start-up picture after the error"
zh_alive "$ZH_PID" || zh_fail "the program ended"
echo "PASS: the error about scores.txt comes before the backdrop; the start-up goes on"
