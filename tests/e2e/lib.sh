# Shared by the end-to-end scripts: checks and their tally, a private Xvfb server, the
# program's window, real input through xdotool, and screenshots of the window.
#
# A script sources this file, calls e2e_begin BUDGET_SECONDS TOOLS..., then
# e2e_start_app WINDOW_NAME PROGRAM ARGS..., and ends with finish.
# shellcheck shell=bash disable=SC2317  # functions here are called by the scripts

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok - $1"; }
fail() { failed=$((failed + 1)); echo "FAIL - $1"; }
check() {  # check DESCRIPTION ACTUAL EXPECTED
  if [ "$2" == "$3" ]; then pass "$1"; else fail "$1: got '$2', expected '$3'"; fi
}
finish() {
  echo "$passed passed, $failed failed"
  exit $((failed > 0))
}

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
watchdog_pid=""
app_log="$work/app.log"
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  [ -n "$watchdog_pid" ] && kill "$watchdog_pid" 2>/dev/null
  rm -rf "$work"
}

# Every X call is bounded, so a wedged server fails the test instead of hanging it.
xdo() { timeout 10 xdotool "$@"; }

# e2e_begin BUDGET TOOL...: the watchdog, the tools the script needs, and Xvfb.
e2e_begin() {
  local budget="$1" tool
  shift
  trap cleanup EXIT
  trap 'fail "stopped (interrupted, or over the ${budget} s budget)"; finish' INT TERM
  # Each step is bounded; the watchdog bounds them all together.
  (
    sleep "$budget" &
    trap 'kill $!' TERM
    wait $! && kill -TERM $$
  ) &
  watchdog_pid=$!
  for tool in Xvfb xdotool import convert "$@"; do
    command -v "$tool" >/dev/null || { fail "$tool is not installed (scripts/bootstrap installs it)"; finish; }
  done
  # Xvfb picks a free display itself and writes its number once it accepts connections.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local display="" _
  for _ in $(seq 100); do
    display="$(tr -dc 0-9 <"$work/display")"
    [ -n "$display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$display" ] || { fail "Xvfb did not start: $(cat "$work/xvfb.log")"; finish; }
  export DISPLAY=":$display"
  for _ in $(seq 100); do
    timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1 && return
    sleep 0.1
  done
  fail "Xvfb on $DISPLAY does not answer"
  finish
}

# e2e_start_app WINDOW_NAME PROGRAM ARGS...: starts the program on this display, waits
# for its window and moves it to (100, 80). Sets win_x, win_y, win_w, win_h.
e2e_start_app() {
  local name="$1"
  shift
  [ -x "$1" ] || { fail "no program at $1"; finish; }
  # The program must use this display even when the caller runs everything offscreen.
  QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY='' "$@" >"$app_log" 2>&1 &
  app_pid=$!
  window="$(timeout 15 xdotool search --sync --onlyvisible --name "^${name}\$" 2>/dev/null | head -n 1)"
  [ -n "$window" ] || { fail "the window '$name' did not appear"; cat "$app_log"; finish; }
  xdo windowmove --sync "$window" 100 80
  local geometry
  geometry="$(xdo getwindowgeometry --shell "$window")"
  win_x="$(sed -n 's/^X=//p' <<<"$geometry")"
  win_y="$(sed -n 's/^Y=//p' <<<"$geometry")"
  win_w="$(sed -n 's/^WIDTH=//p' <<<"$geometry")"
  win_h="$(sed -n 's/^HEIGHT=//p' <<<"$geometry")"
  check "window moved to the known place" "$win_x,$win_y" "100,80"
}

# click_at X Y [CLICKS]: left clicks at window pixel X, Y, 150 ms apart. No --sync: the
# server moves the pointer before it presses the button anyway, and --sync can wait for
# a move that never comes when the pointer is already there.
click_at() { xdo mousemove $((win_x + $1)) $((win_y + $2)) click --repeat "${3:-1}" --delay 150 1; }

# slow_drag X1 Y1 X2 Y2 [STEPS]: the left button held from one window pixel to another,
# in STEPS moves 50 ms apart (8 by default), as a hand drags.
slow_drag() {
  local steps="${5:-8}" step
  xdo mousemove $((win_x + $1)) $((win_y + $2)) mousedown 1
  for step in $(seq "$steps"); do
    xdo mousemove $((win_x + $1 + ($3 - $1) * step / steps)) $((win_y + $2 + ($4 - $2) * step / steps))
    sleep 0.05
  done
  xdo mouseup 1
}

# shoot NAME: screenshot of the whole screen, cropped to the window, as $work/NAME.png.
shoot() {
  timeout 10 import -window root "$work/screen.png" &&
    convert "$work/screen.png" -crop "${win_w}x${win_h}+${win_x}+${win_y}" +repage "$work/$1.png"
}

# region_hash SHOT "X Y W H": a hash of the pixels of a part of a screenshot.
region_hash() {
  local x y w h
  read -r x y w h <<<"$2"
  convert "$work/$1.png" -crop "${w}x${h}+${x}+${y}" +repage -format '%#' info:
}

# await DESCRIPTION COMMAND...: retakes the "now" shot until COMMAND succeeds, for up to 10 s.
await() {
  local what="$1" deadline=$((SECONDS + 10))
  shift
  while [ "$SECONDS" -le "$deadline" ]; do
    shoot now && "$@" && { pass "$what"; return; }
    sleep 0.2
  done
  fail "$what"
}
