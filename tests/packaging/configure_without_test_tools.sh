#!/usr/bin/env bash
# A distribution's build: with -DBUILD_TESTING=OFF the sources configure on
# a machine where GoogleTest, Google Benchmark, Qt Test and the Wayland
# client library cannot be found, and the build holds the game, its engine
# tool and the help, and no test, benchmark or test tool. Configures only.
#   configure_without_test_tools.sh <cmake> <source folder>
set -uo pipefail
cmake=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/zerud-no-tests.XXXXXX")
trap 'rm -rf "$work"' EXIT

# pkg-config sees every module of this machine but Wayland's (Qt itself asks
# pkg-config for others).
mkdir "$work/pc"
IFS=: read -ra pc_dirs <<<"$(pkg-config --variable pc_path pkg-config)"
for dir in "${pc_dirs[@]}"; do
  for pc in "$dir"/*.pc; do
    name=$(basename "$pc")
    [ -e "$pc" ] && [ ! -e "$work/pc/$name" ] && [[ $name != wayland-* ]] && ln -s "$pc" "$work/pc/$name"
  done
done
export PKG_CONFIG_LIBDIR=$work/pc PKG_CONFIG_PATH=
pkg-config --exists wayland-client && { echo "FAIL: wayland-client still found"; exit 1; }

"$cmake" -S "$source_dir" -B "$work/build" -DBUILD_TESTING=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON >"$work/configure.log" 2>&1 || {
  cat "$work/configure.log"
  echo "FAIL: configuring without the test tools"
  exit 1
}

targets=$("$cmake" --build "$work/build" --target help | sed -n 's/^\.\.\. \([^ ]*\).*/\1/p')
status=0
for wanted in zerud-uravizera4 zerud-engine zerud_help zerud-assetgen install; do
  grep -qx "$wanted" <<<"$targets" || { echo "FAIL: no target $wanted"; status=1; }
done
# Each folder CMake entered has its folder in the build.
for folder in tests bench tools/hostile tools/tune; do
  [ ! -e "$work/build/$folder" ] || { echo "FAIL: $folder is part of the build"; status=1; }
done
[ $status -eq 0 ] && echo "PASS: the game configures without its test tools"
exit $status
