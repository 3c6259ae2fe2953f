#!/usr/bin/env bash
# ScrollbayDemo offscreen: the screenshot is the form's 645 x 527 pixel client area with
# the survey's three viewports built, and wrong arguments are usage errors.
# Usage: demo_usage.sh SCROLLBAYDEMO
set -u
demo=$1
# shellcheck source=offscreen_lib.sh
source "$(dirname "$0")/offscreen_lib.sh"

out="$("$demo" --screenshot "$work/shot.png" --after 600 2>"$work/err")"
status=$?
[ $status -eq 0 ] || fail "--screenshot: exit status $status: $(cat "$work/err")"
# The sample's form loads without a warning, and nothing else says a word either.
[ -s "$work/err" ] && fail "--screenshot: stderr not empty: $(head -c 400 "$work/err")"
[ "$out" == "$work/shot.png" ] || fail "--screenshot printed '$out', not the file's path"
# The size from the PNG header: width and height are the big-endian words at 16 and 20.
size="$(od -An -tu1 -j16 -N8 "$work/shot.png" 2>/dev/null | awk '{print $3*256+$4 "x" $7*256+$8}')"
[ "$size" == "645x527" ] || fail "the screenshot is $size, not 645x527"

for args in "--after 100" "--screenshot" "--bogus" "--after soon --screenshot x.png"; do
  # shellcheck disable=SC2086  # one argument a word
  "$demo" $args >"$work/out" 2>"$work/err"
  status=$?
  [ $status -eq 2 ] || fail "'$args': exit status $status, expected 2"
  grep -q "^ScrollbayDemo: .*(see --help)$" "$work/err" || fail "'$args': no usage error: $(cat "$work/err")"
done
"$demo" --help >"$work/out" 2>&1 && grep -q "^Usage: ScrollbayDemo" "$work/out" || fail "--help gives no usage"

[ $failed -eq 0 ] && echo "ok: ScrollbayDemo's screenshot and command line"
exit $failed
