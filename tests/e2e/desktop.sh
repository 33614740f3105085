# SPDX-License-Identifier: MIT
# A desktop for the end-to-end tests, sourced by them: a virtual X server of its own with a
# real window manager (openbox), the program run as an ordinary user, and helpers that act
# on windows as a user does (clicks, keys, the title bar's close box, the window manager's
# close request) and look at the screen.
# Needs: program (the binary to run), run (its run folder), user_home, shots (the artefact
# folder), and the tools named in `need`.

# Every tool the tests call; a missing one fails the test by name.
need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 ||
      { echo "FAIL: $tool is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }
  done
}
need Xvfb openbox xdotool wmctrl xprop xwininfo xmodmap import setpriv pgrep

step=0
shot() { # shot NAME: the whole screen, numbered in step order
  step=$((step + 1))
  import -silent -window root "$(printf '%s/%02d-%s.png' "$shots" "$step" "$1")"
}
fail() {
  echo "FAIL: $*" >&2
  import -silent -window root "$shots/failure.png" 2>/dev/null || true
  exit 1
}

# Waits until COMMAND succeeds, polling; fails with MESSAGE after SECONDS.
wait_until() { # wait_until SECONDS MESSAGE COMMAND...
  local limit=$(($(date +%s%N) + $1 * 1000000000)) message=$2
  shift 2
  until "$@"; do
    (($(date +%s%N) < limit)) || fail "$message"
    sleep 0.05
  done
}

