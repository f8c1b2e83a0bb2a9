#!/usr/bin/env bash
# Xvfb harness for the game's end-to-end tests: a private X display with a
# small window manager, window lookup, clicks, screenshots and pixel reads.
#
# Use it from a bash test script registered with ctest:
#
#   source "$(dirname "$0")/../e2e/harness.sh"   # path to this file
#   zh_require "$program"      # skips the test (exit 77) without Xvfb/xdotool
#   zh_start                   # Xvfb on a free display + openbox; DISPLAY set
#   zh_launch /path/to/zerud-uravizera4   # from a scratch folder; sets ZH_PID
#   wid=$(zh_wait_window "Zerud uravizera4" 10 387x354)
#   read -r x y w h < <(zh_geometry "$wid")   # client area, screen coordinates
#   zh_click $((x + 291)) $((y + 337))
#   zh_shot "$ZH_DIR/screen.png"; zh_pixel "$ZH_DIR/screen.png" 5 5   # -> "0,0,0"
#   zh_wait_exit "$ZH_PID" 10; echo "status $ZH_STATUS"
#
# and in CMake:
#   add_test(NAME my.e2e COMMAND ${CMAKE_SOURCE_DIR}/tests/.../my_e2e.sh ...)
#   set_tests_properties(my.e2e PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
#
# Each run has its own display (Xvfb -displayfd picks a free one), so tests
# may run in parallel. Everything started here is stopped when the script
# exits (an EXIT trap; define a function zh_on_exit for cleanup of your own).
# ZH_DIR is a scratch folder kept after a failure for its screenshots (its
# path is printed), removed after a success. Call zh_fail from the script
# itself, not inside $( ): there it would only leave the subshell.
#
# Functions:
#   zh_require [PROGRAM...]        skip (77) unless Xvfb, xdotool, xwininfo, import exist;
#                                  fail (1) when a PROGRAM given is not executable
#   zh_start [WxHxD]               start Xvfb (default 1280x1024x24) and openbox
#   zh_start_display VAR [WxHxD]   one more Xvfb with its own openbox, for a
#                                  second program; its name (":N") goes to VAR
#   zh_launch PROGRAM [ARGS...]    start a program from $ZH_DIR/cwd; pid in ZH_PID;
#                                  its output goes to $ZH_LOG (default
#                                  $ZH_DIR/program.log)
#   zh_copy_program PROGRAM FOLDER [FILE...]  a program folder of its own: the
#                                  program and these files of its folder, at
#                                  the same paths (images/bg.jpg); false when
#                                  one is missing
#   zh_wait_window NAME [SEC] [WxH]  id of a visible window titled exactly NAME
#                                  (and, if given, with that client size)
#   zh_wait_gone WID [SEC]         wait until the window is unmapped or destroyed
#   zh_geometry WID                "x y w h" of the client area on the screen
#   zh_frame_extents WID           "left right top bottom" of the manager's frame
#   zh_screen_size                 "w h" of the screen
#   zh_click X Y                   left click at screen coordinates
#   zh_shot FILE                   screenshot of the whole screen (PNG)
#   zh_pixel FILE X Y              "r,g,b" of one pixel of a screenshot
#   zh_region_hash FILE X Y W H    checksum of a rectangle of a screenshot, to
#                                  tell whether that part of the screen changed
#   zh_wait_pixel X Y R,G,B [SEC]  take screenshots until the pixel has that
#                                  colour (default 10 s); false if it never does
#   zh_wait_pixel_not X Y R,G,B [SEC]  the same until it has another colour
#   zh_start_game PROGRAM          start the game, close its start-up picture with
#                                  "Fermer", wait for the 800 x 600 main window;
#                                  sets ZH_MAIN (window id), ZH_MAIN_X, ZH_MAIN_Y
#                                  (its client area's corner) and ZH_PID
#   zh_board X Y [DY]              the game's grid as 42 characters, row 0 (top)
#                                  first: 1 red, 2 yellow, 0 anything else; X Y
#                                  is the main window's client corner, DY the
#                                  height read in each 70-pixel cell (default 50)
#   zh_wait_exit PID [SEC]         wait for the process; status in ZH_STATUS
#                                  (124 when it did not end in time)
#   zh_alive PID                   true while the process runs
#   zh_now_ms                      the clock in milliseconds, for timing
#   zh_until SEC CMD...            run CMD until it succeeds; false if it still
#                                  fails after SEC seconds
#   zh_fail MESSAGE                print FAIL, take a screenshot, exit 1
#   zh_check COND_DESCRIPTION CMD...  run CMD; zh_fail with the description if false
#   zh_click_until DESCRIPTION ACTION CHECK...  run ACTION (a command in one
#                                  word-split string, a click) until CHECK
#                                  holds within 5 s, six tries; the time of the
#                                  last try in ZH_CLICKED; zh_fail if never
#   zh_wrapper FILE CMD...         write FILE, a program that runs CMD followed by
#                                  its own arguments (a program inside a
#                                  namespace, for zh_start_game)
#
# Two computers on one local network, for the network tests (root only):
#   zh_require_netns PACKAGES TOOL...  skip (77) unless root with ip and every
#                                  TOOL; PACKAGES names them in the message
#   zh_netns_pair NS1 NS2          two network namespaces joined by a veth pair,
#                                  "veth0" in each, 198.51.100.1/24 in NS1 and
#                                  198.51.100.2/24 in NS2, IPv4 only, no route
#                                  anywhere else; removed at exit, after the
#                                  programs started here; skips (77) where the
#                                  machine refuses namespaces even to root

