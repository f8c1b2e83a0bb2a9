#!/usr/bin/env bash
# `cmake --install` lays out the program folder (the executable, scores.txt,
# images/bg.jpg, Aide.pdf) and a link in bin/, through which the installed
# game starts without an error about its files.
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
# The build's program folder holds the same set.
cmp -s "$source_dir/assets/scores.txt" "$build/scores.txt" || fail "the build's scores.txt is stale"
cmp -s "$source_dir/assets/pictures/bg.jpg" "$build/images/bg.jpg" || fail "the build's images/bg.jpg is stale"
[ "$(readlink "$prefix/bin/zerud-uravizera4")" = "../lib/zerud-uravizera4/zerud-uravizera4" ] ||
  fail "bin/zerud-uravizera4 is not a link to the program"
[ -x "$prefix/bin/zerud-uravizera4" ] || fail "the link in bin/ leads nowhere"
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
