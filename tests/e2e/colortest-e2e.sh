#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End-to-end run of the real zelvoria-colortest with real X input: a first run in a fresh
# run folder (agreement, language), a gem's result window, the printout read back by
# LibreOffice, closing, and a second start that goes straight to the main window.
# Every step leaves a screenshot in the artefact folder.
#   colortest-e2e.sh BUILD-TREE ARTEFACT-FOLDER      (needs $DISPLAY, xdotool, import)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
bin=$1 shots=$2
: "${DISPLAY:?an X display is needed}"

run=$(mktemp -d /tmp/zc-e2e.XXXXXX)
app_pid=
cleanup() {
  if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  rm -rf "$run"
}
trap cleanup EXIT
rm -rf "$shots"
mkdir -p "$shots"

step=0
shot() { # shot NAME: the whole screen, numbered in step order
  step=$((step + 1))
  import -silent -window root "$(printf '%s/%02d-%s.png' "$shots" "$step" "$1")"
}
fail() {
  echo "FAIL: $*" >&2
  import -silent -window root "$shots/failure.png" || true
  exit 1
}

# Waits until COMMAND succeeds, polling; fails with MESSAGE after SECONDS.
wait_until() { # wait_until SECONDS MESSAGE COMMAND...
  local limit=$(($(date +%s) + $1)) message=$2
  shift 2
  until "$@"; do
    (($(date +%s) < limit)) || fail "$message"
    sleep 0.1
  done
}
# xdotool matches titles as regular expressions: TITLE, exactly.
title_pattern() { printf '^%s$' "$(sed 's/[][\\.*^$+?(){}|]/\\&/g' <<<"$1")"; }
# The id of the visible window titled TITLE, waiting for it.
window_named() { # window_named TITLE
  local id
  id=$(timeout 30 xdotool search --sync --onlyvisible --name "$(title_pattern "$1")" | head -n1) ||
    fail "no window \"$1\""
  echo "$id"
}
no_window_named() { ! xdotool search --onlyvisible --name "$(title_pattern "$1")" >/dev/null 2>&1; }
# Waits until the window's picture stays the same for a moment (animations done).
window_settles() { # window_settles ID [CROP]
  local before after crop=(${2:+-crop "$2"})
  before=$(import -silent -window "$1" "${crop[@]}" rgb:- 2>/dev/null | md5sum)
  sleep 0.3
  after=$(import -silent -window "$1" "${crop[@]}" rgb:- 2>/dev/null | md5sum)
  [[ $before == "$after" ]]
}
# The main window below its top row: the name box's blinking caret must not count as motion.
ring_area=656x600+0+50
# Clicks at (X, Y) inside window ID, in absolute screen coordinates; no window manager
# decorates or moves the windows, so the geometry is the client area's.
click_in() { # click_in ID X Y
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --sync $((X + $2)) $((Y + $3)) click 1
}
# Answers the message box titled TITLE with its default button: Return typed with the
# pointer over the box, where the keyboard goes without a window manager.
answer_box() { # answer_box TITLE [SCREENSHOT-NAME]
  local box
  box=$(window_named "$1")
  # The whole screen: opening a box can activate the window below, which spins its ring.
  wait_until 20 "the screen did not settle under \"$1\"" window_settles root
  [[ -z ${2:-} ]] || shot "$2"
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$box")"
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) key Return
  wait_until 10 "the box \"$1\" stayed open" no_window_named "$1"
}
start_app() {
  (cd "$run" && exec "$bin/app/zelvoria-colortest") &
  app_pid=$!
}
wait_app_exit() {
  wait_until 30 "the program did not end" bash -c "! kill -0 $app_pid 2>/dev/null"
  local rc=0
  wait "$app_pid" || rc=$?
  app_pid=
  ((rc == 0)) || fail "the program ended with status $rc"
}

"$src/app/prepare-run-folder.sh" "$bin" "$run"
cat >"$run/record-open.sh" <<SH
#!/bin/sh
echo "\$1" >> "$run/opened.txt"
SH
chmod +x "$run/record-open.sh"
export REPORT_OPEN_COMMAND=$run/record-open.sh
# A language of its own for every text checked below: Spanish.
language=SPA result_title="Descripción" name="Ana García"

