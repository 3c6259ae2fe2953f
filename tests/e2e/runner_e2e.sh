#!/usr/bin/env bash
# Runs forms-run on a form of standard controls in its own Xvfb server, drives it with
# real X input (xdotool), looks at screenshots and checks the form that the OK button saves.
#
#   runner_e2e.sh FORM_RUNNER [ARTIFACT_DIR]
#
# ARTIFACT_DIR (default ./e2e-runner) receives the window's screenshot and the saved form. The last line is "N passed, M failed"; the status is non-zero on
# any failure.
# shellcheck disable=SC2317  # cleanup and the checks given to await are called indirectly
set -uo pipefail

runner="${1:?usage: runner_e2e.sh FORM_RUNNER [ARTIFACT_DIR]}"
artifacts="${2:-$PWD/e2e-runner}"
form_file="$(cd "$(dirname "$0")" && pwd)/data/controls.json"

# What the test types and clicks.
name_text="Pat Example"
company_text="Example Works"
arrow_clicks=4

# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin 90 python3
mkdir -p "$artifacts"
rm -f "$artifacts"/controls-xvfb.png "$artifacts"/saved.json
e2e_start_app "Controls Check" "$runner" --save "$work/saved.json" "$form_file"

# Control rectangles in window pixels, from the form file: "name[index] x y w h", and
# the form's client size as "form".
# Positions are twips relative to the container; the runtime's default is 15 twips a pixel.
# A save leaves out a Left or Top of 0, as it leaves out every default.
declare -A rect
while read -r key x y w h; do rect[$key]="$x $y $w $h"; done < <(python3 - "$form_file" <<'EOF'
import json, sys
TWIPS_PER_PIXEL = 15
def walk(controls, left, top):
    for c in controls:
        x, y = left + c.get("Left", 0) / TWIPS_PER_PIXEL, top + c.get("Top", 0) / TWIPS_PER_PIXEL
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

# click_in NAME [DX]: a click in the middle of a control's height, DX pixels in (default: centre).
click_in() {
  read -r x y w h <<<"${rect[$1]}"
  click_at $((x + ${2:-w / 2})) $((y + h / 2))
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
has_text() { [ "$(dark_share now "$1")" -ge 3 ]; }
changed_since() { [ "$(pixels_hash "$1" "$2")" != "$(pixels_hash now "$2")" ]; }

shoot start || { fail "cannot take a screenshot"; finish; }
check "form background is the button-face colour" \
  "$(convert "$work/start.png" -format '%[hex:p{4,4}]' info:)" "D4D0C8"
check "name box starts empty" "$(dark_share start txtName)" "0"

# Type into the name box; Tab moves on to the company box, next in the tab order.
click_in txtName
xdo type --delay 30 "$name_text"
xdo key Tab
xdo type --delay 30 "$company_text"
await "typed name is drawn in the name box" has_text txtName
await "typed company is drawn in the company box" has_text txtCompany

click_in 'optRole[1]' 10
# The down arrow: the square at the bottom of the vertical scrollbar.
read -r bar_x bar_y bar_w bar_h <<<"${rect[vsLevel]}"
shoot before_scroll
click_at $((bar_x + bar_w / 2)) $((bar_y + bar_h - bar_w / 2)) "$arrow_clicks"
await "scrollbar thumb is redrawn after the arrow clicks" changed_since before_scroll vsLevel
check "nothing typed reaches the comments box" "$(dark_share now txtComments)" "0"
cp "$work/now.png" "$artifacts/controls-xvfb.png"

click_in cmdOK
status=""
for _ in $(seq 100); do
  if ! kill -0 "$app_pid" 2>/dev/null; then wait "$app_pid"; status=$?; break; fi
  sleep 0.1
done
[ -n "$status" ] && app_pid=""
check "OK ends the program with status 0" "${status:-still running}" "0"
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
check "name box holds what was typed before Tab" "$(prop txtName.Text)" "$name_text"
check "company box holds what was typed after Tab" "$(prop txtCompany.Text)" "$company_text"
check "comments box stays empty" "$(prop txtComments.Text)" ""
check "scrollbar value is clicks times SmallChange" "$(prop vsLevel.Value)" "$level"
check "clicked option button is chosen" "$(prop 'optRole[1].Value')" "true"
check "first option button is no longer chosen" "$(prop 'optRole[0].Value')" ""

finish
