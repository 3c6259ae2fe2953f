#!/usr/bin/env bash
# forms-format's command line: help and usage errors; the survey written by hand (keys in
# another order, on one line) rewritten to the repository's bytes, which --check then
# passes; a check that changes nothing; a file that does not load left as it was while
# the others are rewritten. Run with no platform, display or runtime folder set, so that
# the program must choose its own and keep Qt quiet.
# Usage: format_usage.sh FORMS_FORMAT
set -u
tool=$1
root="$(cd "$(dirname "$0")/../.." && pwd)"
survey="$root/sample/forms/frmMain.json"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# run ARG...: the tool with no platform of any kind; status in $status, output in out and err.
run() {
  env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR "$tool" "$@" >"$work/out" 2>"$work/err"
  status=$?
}

run --help --bogus
[ $status -eq 0 ] && [ ! -s "$work/err" ] && grep -q "^  --check  " "$work/out" ||
  fail "--help: exit status $status: $(cat "$work/out" "$work/err")"

for args in "" "--check" "--bogus $survey"; do
  # shellcheck disable=SC2086  # the words are the arguments
  run $args
  [ $status -eq 2 ] || fail "'$args': exit status $status, expected 2"
  [ -s "$work/out" ] && fail "'$args': stdout not empty"
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "^forms-format: " "$work/err" || fail "'$args': stderr: $(cat "$work/err")"
done

# The survey by hand: every object's keys the other way round, no blanks, no final newline.
python3 - "$survey" "$work/survey.json" <<'EOF'
import json, sys
form = json.load(open(sys.argv[1]), object_pairs_hook=lambda pairs: dict(reversed(pairs)))
open(sys.argv[2], "w").write(json.dumps(form, separators=(",", ":")))
EOF
cp "$work/survey.json" "$work/by-hand.json"
# Only the final newline missing: bytes, not meaning, are what a check compares.
head -c -1 "$survey" >"$work/no-newline.json"
echo '{"class": "Form", "name": "frmBroken", "controls": [' >"$work/broken.json"
cp "$work/broken.json" "$work/broken-before.json"

run --check "$work/survey.json" "$work/no-newline.json"
[ $status -eq 1 ] || fail "--check on files written by hand: exit status $status, expected 1"
[ "$(cat "$work/out")" == "$work/survey.json"$'\n'"$work/no-newline.json" ] || fail "--check lists: $(cat "$work/out")"
grep -q "^forms-format: $work/survey.json: from line 1 " "$work/err" || fail "--check does not say where: $(cat "$work/err")"
cmp -s "$work/survey.json" "$work/by-hand.json" || fail "--check changed the file"

run "$work/broken.json" "$work/survey.json" "$work/no-newline.json"
[ $status -eq 1 ] || fail "a file that does not load: exit status $status, expected 1"
[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "^forms-format: $work/broken.json: not a form file: .* at line 2" "$work/err" ||
  fail "a file that does not load: stderr: $(cat "$work/err")"
cmp -s "$work/broken.json" "$work/broken-before.json" || fail "a file that does not load was changed"
[ "$(cat "$work/out")" == "$work/survey.json"$'\n'"$work/no-newline.json" ] || fail "rewrite lists: $(cat "$work/out")"
for copy in survey no-newline; do cmp -s "$work/$copy.json" "$survey" || fail "$copy.json is not rewritten to the survey's bytes"; done

run --check "$work/survey.json" "$work/no-newline.json" "$survey"
[ $status -eq 0 ] && [ ! -s "$work/out" ] && [ ! -s "$work/err" ] ||
  fail "--check after the rewrite: exit status $status: $(cat "$work/out" "$work/err")"

[ $failed -eq 0 ] && echo "all passed"
exit $failed
