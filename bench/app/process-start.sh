#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Process start to the main window shown with its language title (the title is set by the
# activation, right before the ring's first frame), on the product database with the
# language chosen; beside a bare Qt program's start to its window shown.
#   bench/app/process-start.sh BUILD-TREE [RUNS]        (needs $DISPLAY and xdotool)
# Under Xvfb give it -noreset: a server that resets when its last client leaves refuses
# the next program while it does so:
#   xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bench/app/process-start.sh build/release
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "$1" && pwd) runs=${2:-10}
source "$src/bench/app/run-folder.sh"

# Milliseconds from starting PROGRAM until a visible window titled TITLE exists.
time_to_window() { # time_to_window TITLE PROGRAM...
  local title=$1 start pid
  shift
  start=$(date +%s%N)
  (cd "$run" && exec "$@") >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "$* ended before its window showed" >&2; return 1; }
    (($(date +%s%N) - start < 30000000000)) || { kill "$pid"; echo "timeout" >&2; return 1; }
    sleep 0.005
  done
  echo $((($(date +%s%N) - start) / 1000000))
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The two programs take turns, so that whatever else the machine does weighs on both.
bare=() app=()
for ((i = 0; i < runs; i++)); do
  bare+=("$(time_to_window '^Bare Window$' "$bin/bench/app/bare-window")")
  app+=("$(time_to_window '^Zelvoria Color Test \(SPA\)$' "$bin/app/zelvoria-colortest")")
done
b=$(printf '%s\n' "${bare[@]}" | median) a=$(printf '%s\n' "${app[@]}" | median)
printf '%-28s median %5d ms  (%s)\n' "bare Qt window" "$b" "${bare[*]}"
printf '%-28s median %5d ms  (%s)\n' "colour test main window" "$a" "${app[*]}"
awk -v a="$a" -v b="$b" 'BEGIN { printf "colour test / bare window: %.2fx\n", a / b }'
