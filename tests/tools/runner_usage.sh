#!/usr/bin/env bash
# forms-run's command line: help, usage errors (status 2, one stderr line), a form that
# does not load (status 1, naming the file) and an offscreen render to PNG.
# Usage: runner_usage.sh FORMS_RUN
set -u
tool=$1
# shellcheck source=offscreen_lib.sh
source "$(dirname "$0")/offscreen_lib.sh"

# run ARG...: runs the tool, leaving its status in $status and its output in out and err.
run() {
  "$tool" "$@" >"$work/out" 2>"$work/err"
  status=$?
}

# expect_error STATUS PATTERN ARG...: fails with STATUS, nothing on stdout, and one
# stderr line, prefixed with the program's name, matching PATTERN.
expect_error() {
  local want=$1 pattern=$2
  shift 2
  run "$@"
  local what="forms-run $*"
  [ $status -eq "$want" ] || fail "$what: exit status $status, expected $want"
  [ -s "$work/out" ] && fail "$what: stdout not empty: $(head -c 200 "$work/out")"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$what: stderr is not one line: $(head -c 400 "$work/err")"
  grep -q "^forms-run: .*$pattern" "$work/err" || fail "$what: stderr does not match '$pattern': $(cat "$work/err")"
}

# Help wins over everything else on the line, and lists each option on its own line.
for help in --help -h; do
  run "$help" --no-such-option
  [ $status -eq 0 ] || fail "$help: exit status $status"
  [ -s "$work/err" ] && fail "$help: stderr not empty: $(cat "$work/err")"
  head -n 1 "$work/out" | grep -q "^Usage: forms-run .*FORM.json$" || fail "$help: no usage line"
  for option in --screenshot --save --help; do
    grep -q "^  .*$option" "$work/out" || fail "$help: $option is not described"
  done
done

expect_error 2 "missing FORM.json"
expect_error 2 "one form file expected, got 'a.json' and 'b.json'" a.json b.json
expect_error 2 "unknown option '--bogus'" --bogus form.json
expect_error 2 "option '--save' needs a PATH" form.json --save
expect_error 2 "option '--screenshot' needs a PATH" --screenshot "" form.json
expect_error 1 "$work/absent.json: cannot open the form file" "$work/absent.json"
echo '{"class": "Form", "name": "frmBroken", "controls": [' >"$work/broken.json"
expect_error 1 "$work/broken.json: not a form file" "$work/broken.json"

# A 100 x 60 pixel form (15 twips a pixel) renders to a PNG of that size, its path on stdout.
cat >"$work/tiny.json" <<'JSON'
{
    "Caption": "Tiny",
    "ClientHeight": 900,
    "ClientWidth": 1500,
    "class": "Form",
    "controls": [
        {"Caption": "Hello", "Height": 240, "Left": 120, "Top": 120, "Width": 1200, "class": "Forms.Label", "name": "lblHello"}
    ],
    "name": "frmTiny"
}
JSON
run --screenshot "$work/tiny.png" "$work/tiny.json"
[ $status -eq 0 ] || fail "--screenshot: exit status $status: $(cat "$work/err")"
[ "$(cat "$work/out")" == "$work/tiny.png" ] || fail "--screenshot: stdout is '$(cat "$work/out")'"
# The signature, then the header chunk's width and height, big-endian.
header=$(od -A n -t x1 -N 24 "$work/tiny.png" 2>/dev/null | tr -d ' \n')
if [ "${header:0:16}" != "89504e470d0a1a0a" ] || [ ${#header} -ne 48 ]; then
  fail "--screenshot: no PNG written: '${header:0:16}'"
else
  size="$((16#${header:32:8}))x$((16#${header:40:8}))"
  [ "$size" == "100x60" ] || fail "--screenshot: size $size, expected 100x60"
fi

expect_error 1 "cannot write $work/no-such-folder/tiny.png" --screenshot "$work/no-such-folder/tiny.png" "$work/tiny.json"

[ $failed -eq 0 ] && echo "all passed"
exit $failed
