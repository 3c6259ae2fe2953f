#!/usr/bin/env bash
# ScrollbayDemo in a real window under Xvfb, driven with xdotool: Enter walks the
# fields like Tab and every field it reaches shows whole; the wheel scrolls the list
# or the survey under the pointer and nothing else; a slow drag of the survey's thumb
# scrolls it; a resized window refills the survey and the lists stay in their frames.
# The demo's state log says where the focus and the viewports are; screenshots say
# what moved.
#
#   demo_e2e.sh SCROLLBAYDEMO [ARTIFACT_DIR]
#
# The last line is "N passed, M failed"; the status is non-zero on any failure.
set -uo pipefail

demo="${1:?usage: demo_e2e.sh SCROLLBAYDEMO [ARTIFACT_DIR]}"
artifacts="${2:-$PWD/e2e-demo}"
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"

e2e_begin 120
mkdir -p "$artifacts"
state="$work/state.log"
e2e_start_app "Sample Survey Form" "$demo" --log-state "$state"
sleep 0.8  # the first ticks build the layers and fill the frames

# field NAME: a value of the last state line ("focus", "rect", "bay1", ...).
field() { tail -n 1 "$state" | tr ' ' '\n' | sed -n "s/^$1=//p"; }
# settle: two ticks, then the state as it stands.
settle() { sleep 0.45; }
# rect_of NAME: "X Y W H" of a rectangle in the state.
rect_of() { field "$1" | tr ',' ' '; }
# inside "X Y W H" "X Y W H": the first lies within the second.
inside() {
  local ax ay aw ah bx by bw bh
  read -r ax ay aw ah <<<"$1"
  read -r bx by bw bh <<<"$2"
  [ "$ax" -ge "$bx" ] && [ "$ay" -ge "$by" ] && [ $((ax + aw)) -le $((bx + bw)) ] && [ $((ay + ah)) -le $((by + bh)) ]
}
# colours SHOT "X Y W H": how many colours a part of a screenshot has.
colours() {
  local x y w h
  read -r x y w h <<<"$2"
  convert "$work/$1.png" -crop "${w}x${h}+${x}+${y}" +repage -format '%k' info:
}
# interior "X Y W H": a viewport less its scrollbars' strips.
interior() {
  local x y w h
  read -r x y w h <<<"$1"
  echo "$x $y $((w - 17)) $((h - 17))"
}

check "the client area is 645 x 527 pixels" "$(field client)" "645,527"
check "the survey fills the window" "$(field bay1)" "0,0,645,527"
shoot start || { fail "cannot take a screenshot"; finish; }
cp "$work/start.png" "$artifacts/demo-start.png"
# Each viewport's up arrow sits at its top right corner: a drawn arrow has colours,
# the plain background has one.
for part in bay1 list0 list1; do
  read -r x y w h <<<"$(rect_of "$part")"
  arrow="$((x + w - 16)) $y 16 16"
  if [ "$(colours start "$arrow")" -gt 2 ]; then pass "$part shows a vertical scrollbar"; else fail "$part shows no vertical scrollbar"; fi
done
for list in 0 1; do
  if inside "$(rect_of "list$list")" "$(rect_of "frame$list")"; then pass "list $list lies in its frame"; else fail "list $list is outside its frame: $(field "list$list") in $(field "frame$list")"; fi
done

# The name field, then Enter: the title field, and the Enter itself is gone.
read -r x y w h <<<"$(rect_of bay1)"
click_at 60 42
settle
check "a click puts the focus in the name field" "$(field focus)" "Text1(1)"
xdo type --delay 40 "Ann"
settle
check "typed keys reach the field" "$(field chars)" "3"
xdo key Return
settle
check "Enter in the name field moves to the title field" "$(field focus)" "Text1(3)"

# Enter through every stop in tab order, from the title field round to the name field:
# each field it reaches is scrolled fully into view, in the survey and in the lists.
seen="Text1(3)"
hidden=""
for _ in $(seq 60); do
  xdo key Return
  settle
  focus="$(field focus)"
  [ "$(field whole)" == 1 ] || hidden="$hidden $focus@$(field rect)"
  [ "$focus" == "Text1(1)" ] && break
  seen="$seen $focus"
done
check "Enter walks round to the name field" "$(field focus)" "Text1(1)"
check "the comments field comes last, then the name field" "${seen##* }" "Text1(0)"
for stop in "Text1(2)" "Text1(4)" "chk1(0)" "chkRnD" "chk1(11)" "Text1(5)" "Text1(9)"; do
  case " $seen " in *" $stop "*) pass "Enter reaches $stop" ;; *) fail "Enter never reached $stop: $seen" ;; esac
done
check "every field reached shows whole" "$hidden" ""
shoot walked && cp "$work/walked.png" "$artifacts/demo-walked.png"

wheel_over() {  # wheel_over "X Y W H" NOTCHES [BUTTON]: the wheel over the middle of a rectangle
  local x y w h
  read -r x y w h <<<"$1"
  xdo mousemove $((win_x + x + w / 2)) $((win_y + y + h / 2)) click --repeat "$2" --delay 100 "${3:-5}"
  sleep 0.3
}

