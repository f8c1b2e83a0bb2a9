#!/usr/bin/env bash
# The Debian package made by scripts/package: its control fields, lintian
# without an error, the same files as `cmake --install`, and the program
# unpacked from it (dpkg-deb -x) starting under Xvfb to its main window, its
# four files found beside it and its window class the one the menu entry
# names, and its landing sound recorded from a sound server.
#   check_package.sh <package.deb> <build folder>
set -uo pipefail
deb=$1
build=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/zerud-package.XXXXXX")
zh_on_exit() { rm -rf "$work"; }
trap 'rm -rf "$work"' EXIT

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zerud-uravizera4 ] || zh_fail "package name $(field Package)"
[ "$(field Section)" = games ] || zh_fail "section $(field Section)"
for needed in libqt6widgets6 libqt6multimedia6 libavahi-client3 qt6-qpa-plugins qt6-wayland fonts-liberation2 xdg-utils; do
  field Depends | grep -q "$needed" || zh_fail "Depends misses $needed: $(field Depends)"
done
[ "$(field Recommends)" = "evince | okular | atril | mupdf, xdotool" ] ||
  zh_fail "Recommends is $(field Recommends)"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" || zh_fail "lintian reports an error"
else
  echo "warning: lintian is not installed; the package is not linted"
fi

# Same files, links included, as the install rules lay out under /usr.
dpkg-deb -x "$deb" "$work/root" || zh_fail "dpkg-deb -x failed"
DESTDIR=$work/installed cmake --install "$build" --prefix /usr >/dev/null ||
  zh_fail "cmake --install failed"
list() { (cd "$1" && find . ! -type d | LC_ALL=C sort); }
diff <(list "$work/installed") <(list "$work/root") ||
  zh_fail "the package's files differ from the install layout"

folder=$work/root/usr/lib/zerud-uravizera4
for file in scores.txt opening-book.bin images/bg.jpg Aide.pdf Aide.txt; do
  [ -s "$folder/$file" ] || zh_fail "the package has no $file beside the program"
done
zh_require "$work/root/usr/bin/zerud-uravizera4"
zh_start 1280x1024x24
zh_start_game "$work/root/usr/bin/zerud-uravizera4"
count=$(xdotool search --onlyvisible --name '^Zerud uravizera4$' | wc -l)
[ "$count" -eq 1 ] || zh_fail "$count windows titled Zerud uravizera4: an error box is up"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$work/root/usr/share/applications/org.zerud.uravizera4.desktop")
xprop -id "$ZH_MAIN" WM_CLASS | grep -q "\"$wm_class\"\$" ||
  zh_fail "window class $(xprop -id "$ZH_MAIN" WM_CLASS) is not StartupWMClass=$wm_class"

# The packaged game plays its sounds through the desktop's sound server.
"$here/../sound/e2e_game_sounds.sh" "$work/root/usr/bin/zerud-uravizera4" \
  "$here/../../assets/sounds"
case $? in
  0) heard="and plays its sounds" ;;
  77) heard="(its sound not checked: no sound server here)" ;;
  *) zh_fail "the packaged game does not play its sounds whole" ;;
esac
echo "PASS: the package installs the game, which starts from it $heard"
