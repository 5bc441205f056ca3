#!/bin/sh
# look-sheet's command line: an unknown option or a second name is refused
# with status 2 and its reason, writing nothing; a plain name is written.
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/run" && cd "$work/run" || exit 1 # stays empty unless a picture is asked for

fail() { echo "FAIL: look-sheet $*" && exit 1; }

refused() { # REASON ARGUMENTS...
  reason=$1 && shift
  "$tool" "$@" 2>"$work/err" >/dev/null
  status=$?
  [ "$status" -eq 2 ] || fail "$*: status $status, expected 2"
  [ "$(head -n 1 "$work/err")" = "look-sheet: $reason" ] || fail "$*: said '$(head -n 1 "$work/err")'"
  [ -z "$(ls -A)" ] || fail "$*: wrote $(ls -A)"
}

refused "unknown option '--benchmark_list_tests=true'" --benchmark_list_tests=true
refused "unknown option '-o'" -o sheet.png
refused "unexpected argument 'b.png'" a.png b.png
"$tool" --help | grep -q '^Usage: look-sheet' || fail "--help printed no usage"
"$tool" sheet.png >/dev/null && [ -s sheet.png ] || fail "sheet.png: wrote no picture"
