#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Wake-ups of the colour test while its main window sits idle: the context switches of all
# its threads over SECONDS once the spin-in is over, beside a bare Qt window's with an
# active, focused edit box (a blinking caret, as the colour test's name box has).
#   bench/app/idle-wakeups.sh BUILD-TREE [SECONDS]      (needs $DISPLAY and xdotool)
#   xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bench/app/idle-wakeups.sh build/release
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "$1" && pwd) seconds=${2:-5}
source "$src/bench/app/run-folder.sh"

# Context switches of every thread of process PID so far.
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n + 0 }'
}
idle_rate() { # idle_rate TITLE PROGRAM: wake-ups a second of PROGRAM's idle window
  local title=$1 pid before after
  shift
  (cd "$run" && exec "$@") >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "$* ended before its window showed" >&2; exit 1; }
    sleep 0.05
  done
  sleep 3 # the spin-in and the first paints are over
  before=$(switches "$pid")
  sleep "$seconds"
  after=$(switches "$pid")
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v n=$((after - before)) -v s="$seconds" 'BEGIN { printf "%.1f", n / s }'
}
bare=$(idle_rate '^Bare Window$' "$bin/bench/app/bare-window" --edit-box)
app=$(idle_rate '^Zelvoria Color Test \(SPA\)$' "$bin/app/zelvoria-colortest")
printf 'idle wake-ups a second over %d s: bare Qt window with an edit box %s, colour test %s\n' "$seconds" "$bare" "$app"
