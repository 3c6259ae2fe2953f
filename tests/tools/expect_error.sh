#!/usr/bin/env bash
# Runs forms-typeinfo where it must fail: checks the exit status, that stdout stays
# empty and that stderr is one line, prefixed with the program's name, matching PATTERN.
# Usage: expect_error.sh TOOL STATUS PATTERN LIBRARY_PATH [ARG...]
set -u
tool=$1 want=$2 pattern=$3
export FORMS_LIBRARY_PATH=$4
shift 4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" "$@" >"$work/out" 2>"$work/err"
status=$?
failed=0
fail() { echo "FAIL: $*"; failed=1; }
[ $status -eq "$want" ] || fail "exit status $status, expected $want"
[ -s "$work/out" ] && fail "stdout not empty: $(head -c 200 "$work/out")"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "stderr is not one line"
grep -q "^forms-typeinfo: .*$pattern" "$work/err" || fail "stderr does not match '$pattern'"
echo "stderr: $(cat "$work/err")"
exit $failed
