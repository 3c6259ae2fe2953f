#!/usr/bin/env bash
# forms-designer in a real window under Xvfb, driven with xdotool: the survey's form
# opened, every control chosen and nudged right and back with saves between (the file's
# bytes come back), undone; a text box dragged into a frame; a Scrollbay placed from
# the toolbox; the form run in forms-run; a new form made with a Scrollbay holding
# fields, saved and run. The designer's state log says where things are; screenshots
# show them.
#
#   designer_e2e.sh FORMS_DESIGNER SURVEY_FORM [ARTIFACT_DIR]
#
# The last line is "N passed, M failed"; the status is non-zero on any failure.
set -uo pipefail

designer="${1:?usage: designer_e2e.sh FORMS_DESIGNER SURVEY_FORM [ARTIFACT_DIR]}"
survey="${2:?usage: designer_e2e.sh FORMS_DESIGNER SURVEY_FORM [ARTIFACT_DIR]}"
artifacts="${3:-$PWD/e2e-designer}"
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin 150 python3
mkdir -p "$artifacts"
rm -f "$artifacts"/*.png "$artifacts"/made.json
cp "$survey" "$work/survey.json"
state="$work/state.log"
export FORMS_DESIGNER_JOURNAL_DIR="$work/journal" XDG_CONFIG_HOME="$work/config"
e2e_start_app "survey.json - Forms Designer" "$designer" --recover=no --log-state "$state" "$work/survey.json"
xdo windowsize --sync "$window" 1000 700
# With no window manager the keys go where the focus is put.
xdo windowfocus --sync "$window"
sleep 0.5

# field NAME: a value of the last state line; rect_of NAME: "X Y W H" of one.
field() { tail -n 1 "$state" | tr ' ' '\n' | sed -n "s/^$1=//p"; }
rect_of() { field "$1" | tr ',' ' '; }
centre_of() {  # centre_of NAME [DX DY]: window pixels of a rectangle's centre, moved
  local x y w h
  read -r x y w h <<<"$(rect_of "$1")"
  echo "$((x + w / 2 + ${2:-0})) $((y + h / 2 + ${3:-0}))"
}
settle() { sleep 0.4; }
saved() { cat "$work/survey.json"; }

check "the survey opens unchanged" "$(field modified)" "0"
[ -n "$(field 'c:Text1(1)')" ] || { fail "the state log names no controls: $(tail -c 300 "$state")"; finish; }

# Every control chosen and nudged a grid step right: saved, only Left lines change.
xdo key ctrl+a
settle
xdo key Right
settle
shoot arranging && cp "$work/arranging.png" "$artifacts/designer-arranging.png"
check "a nudge marks the form changed" "$(field modified)" "1"
xdo key ctrl+s
settle
cp "$work/survey.json" "$work/right.json"
changed="$(diff <(python3 -m json.tool --sort-keys "$survey") <(python3 -m json.tool --sort-keys "$work/right.json") | grep '^[<>]' | grep -vc '"Left"')"
check "saved after the nudge, only Left values changed" "$changed" "0"
if cmp -s "$survey" "$work/right.json"; then fail "the nudge changed nothing in the file"; else pass "the nudge is in the file"; fi
xdo key Left
settle
xdo key ctrl+s
settle
if cmp -s "$survey" "$work/survey.json"; then pass "nudged back and saved, the file's bytes are the original ones"; else fail "nudged back, the file differs from the original"; fi
xdo key ctrl+z
settle
xdo key ctrl+s
settle
if cmp -s "$work/right.json" "$work/survey.json"; then pass "undone and saved, the file is the nudged one"; else fail "undone and saved, the file is not the nudged one"; fi

# A click on the name field inside the survey's Scrollbay chooses it alone.
read -r x y <<<"$(centre_of 'c:Text1(1)')"
click_at "$x" "$y"
settle
check "a click chooses the field in the Scrollbay" "$(field selection)" "Text1(1)"
shoot chosen && cp "$work/chosen.png" "$artifacts/designer-scrollbay.png"

# Dragged slowly into the activities frame, clear of the list inside it: one step, and
# the field is the frame's now.
read -r fx fy fw fh <<<"$(rect_of c:frmActivities)"
read -r lx ly lw lh <<<"$(rect_of 'c:Scrollbay2(0)')"
tx=$((fx + 20)); ty=$((fy + fh - 6))
[ "$((ly + lh))" -lt "$ty" ] || ty=$((fy + 8))
slow_drag "$x" "$y" "$tx" "$ty" 12
settle
xdo key ctrl+s
settle
container="$(python3 - "$work/survey.json" <<'PY'
import json, sys
def find(controls, parent):
    for c in controls:
        if c["name"] == "Text1" and c.get("index") == 1:
            return parent
        found = find(c.get("controls", []), c["name"])
        if found:
            return found
print(find(json.load(open(sys.argv[1]))["controls"], "form"))
PY
)"
check "the dragged field is saved inside the frame" "$container" "frmActivities"

# A Scrollbay from the toolbox, dragged out as a rectangle over the survey.
read -r x y <<<"$(centre_of tool:ScrollbayCtl.Scrollbay)"
[ -n "$x" ] || { fail "the toolbox has no Scrollbay: $(tail -c 400 "$state")"; finish; }
click_at "$x" "$y"
settle
read -r sx sy sw sh <<<"$(rect_of form)"
slow_drag $((sx + 330)) $((sy + 360)) $((sx + 530)) $((sy + 456))
settle
xdo key ctrl+s
settle
check "the placed Scrollbay is saved" "$(grep -c '"name": "Scrollbay3"' "$work/survey.json")" "1"

# Run: the form in a window of its own, from forms-run.
xdo key F5
run_window="$(timeout 20 xdotool search --sync --onlyvisible --name '^Sample Survey Form$' 2>/dev/null | head -n 1)"
if [ -n "$run_window" ]; then
  pass "Run shows the form in a window of its own"
  sleep 1
  timeout 10 import -window root "$artifacts/designer-run.png"
  pkill -f "forms-run .*forms-designer-run" || pkill -x forms-run
else
  fail "Run showed no window"
fi

# A new form: a Scrollbay with two fields in it, saved through the dialog and run.
xdo key ctrl+n
settle
check "a new form opens in a tab of its own" "$(field tabs)" "2"
read -r sx sy sw sh <<<"$(rect_of form)"
read -r x y <<<"$(centre_of tool:ScrollbayCtl.Scrollbay)"
click_at "$x" "$y"
settle
slow_drag $((sx + 24)) $((sy + 24)) $((sx + 250)) $((sy + 180)) 3
settle
for row in 0 1; do
  read -r x y <<<"$(centre_of tool:Forms.TextBox)"
  click_at "$x" "$y"
  settle
  click_at $((sx + 40)) $((sy + 40 + 40 * row))
  settle
done
xdo key ctrl+shift+s
dialog="$(timeout 10 xdotool search --sync --onlyvisible --name '^Save form as$' 2>/dev/null | head -n 1)"
[ -n "$dialog" ] && xdo windowfocus --sync "$dialog"
sleep 0.5
xdo type --delay 20 "$work/made.json"
xdo key Return
sleep 1
if [ -f "$work/made.json" ]; then
  pass "the new form is saved"
  cp "$work/made.json" "$artifacts/made.json"
  inside="$(python3 - "$work/made.json" <<'PY'
import json, sys
form = json.load(open(sys.argv[1]))
bays = [c for c in form.get("controls", []) if c["class"] == "ScrollbayCtl.Scrollbay"]
print(sum(1 for b in bays for c in b.get("controls", []) if c["class"] == "Forms.TextBox"))
PY
)"
  check "its Scrollbay holds the two fields" "$inside" "2"
  runner="$(dirname "$designer")/forms-run"
  if QT_QPA_PLATFORM=offscreen "$runner" --screenshot "$artifacts/made-run.png" "$work/made.json" >/dev/null 2>"$work/run.err"; then
    pass "forms-run runs the form made in the designer"
  else
    fail "forms-run failed on the made form: $(cat "$work/run.err")"
  fi
else
  fail "the new form was not saved: $(tail -c 300 "$state")"
fi

finish
