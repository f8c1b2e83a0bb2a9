#!/usr/bin/env bash
# The program on a Wayland desktop: a headless sway, the game running
# natively on it (QT_QPA_PLATFORM=wayland). The black backdrop covers the
# whole screen and every other window shows above it: the start-up picture
# (which Escape and the close request leave up), the main window after
# "Fermer", the quit confirmation ("Non", then "Oui": status 0), the network
# window. Everything is read from grim screenshots and sway's window tree;
# clicks go through a virtual pointer (zerud-wayland-click), since the
# headless compositor has no pointer of its own.
#
# sway refuses to run as root: as root the test runs sway and the game as an
# unprivileged user (created with useradd when missing), from a copy of the
# program folder. Skipped (77) where sway, grim, jq or the clicker are
# missing, or no such user can be had.
#   e2e_wayland.sh <program> [<zerud-wayland-click>]
set -uo pipefail
program=$1
clicker=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"  # zh_pixel, zh_region_hash, zh_now_ms, zh_fail, zh_wait_exit

skip() {
  echo "SKIP: $*"
  exit "$ZH_SKIP"
}
[ -x "$program" ] || { echo "FAIL: $program is not built"; exit 1; }
[ -n "$clicker" ] && [ -x "$clicker" ] ||
  skip "zerud-wayland-click is not built (Debian package libwayland-dev)"
for tool in sway swaymsg grim jq convert; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (Debian packages sway, grim, jq, imagemagick)"
done

user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  user=zerud-e2e
  command -v runuser >/dev/null || skip "runuser is missing: cannot run sway as another user"
  if ! id "$user" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$user" 2>/dev/null ||
      id "$user" >/dev/null 2>&1 || skip "sway refuses root and no user could be created"
  fi
fi

ZH_DIR=$(mktemp -d "${TMPDIR:-/tmp}/zerud-wayland.XXXXXX")
# The programs' own pids (written by themselves, since runuser stands
# between) and the pids of the commands that started them.
sway_pid=""
game_pid=""
runners=()
zh_wayland_exit() {
  local status=$?
  for pid in "$game_pid" "$sway_pid" "${runners[@]}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  wait 2>/dev/null
  if [ "$status" -eq 0 ] || [ "$status" -eq "$ZH_SKIP" ]; then
    rm -rf "$ZH_DIR"
  else
    echo "screenshots and logs kept in $ZH_DIR"
  fi
  exit "$status"
}
trap zh_wayland_exit EXIT
trap 'exit 130' INT TERM

# A copy of the program folder the test user can read, and folders it owns.
chmod 755 "$ZH_DIR"
mkdir -p "$ZH_DIR/runtime" "$ZH_DIR/shots" "$ZH_DIR/home"
zh_copy_program "$program" "$ZH_DIR/program" scores.txt Aide.pdf images/bg.jpg ||
  zh_fail "the program folder beside $program is incomplete"
cp "$clicker" "$ZH_DIR/click"
chmod 700 "$ZH_DIR/runtime"
game=$ZH_DIR/program/$(basename "$program")
config=$ZH_DIR/sway.config
width=1280
height=1024
# Whatever the backdrop leaves uncovered shows in this blue.
cat >"$config" <<CONFIG
output * bg #336699 solid_color
output * resolution ${width}x${height}
CONFIG
chmod -R a+rX "$ZH_DIR/program" "$config" "$ZH_DIR/click"
[ "$user" = "$(id -un)" ] || chown -R "$user" "$ZH_DIR/runtime" "$ZH_DIR/shots" "$ZH_DIR/home"

environment=(PATH=/usr/local/bin:/usr/bin:/bin HOME="$ZH_DIR/home" XDG_RUNTIME_DIR="$ZH_DIR/runtime"
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman)
as_user() {
  if [ "$user" = "$(id -un)" ]; then
    env -i "${environment[@]}" "$@"
  else
    runuser -u "$user" -- env -i "${environment[@]}" "$@"
  fi
}

as_user sh -c 'echo $$ >"$0"; exec sway -c "$1"' "$ZH_DIR/home/sway.pid" "$config" >"$ZH_DIR/sway.log" 2>&1 &
runners+=($!)
deadline=$(($(zh_now_ms) + 20000))
until socket=$(cd "$ZH_DIR/runtime" && ls wayland-? 2>/dev/null | head -n1) && [ -n "$socket" ] &&
  ipc=$(ls "$ZH_DIR"/runtime/sway-ipc.*.sock 2>/dev/null | head -n1) && [ -n "$ipc" ]; do
  if [ "$(zh_now_ms)" -ge "$deadline" ]; then
    cat "$ZH_DIR/sway.log"
    skip "the headless sway did not start"
  fi
  sleep 0.1
done
sway_pid=$(cat "$ZH_DIR/home/sway.pid")
environment+=(WAYLAND_DISPLAY="$socket" SWAYSOCK="$ipc")

