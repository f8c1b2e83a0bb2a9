#!/usr/bin/env bash
# `cmake --install` lays out the program folder (the executable, scores.txt,
# images/bg.jpg, Aide.pdf, Aide.txt), a link in bin/, the engine tool, and the
# desktop's files under share/ (menu entry, icons, metadata, manual pages,
# licence), nothing more; the installed game starts through the link without
# an error about its files.
#   install_layout.sh <build folder> <source folder>
set -uo pipefail
build=$1
source_dir=$2
prefix=$(mktemp -d "${TMPDIR:-/tmp}/zerud-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || {
  cat "$prefix.log"; rm -f "$prefix.log"; echo "FAIL: cmake --install"; exit 1; }
rm -f "$prefix.log"
folder=$prefix/lib/zerud-uravizera4
status=0
fail() { echo "FAIL: $*"; status=1; }
[ -x "$folder/zerud-uravizera4" ] || fail "no executable in $folder"
cmp -s "$source_dir/assets/scores.txt" "$folder/scores.txt" || fail "scores.txt differs from assets/scores.txt"
cmp -s "$source_dir/assets/pictures/bg.jpg" "$folder/images/bg.jpg" || fail "images/bg.jpg differs from assets/pictures/bg.jpg"
cmp -s "$build/Aide.pdf" "$folder/Aide.pdf" || fail "Aide.pdf differs from the build's"
cmp -s "$source_dir/assets/help/Aide.txt" "$folder/Aide.txt" || fail "Aide.txt differs from assets/help/Aide.txt"
# The build's program folder holds the same set.
cmp -s "$source_dir/assets/scores.txt" "$build/scores.txt" || fail "the build's scores.txt is stale"
cmp -s "$source_dir/assets/pictures/bg.jpg" "$build/images/bg.jpg" || fail "the build's images/bg.jpg is stale"
cmp -s "$source_dir/assets/help/Aide.txt" "$build/Aide.txt" || fail "the build's Aide.txt is stale"
[ "$(readlink "$prefix/bin/zerud-uravizera4")" = "../lib/zerud-uravizera4/zerud-uravizera4" ] ||
  fail "bin/zerud-uravizera4 is not a link to the program"
[ -x "$prefix/bin/zerud-uravizera4" ] || fail "the link in bin/ leads nowhere"
[ -x "$prefix/bin/zerud-engine" ] || fail "no zerud-engine in bin/"

# Every file under the prefix, and the desktop's files as they are in the sources.
id=org.zerud.uravizera4
expected=(bin/zerud-engine bin/zerud-uravizera4
  lib/zerud-uravizera4/{Aide.pdf,Aide.txt,images/bg.jpg,opening-book.bin,scores.txt,zerud-uravizera4}
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml
  share/doc/zerud-uravizera4/{changelog.gz,copyright} share/lintian/overrides/zerud-uravizera4
  share/man/man1/zerud-engine.1.gz share/man/man6/zerud-uravizera4.6.gz)
for side in 16 24 32 48 64 128 256; do
  icon=share/icons/hicolor/${side}x$side/apps/$id.png
  expected+=("$icon")
  cmp -s "$source_dir/assets/pictures/icon_$side.png" "$prefix/$icon" || fail "$icon differs"
done
installed=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
[ "$installed" = "$wanted" ] || fail "installed files differ: $(diff <(echo "$wanted") <(echo "$installed") | grep '^[<>]' | tr '\n' ' ')"
for file in $id.desktop $id.metainfo.xml copyright; do
  cmp -s "$source_dir/packaging/$file" "$prefix/$(printf '%s\n' "${expected[@]}" | grep "/$file\$")" ||
    fail "$file differs from packaging/$file"
done
for page in man/man1/zerud-engine.1 man/man6/zerud-uravizera4.6 doc/zerud-uravizera4/changelog; do
  gzip -dc "$prefix/share/$page.gz" | cmp -s "$source_dir/packaging/$(basename "$page")" - ||
    fail "share/$page.gz is not packaging/$(basename "$page")"
done
[ $status -eq 0 ] || exit $status
echo "installed layout ok"

here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e/harness.sh"
zh_require
zh_start 1024x768x24
zh_on_exit() { rm -rf "$prefix"; }
zh_launch "$prefix/bin/zerud-uravizera4"
zh_wait_window "Zerud uravizera4" 30 387x354 >/dev/null ||
  zh_fail "the installed game shows no start-up picture (an error about its files?)"
count=$(xdotool search --onlyvisible --name '^Zerud uravizera4$' | wc -l)
[ "$count" -eq 1 ] || zh_fail "$count windows titled Zerud uravizera4: an error box is up"
echo "PASS: installed layout, and the installed game starts through bin/"
