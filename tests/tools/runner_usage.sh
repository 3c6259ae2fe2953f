#!/usr/bin/env bash
# forms-run's command line: help, usage errors (status 2, one stderr line), a form that
# does not load (status 1, naming the file), an offscreen render to PNG after the
# viewports' first ticks, warnings for bag entries no control read, and the
# repository's own forms loading without a word on stderr.
# Usage: runner_usage.sh FORMS_RUN
set -u
tool=$1
root="$(cd "$(dirname "$0")/../.." && pwd)"
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
  for option in --screenshot --after --save --help; do
    grep -q "^  .*$option" "$work/out" || fail "$help: $option is not described"
  done
done

expect_error 2 "missing FORM.json"
expect_error 2 "one form file expected, got 'a.json' and 'b.json'" a.json b.json
expect_error 2 "unknown option '--bogus'" --bogus form.json
expect_error 2 "--save needs a file name" form.json --save
expect_error 2 "--screenshot needs a file name" --screenshot "" form.json
expect_error 2 "--after needs a number of milliseconds" --screenshot x.png --after soon form.json
expect_error 2 "--after goes with --screenshot" --after 100 form.json
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

# A viewport lays itself out on its first ticks (200 ms apart): by default the render
# waits for them and shows its scrollbar; with --after 0 it shows the viewport bare.
echo '{"class": "Form", "name": "frmBay", "ClientWidth": 3000, "ClientHeight": 2250, "controls": [
  {"class": "ScrollbayCtl.Scrollbay", "name": "Scrollbay1", "bag": {"_extentx": 5292, "_extenty": 3969}, "controls": [
    {"class": "Forms.Label", "name": "lblFar", "Caption": "Far", "Top": 6000, "Width": 900, "Height": 240}]}]}' >"$work/bay.json"
for shot in default again bare; do
  options=(--screenshot "$work/bay-$shot.png")
  [ "$shot" == bare ] && options+=(--after 0)
  run "${options[@]}" "$work/bay.json"
  [ $status -eq 0 ] && [ ! -s "$work/err" ] || fail "--screenshot ($shot): exit status $status: $(cat "$work/err")"
done
cmp -s "$work/bay-default.png" "$work/bay-again.png" || fail "two renders after the same wait differ"
cmp -s "$work/bay-default.png" "$work/bay-bare.png" && fail "the default render shows the viewport as it is before its first tick"

# A bag entry the control never read is a warning on stderr, and the form still runs.
sed 's/"_extentx"/"AutoFilContainer": true, "_extentx"/' "$work/bay.json" >"$work/typo.json"
run --screenshot "$work/typo.png" --after 0 "$work/typo.json"
[ $status -eq 0 ] || fail "a bag typo: exit status $status: $(cat "$work/err")"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "a bag typo: stderr is not one line: $(cat "$work/err")"
grep -q "^warning: $work/typo.json: control 'Scrollbay1': .*'AutoFilContainer'" "$work/err" ||
  fail "a bag typo: no warning naming the file, the control and the key: $(cat "$work/err")"

# The repository's forms, through their first ticks: nothing at all on stderr.
for form in "$root"/sample/forms/*.json "$root"/examples/*/*.json "$root"/tests/e2e/data/*.json "$root"/tests/runtime/data/*.json; do
  run --screenshot "$work/repo.png" --after 500 "$form"
  [ $status -eq 0 ] && [ ! -s "$work/err" ] || fail "${form#"$root"/}: exit status $status, stderr: $(head -c 400 "$work/err")"
done

[ $failed -eq 0 ] && echo "all passed"
exit $failed