# --- First run: agreement, then the language.
start_app
lang=$(window_named Language)
wait_until 10 "the language window did not settle" window_settles "$lang"
shot agreement
# The tick box and the buttons lie on the first page, below the tab bar.
eval "$(xdotool getwindowgeometry --shell "$lang")"
tab_bar=$(( HEIGHT - 529 + 24 ))
click_in "$lang" 60 $((tab_bar + 440 + 8))
click_in "$lang" $((416 + 65)) $((tab_bar + 416 + 32))
wait_until 10 "the language window did not settle" window_settles "$lang"
shot languages
# Spanish is the fourth flag.
click_in "$lang" $((357 + 47)) $((tab_bar + 176 + 45))
answer_box Information language-confirmed
main=$(window_named "Zelvoria Color Test ($language)")
wait_until 15 "the language window stayed open" no_window_named Language
grep -q '^ChekLNG=3' "$run/ZColor.ini" || fail "the choice was not stored: $(cat "$run/ZColor.ini")"
wait_until 20 "the ring did not stop turning" window_settles "$main" "$ring_area"
shot main-window

# The name box, then the centre of EMERALD's box: item 3 of ten on the 656 x 658 ring
# 40 pixels down, 150 thick, from 0 degrees clockwise.
click_in "$main" 286 20
xdotool type --delay 20 "$name"
read -r sx sy < <(awk 'BEGIN { a = (3 * 36 + 18) * atan2(0, -1) / 180;
  printf "%d %d\n", 327.5 + cos(a) * 252.5, 40 + 328.5 + sin(a) * 253.5 }')
pixel=$(import -silent -window "$main" -crop "1x1+$sx+$sy" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')
r=$((16#${pixel:1:2})) g=$((16#${pixel:3:2})) b=$((16#${pixel:5:2}))
((g > 200 && r < 180 && b < 180)) || fail "EMERALD's sector is not green at its box centre: $pixel"
click_in "$main" "$sx" "$sy"
result=$(window_named "$result_title")
wait_until 10 "the result window did not settle" window_settles "$result"
shot result-window

# Print: the template is filled and handed to the recording opener.
click_in "$result" 50 25
wait_until 30 "the printout was not opened" test -s "$run/opened.txt"
[[ $(cat "$run/opened.txt") == "$run/report/WEsito.Doc" ]] ||
  fail "opened \"$(cat "$run/opened.txt")\" instead of the printout"
shot printed
# LibreOffice guesses the format from the bytes, as it does when the user opens the printout.
soffice --headless "-env:UserInstallation=file://$run/lo" --convert-to "txt:Text (encoded):UTF8" \
  --outdir "$run" "$run/report/WEsito.Doc" >/dev/null 2>&1 || fail "LibreOffice could not read the printout"
for value in "RESULTADO DE LA PRUEBA DE COLOR" "Nombre Apellido" "$name" "Remedios" "EMERALD" \
  "La esmeralda es un berilo verde"; do
  grep -qF "$value" "$run/WEsito.txt" || fail "the printout lacks \"$value\": $(cat "$run/WEsito.txt")"
done

# Close the result window, then the program through the centre picture and its question.
click_in "$result" 140 25
wait_until 10 "the result window stayed open" no_window_named "$result_title"
# Back in the main window the ring spins in again; the click waits for it.
wait_until 20 "the ring did not stop turning" window_settles "$main" "$ring_area"
click_in "$main" 325 365
answer_box "Zelvoria Color Test" close-question
wait_app_exit

# --- Second start: the stored language leads straight to the main window.
start_app
main=$(window_named "Zelvoria Color Test ($language)")
no_window_named Language || fail "the language window came back on the second start"
wait_until 20 "the ring did not stop turning" window_settles "$main" "$ring_area"
shot second-start
kill -TERM "$app_pid"
wait_app_exit
echo "end-to-end run passed; screenshots in $shots"