# --- The desktop: Xvfb on a free display, openbox managing it.
desktop_pids=()
start_desktop() {
  local fifo display
  fifo=$(mktemp -u /tmp/zc-e2e-display.XXXXXX)
  mkfifo "$fifo"
  # No -auth: the server takes local clients of any user, the program's user among them.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
  desktop_pids+=($!)
  read -r -t 20 display <"$fifo" || fail "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=:$display
  # The window manager is up once it has claimed the screen (its check window exists);
  # one that does not come up is given a second try before the test fails.
  local try pid
  for try in 1 2; do
    openbox --sm-disable >>"$run/openbox.log" 2>&1 &
    pid=$!
    local limit=$(($(date +%s) + 15))
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
      (($(date +%s) < limit)) && kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
      desktop_pids+=("$pid")
      return
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  fail "openbox did not start on $DISPLAY: $(cat "$run/openbox.log")"
}
stop_desktop() {
  local pid
  for pid in "${desktop_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${desktop_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}

# --- The program's user: the caller when that is an ordinary user; for root, nobody, with
# a home of its own, as root never runs a desktop program.
user_home=
as_user() { # as_user COMMAND... &: becomes COMMAND, in the run folder, as the program's user
  cd "$run" || exit 1
  if (($(id -u) == 0)); then
    exec setpriv --reuid=65534 --regid=65534 --clear-groups \
      env HOME="$user_home" XDG_RUNTIME_DIR= "$@"
  fi
  exec env HOME="$user_home" "$@"
}
# Makes the run folder and the home the program's user's own.
hand_over() {
  if (($(id -u) == 0)); then chown -R 65534:65534 "$run" "$user_home"; fi
}

# --- The program.
app_pid=
start_app() { # start_app [ARGUMENT...]
  hand_over
  as_user "$program" "$@" 2>>"$run/stderr.txt" &
  app_pid=$!
}
# Waits for the program's end and checks its status and that nothing of it is left.
wait_app_exit() { # wait_app_exit [EXPECTED-STATUS]
  local expected=${1:-0} rc=0
  wait_until 20 "the program did not end" bash -c "! kill -0 $app_pid 2>/dev/null"
  wait "$app_pid" || rc=$?
  app_pid=
  ((rc == expected)) || fail "the program ended with status $rc, not $expected: $(cat "$run/stderr.txt")"
  no_program_left
}
no_program_left() {
  ! pgrep -f "$program" >/dev/null || fail "a process of the program is left"
}
# The program is running and stays so for a moment.
still_running() {
  sleep 1
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
}
stop_app() {
  if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
    kill -KILL "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  app_pid=
}

# --- Windows.
# xdotool matches titles as regular expressions: TITLE, exactly.
title_pattern() { printf '^%s$' "$(sed 's/[][\\.*^$+?(){}|]/\\&/g' <<<"$1")"; }
window_named() { # window_named TITLE: the id of the visible window titled TITLE, waiting for it
  local id limit=$(($(date +%s) + 30))
  # A window that goes while xdotool looks at it makes it fail: look again.
  until id=$(xdotool search --onlyvisible --name "$(title_pattern "$1")" 2>/dev/null | head -n1) &&
    [[ -n $id ]]; do
    (($(date +%s) < limit)) || fail "no window \"$1\""
    sleep 0.05
  done
  echo "$id"
}
# Waits until window ID is gone or hidden.
window_gone() { # window_gone ID
  wait_until 10 "window $1 stayed" bash -c "! xdotool getwindowname $1 >/dev/null 2>&1 ||
    ! xwininfo -id $1 2>/dev/null | grep -q 'Map State: IsViewable'"
}
no_window_named() { ! xdotool search --onlyvisible --name "$(title_pattern "$1")" >/dev/null 2>&1; }
windows_named() { { xdotool search --onlyvisible --name "$(title_pattern "$1")" 2>/dev/null || true; } | wc -l; }
# Waits until the window's picture stays the same for a moment (animations done).
window_settles() { # window_settles ID [CROP]
  local before after crop=(${2:+-crop "$2"})
  before=$(import -silent -window "$1" "${crop[@]}" rgb:- 2>/dev/null | md5sum)
  sleep 0.3
  after=$(import -silent -window "$1" "${crop[@]}" rgb:- 2>/dev/null | md5sum)
  [[ $before == "$after" ]]
}
# The client area's place on the screen: X Y WIDTH HEIGHT. (xdotool's own geometry adds the
# frame's offset once more under a reparenting window manager; xwininfo's is exact.)
client_area() { # client_area ID
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }'
}
# Clicks at (X, Y) of window ID's client area.
click_in() { # click_in ID X Y
  local x y w h
  read -r x y w h < <(client_area "$1")
  xdotool mousemove --sync $((x + $2)) $((y + $3)) click 1
}
# The window manager's frame around ID: LEFT RIGHT TOP BOTTOM.
frame_extents() { # frame_extents ID
  xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ','
}
# Clicks the close box at the right end of ID's title bar, as a user does.
click_close_box() { # click_close_box ID
  local x y w h left right top bottom
  read -r x y w h < <(client_area "$1")
  read -r left right top bottom < <(frame_extents "$1")
  [[ -n $top ]] || fail "window $1 has no frame: no window manager?"
  xdotool mousemove --sync $((x + w + right - top / 2 - 2)) $((y - top / 2)) click 1
}
# Types KEYS into window ID after giving it the focus the way a click on its title does.
keys_to() { # keys_to ID KEY...
  local id=$1
  shift
  xdotool windowactivate --sync "$id" 2>/dev/null || true
  xdotool key --clearmodifiers "$@"
}
# Types TEXT, whose letters beyond ASCII must be among KEYSYMS (the X names, such as
# iacute): they are put on free keys first. Otherwise xdotool changes the keymap for each
# such letter and back, and a busy program may read the key after the change back.
type_text() { # type_text TEXT [KEYSYM...]
  local text=$1 keycode=93
  shift
  local keysym
  for keysym in "$@"; do
    xmodmap -e "keycode $keycode = $keysym"
    keycode=$((keycode + 4))
  done
  xdotool type --delay 20 "$text"
}
# Answers the message box titled TITLE with KEY (Return: its default button).
answer_box() { # answer_box TITLE KEY [SCREENSHOT-NAME]
  local box
  box=$(window_named "$1")
  # The whole screen: opening a box can activate the window below, which spins its ring.
  wait_until 20 "the screen did not settle under \"$1\"" window_settles root
  [[ -z ${3:-} ]] || shot "$3"
  keys_to "$box" "$2"
  wait_until 10 "the box \"$1\" stayed open" no_window_named "$1"
}
# Reads the text of window ID's client area at the current language's place: the title.
window_title() { xdotool getwindowname "$1"; }
