#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts an installed colour test (its launcher) under a display of its own, waits for its
# main window "Zelvoria Color Test (ENG)", keeps a screenshot and ends it as a session ends
# a program (TERM); exits 0 only when the window came and the program ended with 0. The run
# folder under HOME must already hold ZColor.ini with ChekLNG=1.
#   installed-main-window.sh PREFIX HOME SCREENSHOT.png
set -euo pipefail
if [[ ${1:-} != --inside ]]; then
  for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
  done
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside "$@"
fi
prefix=$2 home=$3 shot=$4
env -u XDG_DATA_HOME -u ZC_RUN_DIR HOME="$home" "$prefix/bin/zelvoria-colortest" &
pid=$!
id=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zelvoria Color Test \(ENG\)$' | head -n 1) || true
if [[ -z $id ]]; then
  kill -KILL "$pid"
  echo "no main window" >&2
  exit 1
fi
sleep 1
import -window root "$shot" || true
kill -TERM "$pid"
wait "$pid"
