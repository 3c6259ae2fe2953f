#!/usr/bin/env bash
# Runs forms-typeinfo and compares what it prints with an expected file.
# Usage: compare_output.sh TOOL ID EXPECTED LIBRARY_PATH [OPTION...]
# LIBRARY_PATH becomes FORMS_LIBRARY_PATH; the options go to the tool before ID.
set -u
if [ $# -lt 4 ]; then
  echo "usage: $0 TOOL ID EXPECTED LIBRARY_PATH [OPTION...]" >&2
  exit 2
fi
tool=$1 id=$2 expected=$3
export FORMS_LIBRARY_PATH=$4
shift 4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" "$@" "$id" >"$work/out" 2>"$work/err"
status=$?
if [ $status -ne 0 ] || [ -s "$work/err" ]; then
  echo "FAIL: '$tool $* $id' exited with $status; its errors:"
  cat "$work/err"
  exit 1
fi
if ! diff -u --label expected --label actual "$expected" "$work/out"; then
  echo "FAIL: output differs from $expected; if the change is meant, update it with:"
  echo "  FORMS_LIBRARY_PATH='$FORMS_LIBRARY_PATH' '$tool' $* $id > '$expected'"
  exit 1
fi
echo "ok: $id matches $expected"
