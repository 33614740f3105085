#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End-to-end runs of the real zelvoria-colortest on a desktop of its own (Xvfb with the
# openbox window manager), as an ordinary user, driven with real X input. Each scenario
# checks how the program ends (status, no process left) and that the next start opens the
# database; every step leaves a screenshot in the artefact folder.
#   colortest-e2e.sh SCENARIO BUILD-TREE ARTEFACT-FOLDER
# Scenarios: first-run, close-question, cancelled, no-database, second-instance, bad-input.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
scenario=$1 bin=$(cd "$2" && pwd) shots=$3
source "$src/tests/e2e/desktop.sh"

run=$(mktemp -d /tmp/zc-e2e.XXXXXX)
user_home=$run/home
cleanup() {
  stop_app
  [[ -z ${second_pid:-} ]] || kill -KILL "$second_pid" 2>/dev/null || true
  [[ ! -s $run/viewer.pid ]] || kill "$(cat "$run/viewer.pid")" 2>/dev/null || true
  stop_desktop
  rm -rf "$run"
}
trap cleanup EXIT
rm -rf "$shots"
mkdir -p "$shots" "$user_home"
chmod 755 "$run"
start_desktop

"$src/app/prepare-run-folder.sh" "$bin/assets" "$bin/app" "$run" >/dev/null
# The program from inside the run folder, so that its user can run it wherever the build
# tree is (a clone in root's home is closed to others).
program=$run/program/zelvoria-colortest
install -D -m 755 "$bin/app/zelvoria-colortest" "$program"
main_title="Zelvoria Color Test (SPA)"
# The main window below its top row: the name box's blinking caret must not count as motion.
ring_area=656x600+0+50
store_language() { printf 'ChekLNG=3\n' >>"$run/ZColor.ini"; }
main_window() { # main_window: waits for the main window and for its ring to stop turning
  local id
  id=$(window_named "$main_title")
  wait_until 20 "the ring did not stop turning" window_settles "$id" "$ring_area"
  echo "$id"
}
# A start after an end must open the database again: the main window shows its language.
next_start_opens_the_database() {
  start_app
  local id
  id=$(main_window)
  no_window_named "Zelvoria Color Test" || fail "the database did not open on the next start"
  keys_to "$id" alt+F4
  wait_app_exit 0
}

# Pixels of the ring's band in window ID that are near white or near black, as caption text
# is: the ring's colours and its grey border are neither (the app preset of rotarymenu-demo
# gives about a thousand such pixels with its captions, none without).
caption_pixels() { # caption_pixels ID
  import -silent -window "$1" -depth 8 txt:- 2>/dev/null | awk -F'[,: ()]+' '
    NR > 1 {
      x = $1; y = $2; r = $3; g = $4; b = $5
      dx = x - 327.5; dy = y - 40 - 328.5; d = sqrt(dx * dx + dy * dy)
      if (d > 185 && d < 320 && ((r < 90 && g < 90 && b < 90) || (r > 235 && g > 235 && b > 235))) n++
    }
    END { print n + 0 }'
}

# Clicks through the agreement to the language page of the language window LANG.
to_language_page() { # to_language_page LANG
  local x y w h
  wait_until 10 "the language window did not settle" window_settles "$1"
  read -r x y w h < <(client_area "$1")
  local tab_bar=$((h - 529 + 24))
  click_in "$1" 60 $((tab_bar + 440 + 8))
  click_in "$1" $((416 + 65)) $((tab_bar + 416 + 32))
  wait_until 10 "the language window did not settle" window_settles "$1"
  echo "$tab_bar"
}

# The centre of EMERALD's box: item 3 of ten on the 656 x 658 ring 40 pixels down, 150
# thick, from 0 degrees clockwise; prints X Y in the main window.
emerald_centre() {
  awk 'BEGIN { a = (3 * 36 + 18) * atan2(0, -1) / 180;
    printf "%d %d\n", 327.5 + cos(a) * 252.5, 40 + 328.5 + sin(a) * 253.5 }'
}

