# Shared by the command-line tests: an offscreen platform, a private work folder that
# goes at exit, and a tally of failures.
# shellcheck shell=bash
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Without it Qt warns on stderr, which must hold only the program's own line.
export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 "$XDG_RUNTIME_DIR"
failed=0
fail() { echo "FAIL: $*"; failed=1; }
