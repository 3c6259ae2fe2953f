#!/usr/bin/env bash
# forms-designer's property sheet and Tab order under Xvfb, driven with xdotool: on a
# Scrollbay, Scrollbars chosen from the list, a colour typed and a margin typed through
# the sheet, saved, and found in the file's bag; the Tab order of three fields set by
# clicking them, saved, and followed by Tab in the running form.
#
#   designer_order_e2e.sh FORMS_DESIGNER FORMS_RUN DATA_DIR [ARTIFACT_DIR]
#
# The last line is "N passed, M failed"; the status is non-zero on any failure.
set -uo pipefail

designer="${1:?usage: designer_order_e2e.sh FORMS_DESIGNER FORMS_RUN DATA_DIR [ARTIFACT_DIR]}"
runner="${2:?usage: designer_order_e2e.sh FORMS_DESIGNER FORMS_RUN DATA_DIR [ARTIFACT_DIR]}"
data="${3:?usage: designer_order_e2e.sh FORMS_DESIGNER FORMS_RUN DATA_DIR [ARTIFACT_DIR]}"
artifacts="${4:-$PWD/e2e-designer-order}"
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin 120 python3
mkdir -p "$artifacts"
rm -f "$artifacts"/*.png
cp "$data/taborder.json" "$work/taborder.json"
cp "$data/viewport.json" "$work/viewport.json"
state="$work/state.log"
export FORMS_DESIGNER_JOURNAL_DIR="$work/journal" XDG_CONFIG_HOME="$work/config"

field() { tail -n 1 "$state" | tr ' ' '\n' | sed -n "s/^$1=//p"; }
rect_of() { field "$1" | tr ',' ' '; }
centre_of() {
  local x y w h
  read -r x y w h <<<"$(rect_of "$1")"
  echo "$((x + w / 2)) $((y + h / 2))"
}
settle() { sleep 0.4; }
open_designer() {  # open_designer FILE: a designer of its own on FILE
  e2e_start_app "$(basename "$1") - Forms Designer" "$designer" --recover=no --log-state "$state" "$1"
  xdo windowsize --sync "$window" 1000 740
  xdo windowfocus --sync "$window"
  sleep 0.5
}
close_designer() { kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; app_pid=""; }

# edit_value ROW KEYS...: clicks the row's value in the sheet, which opens its editor,
# then presses the keys there.
edit_value() {
  local row="$1" x y w h
  shift
  read -r x y w h <<<"$(rect_of "prop:$row")"
  if [ -z "$x" ]; then fail "the sheet shows a $row row"; return; fi
  click_at $((x + 30)) $((y + h / 2))
  settle
  xdo "$@"
  settle
}

# ---- Property sheet: a Scrollbay's Scrollbars, back colour and right margin ----
open_designer "$work/viewport.json"
read -r x y w h <<<"$(rect_of "c:Scrollbay1")"
click_at $((x + w - 12)) $((y + h - 12))  # inside it, clear of its fields
settle
check "a click on the Scrollbay chooses it" "$(field selection)" "Scrollbay1"
# Scrollbars lies below what the sheet shows at this size: the filter finds it.
read -r x y <<<"$(centre_of propfilter)"
click_at "$x" "$y"
xdo type --delay 30 "scroll"
settle
check "the filter leaves the rows that match" "$(tail -n 1 "$state" | tr ' ' '\n' | sed -n 's/^prop:\([A-Za-z]*\)=.*/\1/p' | tr '\n' ' ')" \
  "ScrollbarBackColor Scrollbars AutoScroll "
check "the sheet shows the Scrollbay's Scrollbars" "$(field propvalue:Scrollbars)" "0_-_vpAuto"
edit_value Scrollbars key Down
check "Down in the list of Scrollbars chooses the next value" "$(field propvalue:Scrollbars)" "1_-_vpBoth"
click_at "$x" "$y"
xdo key ctrl+a BackSpace
settle
edit_value BackColor key ctrl+a type --delay 30 "#FF0000"
xdo key Return
settle
check "a colour typed in the sheet" "$(field propvalue:BackColor)" "#FF0000"
edit_value RightMargin key ctrl+a type --delay 30 "600"
xdo key Return
settle
check "a margin typed in the sheet" "$(field propvalue:RightMargin)" "600"
shoot sheet && cp "$work/sheet.png" "$artifacts/designer-properties.png"
xdo key ctrl+s
settle
close_designer
bag="$(python3 - "$work/viewport.json" <<'PY'
import json, sys
bay = next(c for c in json.load(open(sys.argv[1]))["controls"] if c["name"] == "Scrollbay1")
bag = bay.get("bag", {})
print(bag.get("Scrollbars"), bag.get("BackColor"), bag.get("RightMargin"))
PY
)"
check "the values set in the sheet are in the Scrollbay's bag" "$bag" "1 255 600"

# ---- Tab order: C, A, B by clicking them in the tab-order mode ----
open_designer "$work/taborder.json"
xdo key ctrl+t
settle
for name in txtC txtA txtB; do
  read -r x y <<<"$(centre_of "c:$name")"
  click_at "$x" "$y"
  settle
done
shoot badges && cp "$work/badges.png" "$artifacts/designer-tab-order.png"
xdo key Escape
xdo key ctrl+s
settle
close_designer
order="$(python3 - "$work/taborder.json" <<'PY'
import json, sys
controls = json.load(open(sys.argv[1]))["controls"]
print(" ".join(c["name"] for c in sorted(controls, key=lambda c: c.get("TabIndex", 0)) if c["name"].startswith("txt")))
PY
)"
check "clicked in turn, the fields are saved in that Tab order" "$order" "txtC txtA txtB"

# The running form: into the first field, then Tab: each next field in that order.
e2e_start_app "Tab Order Check" "$runner" --save "$work/typed.json" "$work/taborder.json"
xdo windowfocus --sync "$window"
click_at 40 $((1440 / 15 + 10))
xdo type --delay 40 "1"
xdo key Tab
xdo type --delay 40 "2"
xdo key Tab
xdo type --delay 40 "3"
click_at $((3600 / 15)) $((2490 / 15))
for _ in $(seq 50); do [ -f "$work/typed.json" ] && break; sleep 0.1; done
typed="$(python3 - "$work/typed.json" <<'PY'
import json, sys
controls = {c["name"]: c.get("Text", "") for c in json.load(open(sys.argv[1]))["controls"]}
print(controls["txtC"] + controls["txtA"] + controls["txtB"])
PY
)"
check "Tab in the running form follows the order set by clicking" "$typed" "123"
kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; app_pid=""

finish