scenario_first_run() {
  # A viewer that stays open 20 s, as a word processor started in the foreground does.
  cat >"$run/viewer.sh" <<SH
#!/bin/sh
echo "\$1" >> "$run/opened.txt"
echo \$\$ > "$run/viewer.pid"
exec sleep 20
SH
  chmod +x "$run/viewer.sh"
  export REPORT_OPEN_COMMAND=$run/viewer.sh
  local name="Ana García"

  start_app
  local lang
  lang=$(window_named Language)
  wait_until 10 "the language window did not settle" window_settles "$lang"
  shot agreement
  # Centred on the main window, which is centred on the screen.
  local x y w h
  read -r x y w h < <(client_area "$lang")
  ((x + w / 2 > 640 - 40 && x + w / 2 < 640 + 40 && y + h / 2 > 512 - 60 && y + h / 2 < 512 + 60)) ||
    fail "the language window is not centred on the main window: $x $y $w $h"
  local tab_bar
  tab_bar=$(to_language_page "$lang")
  shot languages
  # Spanish is the fourth flag.
  click_in "$lang" $((357 + 47)) $((tab_bar + 176 + 45))
  answer_box Information Return language-confirmed
  local main
  main=$(main_window)
  grep -q '^ChekLNG=3' "$run/ZColor.ini" || fail "the choice was not stored: $(cat "$run/ZColor.ini")"
  shot main-window

  # The name box, then EMERALD.
  click_in "$main" 286 20
  type_text "$name" iacute
  local sx sy pixel r g b
  read -r sx sy < <(emerald_centre)
  pixel=$(import -silent -window "$main" -crop "1x1+$sx+$sy" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')
  r=$((16#${pixel:1:2})) g=$((16#${pixel:3:2})) b=$((16#${pixel:5:2}))
  ((g > 200 && r < 180 && b < 180)) || fail "EMERALD's sector is not green at its box centre: $pixel"
  click_in "$main" "$sx" "$sy"
  local result
  result=$(window_named "Descripción")
  wait_until 10 "the result window did not settle" window_settles "$result"
  shot result-window

  # Print: the template is filled and handed to the viewer, which keeps running; the
  # window must go on reacting meanwhile.
  click_in "$result" 45 25
  wait_until 30 "the printout was not opened" test -s "$run/opened.txt"
  [[ $(cat "$run/opened.txt") == "$run/report/WEsito.Doc" ]] ||
    fail "opened \"$(cat "$run/opened.txt")\" instead of the printout"
  shot printed
  local asked=$(date +%s%N)
  click_in "$result" 135 25
  wait_until 1 "the result window did not react to its close button within 1 s while the viewer runs" \
    no_window_named "Descripción"
  echo "result window closed $((($(date +%s%N) - asked) / 1000000)) ms after the click"
  # LibreOffice guesses the format from the bytes, as it does when the user opens the printout.
  need soffice
  soffice --headless "-env:UserInstallation=file://$run/lo" --convert-to "txt:Text (encoded):UTF8" \
    --outdir "$run" "$run/report/WEsito.Doc" >/dev/null 2>&1 || fail "LibreOffice could not read the printout"
  local value
  for value in "RESULTADO DE LA PRUEBA DE COLOR" "Nombre Apellido" "$name" "Remedios" "EMERALD" \
    "La esmeralda es un berilo verde"; do
    grep -qF "$value" "$run/WEsito.txt" || fail "the printout lacks \"$value\": $(cat "$run/WEsito.txt")"
  done

  # Back in the main window the ring spins in again; then the title bar's close box.
  main=$(main_window)
  shot back-in-main-window
  click_close_box "$main"
  wait_app_exit 0
  next_start_opens_the_database
}

scenario_close_question() {
  store_language
  start_app
  local main
  main=$(window_named "$main_title")
  # The first frame shows colours only: no caption is ever drawn on the ring.
  local dark
  dark=$(caption_pixels "$main")
  shot first-frame
  ((dark == 0)) || fail "the ring's first frame has $dark caption pixels"
  main=$(main_window)
  ((($(caption_pixels "$main")) == 0)) || fail "the settled ring shows captions"
  # The central picture asks; No (Escape) keeps the program, Yes (Return) ends it.
  click_in "$main" 325 365
  local box x y w h
  box=$(window_named "Zelvoria Color Test")
  read -r x y w h < <(client_area "$box")
  ((w >= 250)) || fail "the close question is too narrow for its title: $w"
  ((x + w / 2 > 600 && x + w / 2 < 680)) || fail "the close question is not centred: $x $y $w $h"
  answer_box "Zelvoria Color Test" Escape close-question
  still_running
  window_named "$main_title" >/dev/null
  click_in "$main" 325 365
  answer_box "Zelvoria Color Test" Return
  wait_app_exit 0
  # The window manager's close request (what a task bar's "Close" sends).
  start_app
  main=$(main_window)
  wmctrl -i -c "$main"
  wait_app_exit 0
  next_start_opens_the_database
}

scenario_cancelled() {
  # First run: the language window's Cancel ends the program; nothing is stored.
  start_app
  local lang x y w h
  lang=$(window_named Language)
  wait_until 10 "the language window did not settle" window_settles "$lang"
  read -r x y w h < <(client_area "$lang")
  click_in "$lang" $((256 + 65)) $((h - 529 + 24 + 416 + 32))
  wait_app_exit 0
  ! grep -q '^ChekLNG' "$run/ZColor.ini" || fail "cancelling stored a language"
  # The window's close box does the same, and so does Escape.
  start_app
  lang=$(window_named Language)
  wait_until 10 "the language window did not settle" window_settles "$lang"
  click_close_box "$lang"
  wait_app_exit 0
  start_app
  lang=$(window_named Language)
  keys_to "$lang" Escape
  wait_app_exit 0
  shot after-cancel
  # A stored language below -1 is no language either: the program ends, saying why.
  printf 'ChekLNG=-5\n' >>"$run/ZColor.ini"
  start_app
  wait_app_exit 0
  sed -i '/^ChekLNG/d' "$run/ZColor.ini"
  store_language
  next_start_opens_the_database
}

scenario_no_database() {
  store_language
  mv "$run/data/ZColor.fdb" "$run/data/ZColor.fdb.away"
  start_app
  local box main
  box=$(window_named "Zelvoria Color Test")
  shot database-box
  keys_to "$box" Return
  window_gone "$box"
  main=$(window_named "Zelvoria Color Test")
  # The window's return after the box must not bring up a box again and again.
  sleep 2
  local errors
  errors=$(windows_named Error)
  ((errors == 0)) || fail "$errors error boxes came up after the database box"
  shot no-database-window
  click_close_box "$main"
  wait_app_exit 0
  # A termination request during the database box ends the start: no language window.
  sed -i '/^ChekLNG/d' "$run/ZColor.ini"
  start_app
  window_named "Zelvoria Color Test" >/dev/null
  kill -TERM "$app_pid"
  wait_app_exit 0
  mv "$run/data/ZColor.fdb.away" "$run/data/ZColor.fdb"
  store_language
  next_start_opens_the_database
}

scenario_second_instance() {
  store_language
  start_app
  local first=$app_pid main box
  main=$(main_window)
  # A second start while the first holds the database says so and ends.
  as_user "$program" 2>>"$run/stderr.txt" &
  second_pid=$!
  box=$(window_named "Zelvoria Color Test")
  shot already-running
  keys_to "$box" Return
  window_gone "$box"
  local rc=0
  wait_until 20 "the second instance did not end" bash -c "! kill -0 $second_pid 2>/dev/null"
  wait "$second_pid" || rc=$?
  second_pid=
  ((rc == 1)) || fail "the second instance ended with status $rc, not 1"
  kill -0 "$first" 2>/dev/null || fail "the first instance ended"
  keys_to "$main" alt+F4
  wait_app_exit 0
  next_start_opens_the_database
}

scenario_bad_input() {
  # A ZColor.ini of binary garbage is no configuration: no database ("/"), then the
  # first-run window, and cancelling it leaves the file as it was.
  local keep=$run/ZColor.ini.keep lang tab_bar
  cp "$run/ZColor.ini" "$keep"
  head -c 4096 /dev/urandom >"$run/ZColor.ini"
  cp "$run/ZColor.ini" "$run/garbage"
  start_app
  answer_box "Zelvoria Color Test" Return
  lang=$(window_named Language)
  keys_to "$lang" Escape
  wait_app_exit 0
  cmp -s "$run/ZColor.ini" "$run/garbage" || fail "the garbage ZColor.ini was changed"

  # A run folder the user may not write: the choice cannot be stored, which the program
  # says; the language window stays, and cancelling it ends the program.
  cp "$keep" "$run/ZColor.ini"
  hand_over
  chmod 555 "$run"
  chmod 444 "$run/ZColor.ini"
  start_app
  lang=$(window_named Language)
  tab_bar=$(to_language_page "$lang")
  click_in "$lang" $((357 + 47)) $((tab_bar + 176 + 45))
  answer_box Information Return
  local error
  error=$(window_named Error)
  shot read-only-folder
  answer_box Error Return
  window_named Language >/dev/null
  keys_to "$lang" Escape
  wait_app_exit 0
  grep -q '^ChekLNG' "$run/ZColor.ini" && fail "a language was stored in a read-only file"
  chmod 755 "$run"
  chmod 644 "$run/ZColor.ini"

  # A language number beyond the five is English.
  printf 'ChekLNG=99\n' >>"$run/ZColor.ini"
  start_app
  local main
  main=$(window_named "Zelvoria Color Test (ENG)")
  # A termination request while the close question is open ends the program.
  wait_until 20 "the ring did not stop turning" window_settles "$main" "$ring_area"
  click_in "$main" 325 365
  window_named "Zelvoria Color Test" >/dev/null
  kill -TERM "$app_pid"
  wait_app_exit 0
  sed -i '/^ChekLNG/d' "$run/ZColor.ini"
  store_language
  # And while the result window is open.
  start_app
  main=$(main_window)
  local sx sy
  read -r sx sy < <(emerald_centre)
  click_in "$main" "$sx" "$sy"
  window_named "Descripción" >/dev/null
  kill -TERM "$app_pid"
  wait_app_exit 0
  next_start_opens_the_database
}

case $scenario in
first-run) scenario_first_run ;;
close-question) scenario_close_question ;;
cancelled) scenario_cancelled ;;
no-database) scenario_no_database ;;
second-instance) scenario_second_instance ;;
bad-input) scenario_bad_input ;;
*) fail "no scenario \"$scenario\"" ;;
esac
echo "end-to-end scenario $scenario passed; screenshots in $shots"