ZH_SKIP=77
# The games started here never reach the machine's own system bus: they
# announce nothing on its network and find no server there. A test of that
# starts a bus of its own and points this elsewhere.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/system_bus_socket
ZH_DIR=""
ZH_XVFB_PID=""
ZH_WM_PID=""
ZH_PID=""
ZH_STATUS=""
ZH_PIDS=()
ZH_NETNS=()

zh_require() {
  local tool
  for tool in Xvfb xdotool xwininfo xprop import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed (Debian packages xvfb, xdotool, x11-utils, imagemagick)"
      exit "$ZH_SKIP"
    fi
  done
  local program
  for program in "$@"; do
    if [ ! -x "$program" ]; then
      echo "FAIL: $program is not built"
      exit 1
    fi
  done
}

zh_now_ms() { echo $(($(date +%s%N) / 1000000)); }

# What the test is doing, with the time since it began, for its log.
zh_began=$(zh_now_ms)
zh_step() {
  local ms=$(($(zh_now_ms) - zh_began))
  echo "$((ms / 1000)).$((ms % 1000 / 100)) s: $*"
}

zh_until() {
  local deadline=$(($(zh_now_ms) + $1 * 1000))
  shift
  until "$@"; do
    [ "$(zh_now_ms)" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

zh_stop() {
  local pid
  for pid in "${ZH_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  [ -n "$ZH_WM_PID" ] && kill "$ZH_WM_PID" 2>/dev/null
  [ -n "$ZH_XVFB_PID" ] && kill "$ZH_XVFB_PID" 2>/dev/null
  wait 2>/dev/null || true
  # What the programs started in a namespace left running there goes too; the
  # veth pair goes with its namespaces.
  local ns
  for ns in "${ZH_NETNS[@]}"; do
    ip netns pids "$ns" 2>/dev/null | xargs -r kill 2>/dev/null
    ip netns del "$ns" 2>/dev/null
  done
  return 0
}

zh_exit_trap() {
  local status=$?
  if declare -F zh_on_exit >/dev/null; then zh_on_exit || true; fi
  zh_stop
  if [ -n "$ZH_DIR" ]; then
    if [ "$status" -eq 0 ] || [ "$status" -eq "$ZH_SKIP" ]; then
      rm -rf "$ZH_DIR"
    else
      echo "screenshots and logs kept in $ZH_DIR"
    fi
  fi
  exit "$status"
}

zh_start() {
  local screen=${1:-1280x1024x24}
  ZH_DIR=$(mktemp -d "${TMPDIR:-/tmp}/zerud-e2e.XXXXXX")
  mkdir -p "$ZH_DIR/cwd" "$ZH_DIR/runtime"
  chmod 700 "$ZH_DIR/runtime"
  export XDG_RUNTIME_DIR=$ZH_DIR/runtime
  # The game keeps its settings in the configuration folder: each run its
  # own, so that no test starts from another's.
  mkdir -p "$ZH_DIR/config"
  export XDG_CONFIG_HOME=$ZH_DIR/config
  trap zh_exit_trap EXIT
  trap 'exit 130' INT TERM

  # Xvfb writes the display number it chose to the descriptor once it is
  # ready to take clients.
  local displayfile=$ZH_DIR/display
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$displayfile" \
    >"$ZH_DIR/xvfb.log" 2>&1 &
  ZH_XVFB_PID=$!
  local waited=0
  while [ ! -s "$displayfile" ]; do
    if ! kill -0 "$ZH_XVFB_PID" 2>/dev/null || [ $waited -ge 100 ]; then
      echo "SKIP: Xvfb did not start:"
      cat "$ZH_DIR/xvfb.log"
      exit "$ZH_SKIP"
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$(head -n1 "$displayfile")"
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb

  # A window manager, so that full-screen and activation behave as on a
  # desktop. Without openbox the test still runs, with a warning.
  if command -v openbox >/dev/null 2>&1; then
    openbox --sm-disable >"$ZH_DIR/openbox.log" 2>&1 &
    ZH_WM_PID=$!
    waited=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
      if [ $waited -ge 100 ]; then
        echo "warning: openbox did not come up"
        break
      fi
      sleep 0.1
      waited=$((waited + 1))
    done
  else
    echo "warning: openbox is not installed; running without a window manager"
  fi
}

zh_start_display() {
  local var=$1 screen=${2:-1280x1024x24} file
  file=$(mktemp "$ZH_DIR/display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$file" \
    >"$file.log" 2>&1 &
  ZH_PIDS+=("$!")
  zh_until 10 test -s "$file" || { echo "SKIP: one more Xvfb did not start"; exit "$ZH_SKIP"; }
  printf -v "$var" ':%s' "$(head -n1 "$file")"
  if command -v openbox >/dev/null 2>&1; then
    DISPLAY=${!var} openbox --sm-disable >"$file.openbox.log" 2>&1 &
    ZH_PIDS+=("$!")
    DISPLAY=${!var} zh_until 10 eval \
      "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" ||
      echo "warning: openbox did not come up on ${!var}"
  fi
}

zh_launch() {
  (cd "$ZH_DIR/cwd" && exec "$@") >"${ZH_LOG:-$ZH_DIR/program.log}" 2>&1 &
  ZH_PID=$!
  ZH_PIDS+=("$ZH_PID")
}

zh_copy_program() {
  local program=$1 folder=$2 file
  shift 2
  mkdir -p "$folder" && cp "$program" "$folder/" || return 1
  for file in "$@"; do
    mkdir -p "$folder/$(dirname "$file")" &&
      cp "$(dirname "$program")/$file" "$folder/$file" || return 1
  done
}

zh_alive() { kill -0 "$1" 2>/dev/null; }

zh_geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2}
    END {print x, y, w, h}'
}

zh_frame_extents() {
  local extents
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ',')
  echo "${extents:-0 0 0 0}"
}

