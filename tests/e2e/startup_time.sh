#!/usr/bin/env bash
# Measures the game's start-up under Xvfb: milliseconds from starting the
# process to the first window shown (the black backdrop) and to the start-up
# picture, over several runs; prints each run and the median.
#   startup_time.sh <program> [runs=5]
set -uo pipefail
program=$1
runs=${2:-5}
source "$(cd "$(dirname "$0")" && pwd)/harness.sh"
zh_require "$program"
zh_start 1280x1024x24
first=()
splash=()
for run in $(seq 1 "$runs"); do
  started=$(zh_now_ms)
  zh_launch "$program"
  zh_wait_window "Zerud uravizera 4" 30 >/dev/null || zh_fail "run $run: no backdrop"
  first+=($(($(zh_now_ms) - started)))
  zh_wait_window "Zerud uravizera4" 30 387x354 >/dev/null || zh_fail "run $run: no start-up picture"
  splash+=($(($(zh_now_ms) - started)))
  echo "run $run: backdrop ${first[-1]} ms, start-up picture ${splash[-1]} ms"
  kill "$ZH_PID"
  wait "$ZH_PID" 2>/dev/null
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
echo "median over $runs runs: first window $(median "${first[@]}") ms, start-up picture $(median "${splash[@]}") ms"
