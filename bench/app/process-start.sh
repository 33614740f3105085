#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Process start to the main window shown with its language title (the title is set by the
# activation, right before the ring's first frame), on the product database with the
# language chosen; beside a bare Qt program's start to its window shown.
#   bench/app/process-start.sh BUILD-TREE [RUNS]        (needs $DISPLAY and xdotool)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
bin=$1 runs=${2:-10}
run=$(mktemp -d /tmp/zc-start.XXXXXX)
trap 'rm -rf "$run"' EXIT
"$src/app/prepare-run-folder.sh" "$bin" "$run"
printf 'ChekLNG=3\n' >>"$run/ZColor.ini"

# Milliseconds from starting PROGRAM until a visible window titled TITLE exists.
time_to_window() { # time_to_window TITLE PROGRAM...
  local title=$1 start pid
  shift
  start=$(date +%s%N)
  (cd "$run" && exec "$@") >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
    (($(date +%s%N) - start < 30000000000)) || { kill "$pid"; echo "timeout" >&2; return 1; }
    sleep 0.005
  done
  echo $((($(date +%s%N) - start) / 1000000))
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
measure() { # measure NAME TITLE PROGRAM...
  local name=$1
  shift
  local times=()
  for ((i = 0; i < runs; i++)); do times+=("$(time_to_window "$@")"); done
  printf '%-28s median %5d ms  (%s)\n' "$name" "$(printf '%s\n' "${times[@]}" | median)" "${times[*]}"
}
measure "bare Qt window" '^Bare Window$' "$bin/bench/app/bare-window"
measure "colour test main window" '^Zelvoria Color Test \(SPA\)$' "$bin/app/zelvoria-colortest"