zh_screen_size() { xdotool getdisplaygeometry; }

zh_wait_window() {
  local name=$1 seconds=${2:-10} size=${3:-} deadline wid w h
  deadline=$(($(zh_now_ms) + seconds * 1000))
  while [ "$(zh_now_ms)" -lt "$deadline" ]; do
    for wid in $(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null); do
      if [ -z "$size" ]; then
        echo "$wid"
        return 0
      fi
      read -r _ _ w h < <(zh_geometry "$wid")
      if [ "${w}x${h}" = "$size" ]; then
        echo "$wid"
        return 0
      fi
    done
    sleep 0.02
  done
  return 1
}

zh_wait_gone() {
  local wid=$1 seconds=${2:-10} deadline
  deadline=$(($(zh_now_ms) + seconds * 1000))
  while [ "$(zh_now_ms)" -lt "$deadline" ]; do
    if ! xwininfo -id "$wid" 2>/dev/null | grep -q 'Map State: IsViewable'; then return 0; fi
    sleep 0.02
  done
  return 1
}

zh_click() {
  # --sync waits for the pointer to move: where it already stands, it would
  # wait for a motion that never comes.
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  if [ "$X" != "$1" ] || [ "$Y" != "$2" ]; then xdotool mousemove --sync "$1" "$2"; fi
  sleep 0.05
  xdotool click 1
  sleep 0.05
}

zh_shot() { import -window root "$1"; }

zh_pixel() {
  convert "$1" -crop "1x1+$2+$3" +repage -depth 8 -format '%[fx:int(255*r+.5)],%[fx:int(255*g+.5)],%[fx:int(255*b+.5)]' info:
}

