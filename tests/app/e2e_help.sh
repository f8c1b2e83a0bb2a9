#!/usr/bin/env bash
# "Aide du jeu" on a desktop without a PDF viewer shows the help's text in
# the game's own window, which Escape closes. On a desktop with one, it hands
# the program folder's Aide.pdf to xdg-open, which starts the viewer, sized
# to the screen. The viewer here is a script registered through the test's
# own XDG files: it writes down what it was asked to open and shows a window
# titled with the document's name. The game runs once on each desktop.
#   e2e_help.sh <program>
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require "$program"
if ! command -v mimetype >/dev/null && ! command -v file >/dev/null; then
  echo "SKIP: neither mimetype nor file is installed (Debian packages libfile-mimeinfo-perl, file)"
  exit 77
fi
for tool in xdg-open xmessage; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
zh_start 1280x1024x24

desktop=$ZH_DIR/desktop
mkdir -p "$desktop/bin" "$desktop/config" "$desktop/data/applications" "$desktop/data/mime"
record=$ZH_DIR/opened.txt
cat >"$desktop/bin/zerud-test-viewer" <<VIEWER
#!/bin/sh
printf '%s\n' "\$@" >"$record.part" && mv "$record.part" "$record"
exec xmessage -title "\$(basename "\$1")" "viewer"
VIEWER
chmod +x "$desktop/bin/zerud-test-viewer"
export PATH=$desktop/bin:$PATH
export XDG_CONFIG_HOME=$desktop/config XDG_CONFIG_DIRS=$desktop/config
export XDG_DATA_HOME=$desktop/data XDG_DATA_DIRS=$desktop/data
export XDG_CURRENT_DESKTOP="" DESKTOP_SESSION=""
echo "application/pdf:*.pdf" >"$desktop/data/mime/globs"

# Without a viewer: no application for PDF files yet, and none of the
# viewers the game knows on the PATH (checked first: one installed here
# leaves only the second half to run).
known_viewer=""
for viewer in evince okular atril qpdfview zathura mupdf xpdf xreader papers acroread; do
  if command -v "$viewer" >/dev/null; then known_viewer=$viewer; fi
done
if [ -n "$known_viewer" ]; then
  echo "note: $known_viewer is on the PATH, so the help window without a viewer is not checked"
else
  zh_start_game "$program"
  zh_click $((ZH_MAIN_X + 6 + 27)) $((ZH_MAIN_Y + 285 + 27))
  help=$(zh_wait_window "Aide de Zerud uravizera4" 15) || zh_fail "no help window without a PDF viewer"
  read -r hx hy hw hh < <(zh_geometry "$help")
  [ "$hw" -ge 400 ] && [ "$hh" -ge 400 ] || zh_fail "the help window is only ${hw} x ${hh}"
  # The page is white and its title is written in the headings' blue.
  zh_wait_pixel $((hx + 8)) $((hy + 8)) 255,255,255 || zh_fail "the help window's page is not white"
  zh_shot "$ZH_DIR/help.png"
  blue=$(convert "$ZH_DIR/help.png" -crop "${hw}x120+$hx+$hy" +repage -fill black +opaque "#0042d9" \
    -fill white -opaque "#0042d9" -format '%[fx:int(mean*w*h+0.5)]' info:)
  [ "$blue" -ge 50 ] || zh_fail "the help window's top shows no title in blue ($blue pixels)"
  xdotool key Escape
  zh_wait_gone "$help" 10 || zh_fail "Escape does not close the help window"
  zh_alive "$ZH_PID" || zh_fail "the program ended"
  kill "$ZH_PID"
  zh_wait_exit "$ZH_PID" 10 || zh_fail "the game did not end when told to"
  echo "ok: without a PDF viewer the help shows in its own window, and Escape closes it"
fi

# With a viewer: the script above, the desktop's application for PDF files.
printf '[Desktop Entry]\nType=Application\nName=Viewer\nExec=zerud-test-viewer %%f\nMimeType=application/pdf;\n' \
  >"$desktop/data/applications/zerud-test-viewer.desktop"
printf '[Default Applications]\napplication/pdf=zerud-test-viewer.desktop\n' >"$desktop/config/mimeapps.list"

zh_start_game "$program"
mx=$ZH_MAIN_X
my=$ZH_MAIN_Y

# "Aide du jeu", the question mark at (6, 285).
zh_click $((mx + 6 + 27)) $((my + 285 + 27))
deadline=$(($(zh_now_ms) + 15000))
until [ -s "$record" ] || [ "$(zh_now_ms)" -ge "$deadline" ]; do sleep 0.05; done
[ -s "$record" ] || zh_fail "no viewer was started for the help"
expected=$(cd "$(dirname "$program")" && pwd)/Aide.pdf
[ "$(cat "$record")" = "$expected" ] || zh_fail "the viewer was asked for '$(cat "$record")', not $expected"

# The viewer's window is brought to the size of the screen.
viewer=$(zh_wait_window "Aide.pdf" 15) || zh_fail "the viewer shows no window"
read -r screen_w screen_h < <(zh_screen_size)
deadline=$(($(zh_now_ms) + 10000))
while :; do
  read -r _ _ w h < <(zh_geometry "$viewer")
  [ "$w" -ge $((screen_w - 40)) ] && [ "$h" -ge $((screen_h - 40)) ] && break
  [ "$(zh_now_ms)" -lt "$deadline" ] || zh_fail "the viewer's window is ${w} x ${h}, not the screen's size"
  sleep 0.1
done
zh_alive "$ZH_PID" || zh_fail "the program ended"
echo "PASS: with a viewer, Aide du jeu opens $expected in it, sized to the screen"
