#!/usr/bin/env bash
# A scrolled Scrollbay beside an OK button, in a real window under Xvfb, driven with
# xdotool: focus moving out of the viewport leaves the view where it is, and a slow
# drag of the thumb scrolls once the thumb is let go; the wheel over a field scrolls
# the viewport.
#
#   viewport_e2e.sh FORM_RUNNER [ARTIFACT_DIR]
#
# The last line is "N passed, M failed"; the status is non-zero on any failure.
set -uo pipefail

runner="${1:?usage: viewport_e2e.sh FORM_RUNNER [ARTIFACT_DIR]}"
artifacts="${2:-$PWD/e2e-viewport}"
form_file="$(cd "$(dirname "$0")" && pwd)/data/viewport.json"
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

# Window pixels, from the form file at 15 twips a pixel: the 400 x 300 viewport at the
# top left, its vertical scrollbar along its right edge, the OK button beside it.
viewport="0 0 384 300"
ok_x=460
ok_y=32
empty_x=330  # right of the fields and their captions
empty_y=150
bar_x=392
thumb_bottom_y=276  # the thumb covers this point while the view is at the bottom

e2e_begin 60
mkdir -p "$artifacts"
e2e_start_app "Viewport Check" "$runner" "$form_file"
sleep 0.5  # the first tick builds the layer

# Scroll to the bottom with the keyboard: the viewport's empty space takes the focus.
click_at "$empty_x" "$empty_y"
# shellcheck disable=SC2046  # one key name a word
xdo key --delay 30 $(printf 'Next %.0s' $(seq 30))
sleep 0.5
shoot bottom || { fail "cannot take a screenshot"; finish; }
bottom="$(region_hash bottom "$viewport")"

click_at "$ok_x" "$ok_y"
sleep 0.6  # three ticks
shoot after_ok
check "focus on the OK button leaves the view where it was" "$(region_hash after_ok "$viewport")" "$bottom"

click_at "$empty_x" "$empty_y"
sleep 0.6
shoot after_empty
check "a click on the viewport's empty space leaves the view where it was" "$(region_hash after_empty "$viewport")" "$bottom"

# Drag the thumb up slowly, over about a second of ticks, and let it go.
xdo mousemove $((win_x + bar_x)) $((win_y + thumb_bottom_y)) mousedown 1
for step in $(seq 20); do
  xdo mousemove $((win_x + bar_x)) $((win_y + thumb_bottom_y - 6 * step))
  sleep 0.05
done
shoot dragging
check "nothing scrolls while the thumb is held" "$(region_hash dragging "$viewport")" "$bottom"
xdo mouseup 1
not_at_bottom() { [ "$(region_hash now "$viewport")" != "$bottom" ]; }
await "the view scrolls when the thumb is let go" not_at_bottom
cp "$work/now.png" "$artifacts/viewport-xvfb.png"

# The wheel over a field: three notches down and three back up.
shoot before_wheel
before_wheel="$(region_hash before_wheel "$viewport")"
xdo mousemove $((win_x + 100)) $((win_y + 150)) click --repeat 3 --delay 100 5
moved_by_wheel() { [ "$(region_hash now "$viewport")" != "$before_wheel" ]; }
await "the wheel over a field scrolls the viewport" moved_by_wheel
xdo click --repeat 3 --delay 100 4
back_after_wheel() { [ "$(region_hash now "$viewport")" == "$before_wheel" ]; }
await "as many notches back bring the view back" back_after_wheel

finish
