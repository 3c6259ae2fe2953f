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