zh_region_hash() {
  convert "$1" -crop "${4}x${5}+$2+$3" +repage -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

zh_wait_pixel_state() {  # want(1 = equal, 0 = different) X Y RGB SEC
  local want=$1 x=$2 y=$3 rgb=$4 seconds=${5:-10} deadline got
  deadline=$(($(zh_now_ms) + seconds * 1000))
  while :; do
    zh_shot "$ZH_DIR/wait.png"
    got=$(zh_pixel "$ZH_DIR/wait.png" "$x" "$y")
    if [ "$want" = 1 ] && [ "$got" = "$rgb" ]; then return 0; fi
    if [ "$want" = 0 ] && [ "$got" != "$rgb" ]; then return 0; fi
    [ "$(zh_now_ms)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
zh_wait_pixel() { zh_wait_pixel_state 1 "$@"; }
zh_wait_pixel_not() { zh_wait_pixel_state 0 "$@"; }

zh_start_game() {
  local splash sx sy
  zh_launch "$1"
  splash=$(zh_wait_window "Zerud uravizera4" 30 387x354) || zh_fail "no start-up picture"
  read -r sx sy _ _ < <(zh_geometry "$splash")
  zh_click $((sx + 195 + 96)) $((sy + 327 + 10))
  ZH_MAIN=$(zh_wait_window "Zerud uravizera4" 20 800x600) || zh_fail "no main window after Fermer"
  read -r ZH_MAIN_X ZH_MAIN_Y _ _ < <(zh_geometry "$ZH_MAIN")
}

zh_wait_exit() {
  local pid=$1 seconds=${2:-10} deadline
  deadline=$(($(zh_now_ms) + seconds * 1000))
  while zh_alive "$pid"; do
    if [ "$(zh_now_ms)" -ge "$deadline" ]; then
      ZH_STATUS=124
      return 1
    fi
    sleep 0.02
  done
  wait "$pid"
  ZH_STATUS=$?
  return 0
}

zh_fail() {
  echo "FAIL: $*"
  if [ -n "$ZH_DIR" ] && [ -n "${DISPLAY:-}" ]; then
    zh_shot "$ZH_DIR/failure.png" 2>/dev/null || true
  fi
  if [ -s "$ZH_DIR/program.log" ]; then
    echo "--- program output"
    cat "$ZH_DIR/program.log"
  fi
  exit 1
}

zh_check() {
  local description=$1
  shift
  "$@" || zh_fail "$description"
}

# By default each cell is read low in its disc, below where a winning piece
# carries its tick.
zh_board() {
  local format="" row column x y dy=${3:-50}
  for row in 0 1 2 3 4 5; do
    for column in 0 1 2 3 4 5 6; do
      x=$(($1 + 266 + 70 * column + 35)) y=$(($2 + 149 + 70 * row + dy))
      format+="%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)] "
    done
  done
  zh_shot "$ZH_DIR/board.png"
  convert "$ZH_DIR/board.png" -format "$format" info: | tr ' ' '\n' | while IFS=, read -r r g b; do
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

zh_click_until() {
  local description=$1 action=$2 try
  shift 2
  for try in 1 2 3 4 5 6; do
    ZH_CLICKED=$(zh_now_ms)
    $action
    zh_until 5 "$@" && return 0
  done
  zh_fail "$description"
}

zh_wrapper() {
  local file=$1
  shift
  { echo '#!/usr/bin/env bash'; printf 'exec'; printf ' %q' "$@"; echo ' "$@"'; } >"$file" &&
    chmod +x "$file"
}

zh_require_netns() {
  local packages=$1 tool
  shift
  if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: network namespaces need root"
    exit "$ZH_SKIP"
  fi
  for tool in ip "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed (Debian packages iproute2, $packages)"
      exit "$ZH_SKIP"
    fi
  done
}

zh_netns_pair() {
  local ns side=0
  for ns in "$1" "$2"; do
    if ! ip netns add "$ns"; then
      echo "SKIP: this machine does not allow network namespaces"
      exit "$ZH_SKIP"
    fi
    ZH_NETNS+=("$ns")
  done
  ip link add veth0 netns "$1" type veth peer name veth0 netns "$2" ||
    zh_fail "cannot create the veth pair"
  for ns in "$1" "$2"; do
    side=$((side + 1))
    # IPv4 only: no IPv6 link-local chatter on the pair.
    ip netns exec "$ns" sh -c 'for f in /proc/sys/net/ipv6/conf/*/disable_ipv6; do
      [ -e "$f" ] && echo 1 >"$f"; done; true'
    ip -n "$ns" addr add "198.51.100.$side/24" dev veth0 &&
      ip -n "$ns" link set lo up && ip -n "$ns" link set veth0 up ||
      zh_fail "cannot set up the veth pair in $ns"
  done
}
