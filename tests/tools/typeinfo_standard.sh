#!/usr/bin/env bash
# forms-typeinfo on the runtime's own classes: one by its id, all of them by the library
# name in any case, and nothing on stderr even where Qt would remark on a missing
# runtime folder.
# Usage: typeinfo_standard.sh FORMS_TYPEINFO
set -u
tool=$1
unset XDG_RUNTIME_DIR
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

for id in Forms.TextBox forms; do
  "$tool" --text "$id" >"$work/$id" 2>"$work/err" || fail "$id: exit status $?: $(cat "$work/err")"
  [ -s "$work/err" ] && fail "$id: stderr not empty: $(head -c 400 "$work/err")"
  head -n 1 "$work/$id" | grep -q "^library Forms .*\"The form runtime's own controls\"$" || fail "$id: $(head -n 1 "$work/$id")"
done
[ "$(grep '^  class ' "$work/Forms.TextBox")" == "  class TextBox  [control]" ] || fail "Forms.TextBox: not the one class"
grep -q "^    property get/let Text As String  " "$work/Forms.TextBox" || fail "Forms.TextBox: no Text"
# Each class once: the two scrollbars are one, and so are the three buttons.
[ "$(grep '^  class ' "$work/forms" | tr -s ' ' | tr '\n' ,)" == \
  " class PictureBox [control], class ScrollBar [control], class TextBox [control], class Label [control], class Frame [control], class Button [control]," ] ||
  fail "forms: classes $(grep '^  class ' "$work/forms" | tr '\n' ,)"

[ $failed -eq 0 ] && echo "ok: the runtime's own classes"
exit $failed