# The walk left the survey scrolled so that the name field shows at its top edge. The
# wheel over the survey's empty middle strip (three pixels a notch) brings it back to the top.
gap="300 40 20 40"
before_top="$(field rect)"
wheel_over "$gap" 15 4
settle
check "the wheel over the survey scrolls it (the name field moves from $before_top)" "$(field rect)" "8,32,277,21"
# A click on the empty strip takes the focus off the fields: no caret blinks in the shots.
click_at 310 60
settle
shoot before_wheel
survey_top="0 0 300 120"
list0="$(interior "$(rect_of list0)")"
list1="$(interior "$(rect_of list1)")"
h_survey="$(region_hash before_wheel "$survey_top")"
h_list0="$(region_hash before_wheel "$list0")"
h_list1="$(region_hash before_wheel "$list1")"
# A tilt of the wheel or a sideways swipe (buttons 6 and 7) moves neither of the survey's bars.
v_before="$(field v1)"
h_before="$(field h1)"
wheel_over "$gap" 3 7
wheel_over "$gap" 3 6
settle
check "a sideways wheel leaves the survey's vertical position" "$(field v1)" "$v_before"
check "... and its horizontal one" "$(field h1)" "$h_before"
wheel_over "$list0" 3
shoot wheel0
check "the wheel over the activities list scrolls it" "$([ "$(region_hash wheel0 "$list0")" != "$h_list0" ] && echo moved)" "moved"
check "... and not the job list" "$(region_hash wheel0 "$list1")" "$h_list1"
check "... and not the survey" "$(region_hash wheel0 "$survey_top")" "$h_survey"
cp "$work/wheel0.png" "$artifacts/demo-list-scrolled.png"
wheel_over "$list1" 3
shoot wheel1
check "the wheel over the job list scrolls it" "$([ "$(region_hash wheel1 "$list1")" != "$h_list1" ] && echo moved)" "moved"
check "... and not the survey" "$(region_hash wheel1 "$survey_top")" "$h_survey"

# A slow drag of the survey's thumb, over several ticks: the survey scrolls.
read -r x y w h <<<"$(rect_of bay1)"
bar_x=$((x + w - 8))
xdo mousemove $((win_x + bar_x)) $((win_y + 40)) mousedown 1
for step in $(seq 20); do
  xdo mousemove $((win_x + bar_x)) $((win_y + 40 + 10 * step))
  sleep 0.05
done
xdo mouseup 1
settle
shoot dragged
check "a slow drag of the survey's thumb scrolls the survey" \
  "$([ "$(region_hash dragged "$survey_top")" != "$h_survey" ] && echo moved)" "moved"
cp "$work/dragged.png" "$artifacts/demo-scrolled.png"

# Held on the track, the button pages again and again until the thumb reaches the
# pointer. The survey scrolls some 190 pixels, a page is a tenth of its view (51 pixels,
# 765 twips): held above the thumb it goes back to the top, then held near the bottom
# of the track it pages down at least three times (Qt's own repeat gave up after one).
hold_track() {  # hold_track Y SECONDS: the left button held on the survey's track
  xdo mousemove $((win_x + bar_x)) $((win_y + $1)) mousedown 1
  sleep "$2"
  xdo mouseup 1
  settle
}
hold_track 24 1.5
check "held above the thumb, the track pages up to the top" "$(field v1)" "0"
hold_track $((y + h - 40)) 2
v_held="$(field v1)"
if [ "$v_held" -ge $((3 * 765)) ]; then pass "a held track press pages down until the thumb reaches it (0 -> $v_held twips)"
else fail "a held track press paged down to $v_held twips only"; fi

# The wheel over the empty comments box scrolls the survey on to its end.
hold_track 24 1.5
click_at 60 42
settle
xdo key shift+Tab
settle
check "Shift+Tab from the name field reaches the comments box" "$(field focus)" "Text1(0)"
comments="$(rect_of rect)"
v_comments="$(field v1)"
wheel_over "$comments" 10
settle
v_end="$(field v1)"
wheel_over "$comments" 5
settle
if [ "$v_end" -gt "$v_comments" ]; then pass "the wheel over the comments box scrolls the survey ($v_comments -> $v_end)"
else fail "the wheel over the comments box left the survey at $v_end"; fi
check "... to its end" "$(field v1)" "$v_end"
shoot survey_end && cp "$work/survey_end.png" "$artifacts/demo-end.png"

# Resized, the window is filled again and the lists stay in their frames.
for size in "800 600" "520 400"; do
  read -r sw sh <<<"$size"
  xdo windowsize --sync "$window" "$sw" "$sh"
  settle
  check "at $sw x $sh the survey fills the window" "$(field bay1)" "0,0,$(field client)"
  for list in 0 1; do
    if inside "$(rect_of "list$list")" "$(rect_of "frame$list")"; then pass "at $sw x $sh list $list stays in its frame"
    else fail "at $sw x $sh list $list left its frame: $(field "list$list") in $(field "frame$list")"; fi
  done
done

finish
