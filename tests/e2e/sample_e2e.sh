#!/usr/bin/env bash
# Runs FormsSample in its own Xvfb server, drives it with real X input (xdotool), looks at
# screenshots and checks the form that the OK button saves.
#
#   sample_e2e.sh FORMS_SAMPLE [ARTIFACT_DIR]
#
# ARTIFACT_DIR (default ./e2e-sample) receives the window's screenshot, the saved form and
# the program's output. The last line is "N passed, M failed"; the status is non-zero on
# any failure.
# shellcheck disable=SC2317  # cleanup and the checks given to await are called indirectly
set -uo pipefail

sample="${1:?usage: sample_e2e.sh FORMS_SAMPLE [ARTIFACT_DIR]}"
artifacts="${2:-$PWD/e2e-sample}"
form_file="$(cd "$(dirname "$0")/../../sample/forms" && pwd)/sample.json"

# Where the window goes, and what the test types and clicks.
win_x=100
win_y=80
name_text="Pat Example"
company_text="Example Works"
arrow_clicks=4

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
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  [ -n "$watchdog_pid" ] && kill "$watchdog_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'fail "stopped (interrupted, or over the 90 s budget)"; finish' INT TERM
# Each step below is bounded; the watchdog bounds them all together.
(
  sleep 90 &
  trap 'kill $!' TERM
  wait $! && kill -TERM $$
) &
watchdog_pid=$!

for tool in Xvfb xdotool import convert python3; do
  command -v "$tool" >/dev/null || { fail "$tool is not installed (scripts/bootstrap installs it)"; finish; }
done
[ -x "$sample" ] || { fail "no sample program at $sample"; finish; }
mkdir -p "$artifacts"
rm -f "$artifacts"/sample-xvfb.png "$artifacts"/saved.json "$artifacts"/sample.log

# Every X call is bounded, so a wedged server fails the test instead of hanging it.
xdo() { timeout 10 xdotool "$@"; }

# Xvfb picks a free display itself and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 100); do
  display="$(tr -dc 0-9 <"$work/display")"
  [ -n "$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$display" ] || { fail "Xvfb did not start: $(cat "$work/xvfb.log")"; finish; }
export DISPLAY=":$display"
answered=""
for _ in $(seq 100); do
  if timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1; then answered=1; break; fi
  sleep 0.1
done
[ -n "$answered" ] || { fail "Xvfb on $DISPLAY does not answer"; finish; }

# The sample must use this display even when the caller runs everything offscreen.
QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY='' "$sample" --save "$work/saved.json" >"$artifacts/sample.log" 2>&1 &
app_pid=$!

window="$(timeout 15 xdotool search --sync --onlyvisible --name '^Forms Runtime Sample$' 2>/dev/null | head -n 1)"
[ -n "$window" ] || { fail "the sample's window did not appear"; cat "$artifacts/sample.log"; finish; }
xdo windowmove --sync "$window" "$win_x" "$win_y"
geometry="$(xdo getwindowgeometry --shell "$window")"
win_left="$(sed -n 's/^X=//p' <<<"$geometry")"
win_top="$(sed -n 's/^Y=//p' <<<"$geometry")"
win_w="$(sed -n 's/^WIDTH=//p' <<<"$geometry")"
win_h="$(sed -n 's/^HEIGHT=//p' <<<"$geometry")"
check "window moved to the known place" "$win_left,$win_top" "$win_x,$win_y"
# From here on the window is where it really is, so one failed move fails one check.
win_x="$win_left"
win_y="$win_top"

# Control rectangles in window pixels, from the form file: "name[index] x y w h", and
# the form's client size as "form".
# Positions are twips relative to the container; the runtime's default is 15 twips a pixel.
declare -A rect
while read -r key x y w h; do rect[$key]="$x $y $w $h"; done < <(python3 - "$form_file" <<'EOF'
import json, sys
TWIPS_PER_PIXEL = 15
def walk(controls, left, top):
    for c in controls:
        x, y = left + c["Left"] / TWIPS_PER_PIXEL, top + c["Top"] / TWIPS_PER_PIXEL
        key = c["name"] + (f"[{c['index']}]" if "index" in c else "")
        print(key, round(x), round(y), round(c["Width"] / TWIPS_PER_PIXEL), round(c["Height"] / TWIPS_PER_PIXEL))
        walk(c.get("controls", []), x, y)
form = json.load(open(sys.argv[1]))
print("form", 0, 0, round(form["ClientWidth"] / TWIPS_PER_PIXEL), round(form["ClientHeight"] / TWIPS_PER_PIXEL))
walk(form["controls"], 0, 0)
EOF
)
[ -n "${rect[txtName]:-}" ] || { fail "cannot read control positions from $form_file"; finish; }
read -r _ _ form_w form_h <<<"${rect[form]}"
check "window is the form's client size in pixels" "${win_w}x${win_h}" "${form_w}x${form_h}"