shot() { as_user grim "$ZH_DIR/shots/$1.png" && echo "$ZH_DIR/shots/$1.png"; }
# "x y w h" of the client area of the window with that title and size.
window_at() {
  as_user swaymsg -t get_tree | jq -r --arg name "$1" --argjson w "$2" --argjson h "$3" '
    [.. | objects | select(.pid? and .name == $name and .window_rect.width == $w
                           and .window_rect.height == $h)][0]
    | select(.) | "\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \($w) \($h)"'
}
wait_window() {  # title w h seconds
  local deadline found
  deadline=$(($(zh_now_ms) + $4 * 1000))
  until found=$(window_at "$1" "$2" "$3") && [ -n "$found" ]; do
    [ "$(zh_now_ms)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
  echo "$found"
}
# Screenshots until the pixel has (1) or no longer has (0) the colour.
wait_pixel() {  # want x y r,g,b what
  local deadline got file
  deadline=$(($(zh_now_ms) + 10000))
  while :; do
    file=$(shot wait)
    got=$(zh_pixel "$file" "$2" "$3")
    if [ "$1" = 1 ] && [ "$got" = "$4" ]; then return 0; fi
    if [ "$1" = 0 ] && [ "$got" != "$4" ]; then return 0; fi
    [ "$(zh_now_ms)" -lt "$deadline" ] || zh_fail "$5: pixel ($2, $3) is $got"
    sleep 0.1
  done
}
click() { as_user "$ZH_DIR/click" "$1" "$2" "$width" "$height" || zh_fail "no click at $1, $2"; }

# 1. The backdrop over the whole screen, the start-up picture above it.
as_user env QT_QPA_PLATFORM=wayland sh -c 'echo $$ >"$0"; exec "$1"' "$ZH_DIR/home/game.pid" "$game" \
  >"$ZH_DIR/program.log" 2>&1 &
runner=$!
runners+=("$runner")
splash=$(wait_window "Zerud uravizera4" 387 354 30) || zh_fail "the start-up picture never appeared"
game_pid=$(cat "$ZH_DIR/home/game.pid")
read -r sx sy _ _ <<<"$splash"
backdrop=$(wait_window "Zerud uravizera 4" "$width" "$height" 5) || zh_fail "the backdrop does not cover the screen"
[ "$backdrop" = "0 0 $width $height" ] || zh_fail "the backdrop is at $backdrop"
wait_pixel 1 $((sx + 195)) $((sy + 327)) 0,0,128 "frame of Fermer above the backdrop"
wait_pixel 1 $((sx + 198)) $((sy + 330)) 128,128,192 "face of Fermer"
file=$(shot splash)
for corner in "5 5" "$((width - 5)) 5" "5 $((height - 5))" "$((width - 5)) $((height - 5))"; do
  [ "$(zh_pixel "$file" $corner)" = 0,0,0 ] || zh_fail "the screen is not black at $corner"
done

# 2. Escape and the compositor's close request leave it up; no main window.
command -v wtype >/dev/null && as_user wtype -k Escape
as_user swaymsg "[title=\"^Zerud uravizera4\$\"] kill" >/dev/null
sleep 1
window_at "Zerud uravizera4" 387 354 | grep -q . || zh_fail "Escape or the close request closed the start-up picture"
[ -z "$(window_at "Zerud uravizera4" 800 600)" ] || zh_fail "the main window shows before Fermer"
wait_pixel 1 $((sx + 195)) $((sy + 327)) 0,0,128 "start-up picture still shown"

# 3. "Fermer": the main window, centred, above the backdrop.
click $((sx + 195 + 96)) $((sy + 327 + 10))
main=$(wait_window "Zerud uravizera4" 800 600 20) || zh_fail "no main window after Fermer"
read -r mx my _ _ <<<"$main"
[ "$mx $my" = "$(((width - 800) / 2)) $(((height - 600) / 2))" ] || zh_fail "the main window is at $mx $my"
wait_pixel 0 $((mx + 400)) $((my + 300)) 0,0,0 "main window above the backdrop"
file=$(shot main)
[ "$(zh_pixel "$file" 5 5)" = 0,0,0 ] || zh_fail "the backdrop no longer covers the screen"

# 4. "Quitter", then "Non": the confirmation, centred on the main window.
cx=$((mx + (800 - 236) / 2))
cy=$((my + (600 - 68) / 2))
click $((mx + 718 + 37)) $((my + 30 + 10))
wait_pixel 1 $((cx + 50)) $((cy + 60)) 208,223,255 "rectangle of the confirmation"
wait_pixel 1 $((cx + 113)) $((cy + 47)) 144,178,255 "face of Oui"
shot confirmation >/dev/null
click $((cx + 173 + 30)) $((cy + 44 + 10))
wait_pixel 0 $((cx + 50)) $((cy + 60)) 208,223,255 "confirmation gone after Non"
kill -0 "$game_pid" 2>/dev/null || zh_fail "the program ended after Non"

# 5. "Réseau": the network window, 312 x 166, in the middle of the main
# window and above it, stays up while the main window is clicked.
nx=$((mx + (800 - 312) / 2))
ny=$((my + (600 - 166) / 2))
before=$(zh_region_hash "$(shot before-network)" "$nx" "$ny" 312 166)
click $((mx + 7 + 28)) $((my + 215 + 28))
deadline=$(($(zh_now_ms) + 10000))
until [ "$(zh_region_hash "$(shot network)" "$nx" "$ny" 312 166)" != "$before" ]; do
  [ "$(zh_now_ms)" -lt "$deadline" ] || zh_fail "Réseau shows no network window"
  sleep 0.1
done
shown=$(zh_region_hash "$(shot network)" "$nx" "$ny" 312 166)
click $((mx + 100)) $((my + 560))
sleep 0.5
[ "$(zh_region_hash "$(shot network-after-click)" "$nx" "$ny" 312 166)" = "$shown" ] ||
  zh_fail "a click on the main window hid the network window"

# 6. "Quitter", then "Oui", over the network window: the process ends with 0.
click $((mx + 718 + 37)) $((my + 30 + 10))
wait_pixel 1 $((cx + 50)) $((cy + 60)) 208,223,255 "confirmation above the network window"
click $((cx + 110 + 30)) $((cy + 44 + 10))
zh_wait_exit "$runner" 10 || zh_fail "the program still runs after Oui"
[ "$ZH_STATUS" -eq 0 ] || zh_fail "exit status $ZH_STATUS after Oui"
game_pid=""
echo "PASS: on sway the backdrop covers the screen; start-up picture, main window, confirmation and network window show above it"
