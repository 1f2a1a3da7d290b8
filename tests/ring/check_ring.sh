#!/usr/bin/env bash
# check_ring.sh CASE RING: one check of clangor-ring's command line.
set -uo pipefail
case_name=$1
ring=$2
pbm='|2|&-16-16-16,|4|234'
fail() { echo "FAIL: $*" >&2; exit 1; }
# Checks run side by side: each keeps its messages in a file of its own.
err=$(mktemp)
trap 'rm -f "$err"' EXIT

case $case_name in
  plain-course)
    out=$("$ring" rows --stage 6 --line "$pbm") || fail "exit status $?"
    [ "$(echo "$out" | wc -l)" = 60 ] || fail "expected 60 rows"
    [ "$(echo "$out" | head -1)" = 214365 ] || fail "first row"
    [ "$(echo "$out" | tail -1)" = 123456 ] || fail "last row is not rounds"
    [ "$(echo "$out" | sed -n 12p)" = 135264 ] || fail "lead head"
    ;;
  touch)
    out=$("$ring" rows --stage 6 --line "$pbm" --calls bbb --bells 8) || fail "exit status $?"
    [ "$(echo "$out" | wc -l)" = 36 ] || fail "expected 36 rows"
    [ "$(echo "$out" | sed -n 12p)" = 12356478 ] || fail "bob lead head on eight bells"
    ;;
  never-round)
    "$ring" rows --stage 6 --line "$pbm" --calls b >/dev/null 2>"$err"
    [ $? = 1 ] || fail "a touch that never comes round must exit 1"
    grep -q "100000 rows" "$err" || fail "no message"
    ;;
  bad-arguments)
    for args in "" "rows" "rows --stage 2 --line -" "rows --stage 6" "rows --stage 6 --line - --bells 5" \
                "rows --stage 6 --line - --calls B" "rows --stage 6 --line - --colour red" "ring"; do
      # shellcheck disable=SC2086
      "$ring" $args >/dev/null 2>"$err"
      status=$?
      [ $status = 2 ] || fail "\"$args\" exited $status, not 2"
      [ -s "$err" ] || fail "\"$args\" said nothing"
    done
    ;;
  *) fail "unknown case $case_name" ;;
esac
echo "ok: $case_name"