# click_at X Y [CLICKS]: left clicks at window pixel X, Y, 150 ms apart. No --sync: the
# server moves the pointer before it presses the button anyway, and --sync can wait for
# a move that never comes when the pointer is already there.
click_at() { xdo mousemove $((win_x + $1)) $((win_y + $2)) click --repeat "${3:-1}" --delay 150 1; }
# click_in NAME [DX]: a click in the middle of a control's height, DX pixels in (default: centre).
click_in() {
  read -r x y w h <<<"${rect[$1]}"
  click_at $((x + ${2:-w / 2})) $((y + h / 2))
}

# shoot NAME: screenshot of the whole screen, cropped to the window, as $work/NAME.png.
shoot() {
  timeout 10 import -window root "$work/screen.png" &&
    convert "$work/screen.png" -crop "${win_w}x${win_h}+${win_x}+${win_y}" +repage "$work/$1.png"
}
# Pixel measures over a control's inside (a 3-pixel border left out), from a screenshot.
inside() { read -r x y w h <<<"${rect[$2]}"; echo "$((w - 6))x$((h - 6))+$((x + 3))+$((y + 3))"; }
dark_share() {  # share of dark pixels, in percent
  convert "$work/$1.png" -crop "$(inside "$1" "$2")" +repage -colorspace gray -threshold 50% \
    -format '%[fx:round(100 * (1 - mean))]' info:
}
pixels_hash() {  # pixels_hash SHOT CONTROL
  convert "$work/$1.png" -crop "$(inside "$1" "$2")" +repage -format '%#' info:
}
# await DESCRIPTION COMMAND...: retakes the "now" shot until COMMAND succeeds, for up to 10 s.
await() {
  local what="$1" deadline=$((SECONDS + 10)); shift
  while [ "$SECONDS" -le "$deadline" ]; do
    shoot now && "$@" && { pass "$what"; return; }
    sleep 0.2
  done
  fail "$what"
}
has_text() { [ "$(dark_share now "$1")" -ge 3 ]; }
changed_since() { [ "$(pixels_hash "$1" "$2")" != "$(pixels_hash now "$2")" ]; }

shoot start || { fail "cannot take a screenshot"; finish; }
check "form background is the button-face colour" \
  "$(convert "$work/start.png" -format '%[hex:p{4,4}]' info:)" "D4D0C8"
check "name box starts empty" "$(dark_share start txtName)" "0"

# Type into the name box; Return goes through the form's key preview, which sends {TAB}.
click_in txtName
xdo type --delay 30 "$name_text"
xdo key Return
# The {TAB} is posted to the event loop: keys typed ahead of it, in the same burst of X
# events, still go to the name box. A person pauses; so does the test.
sleep 0.3
xdo type --delay 30 "$company_text"
await "typed name is drawn in the name box" has_text txtName
await "typed company is drawn in the company box" has_text txtCompany

click_in 'optRole[1]' 10
# The down arrow: the square at the bottom of the vertical scrollbar.
read -r bar_x bar_y bar_w bar_h <<<"${rect[vsLevel]}"
shoot before_scroll
click_at $((bar_x + bar_w / 2)) $((bar_y + bar_h - bar_w / 2)) "$arrow_clicks"
await "Level label is redrawn after the arrow clicks" changed_since before_scroll lblLevel
check "nothing typed reaches the comments box" "$(dark_share now txtComments)" "0"
cp "$work/now.png" "$artifacts/sample-xvfb.png"

click_in cmdOK
status=""
for _ in $(seq 100); do
  if ! kill -0 "$app_pid" 2>/dev/null; then wait "$app_pid"; status=$?; break; fi
  sleep 0.1
done
[ -n "$status" ] && app_pid=""
check "OK ends the sample with status 0" "${status:-still running}" "0"
[ -f "$work/saved.json" ] || { fail "OK did not save the form"; finish; }
cp "$work/saved.json" "$artifacts/saved.json"

# Saved properties: "name[index].Property=value", one a line; a property left at its
# default is not written, so it reads as missing.
saved="$(python3 - "$work/saved.json" <<'EOF'
import json, sys
def walk(controls):
    for c in controls:
        key = c["name"] + (f"[{c['index']}]" if "index" in c else "")
        for prop, value in c.items():
            if prop not in ("class", "name", "index", "controls", "Font", "bag"):
                print(f"{key}.{prop}={json.dumps(value) if not isinstance(value, str) else value}")
        walk(c.get("controls", []))
walk(json.load(open(sys.argv[1]))["controls"])
EOF
)"
prop() {
  local line
  while IFS= read -r line; do
    [[ "$line" == "$1="* ]] && { echo "${line#"$1="}"; return; }
  done <<<"$saved"
}
small_change="$(prop vsLevel.SmallChange)"
level=$((arrow_clicks * ${small_change:-1}))
check "name box holds what was typed before Return" "$(prop txtName.Text)" "$name_text"
check "company box holds what was typed after Return" "$(prop txtCompany.Text)" "$company_text"
check "comments box stays empty" "$(prop txtComments.Text)" ""
check "scrollbar value is clicks times SmallChange" "$(prop vsLevel.Value)" "$level"
check "Level label follows the scrollbar" "$(prop lblLevel.Caption)" "Level: $level"
check "clicked option button is chosen" "$(prop 'optRole[1].Value')" "true"
check "first option button is no longer chosen" "$(prop 'optRole[0].Value')" ""

finish
