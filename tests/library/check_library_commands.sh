#!/usr/bin/env bash
# check_library_commands.sh CASE RING: clangor-ring's library commands, run on
# a small library written into a temporary data folder.
set -uo pipefail
case_name=$1
ring=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
lib="$data/Compendium/XII"
mkdir -p "$lib"
printf '%s\n' '[3]' '[6]' 'Plain Bob=|12|&-16-16-16,|14|1234' '[7]' \
  'Grandsire=3.1.7.1.7.1.7.1.7.1.7.1.|7.1|,|3.1|3.123' > "$lib/methods.txt"
printf '%s\n' '[Standard Headings]' '6=W:6 H:5' '' '[Compositions]' \
  'Name=Short Touch' 'Bells=6' 'Length=120' 'Method=Plain Bob Minor' 'Line=-- ppp -- ppp' '' \
  'Name=Home' 'Bells=6,8' 'Method=Plain Bob Minor' 'Line=W H' 'Line===' 'Line=  -' 'Parts=-1' '' > "$lib/compositions.txt"
printf '%s\n' '[3]' '[6]' 'There and Back=2.2' > "$lib/call_change_sequences.txt"

case $case_name in
  list)
    out=$("$ring" library --data "$data" list) || fail "exit status $?"
    echo "$out" | grep -q $'^6\tmethod\tPlain Bob Minor' || fail "method not listed"
    echo "$out" | grep -q $'^6\tcomposition 0\tShort Touch\t120$' || fail "composition not listed"
    echo "$out" | grep -q $'^6\tcomposition 2\tHome\t0$' || fail "table not listed"
    echo "$out" | grep -q $'^6\tsequence\tThere and Back' || fail "sequence not listed"
    ;;
  composition)
    out=$("$ring" composition --data "$data" --name "Short Touch") || fail "exit status $?"
    [ "$(echo "$out" | wc -l)" = 120 ] || fail "expected 120 rows"
    [ "$(echo "$out" | tail -1)" = 123456 ] || fail "last row is not rounds"
    out=$("$ring" composition --data "$data" --name "Home" --bells 8) || fail "exit status $?"
    [ "$(echo "$out" | tail -1)" = 12345678 ] || fail "not round on eight"
    ;;
  method)
    out=$("$ring" method --data "$data" --title "Plain Bob Minor") || fail "exit status $?"
    [ "$(echo "$out" | wc -l)" = 60 ] || fail "expected the plain course"
    out=$("$ring" method --data "$data" --title "Grandsire Triples" --bells 8 --calls ppppp) || fail "exit status $?"
    [ "$(echo "$out" | wc -l)" = 70 ] || fail "expected the plain course of Grandsire"
    ;;
  sequence)
    out=$("$ring" sequence --data "$data" --name "There and Back" --bells 6) || fail "exit status $?"
    [ "$(echo "$out" | tail -1)" = 123456 ] || fail "not back in rounds"
    ;;
  missing)
    "$ring" composition --data "$data" --name "Nothing" >/dev/null 2>&1
    [ $? = 1 ] || fail "an unknown composition must exit 1"
    "$ring" method --data "$data" --title "Nothing Minor" >/dev/null 2>&1
    [ $? = 1 ] || fail "an unknown method must exit 1"
    "$ring" sequence --data "$data" --name "There and Back" >/dev/null 2>&1
    [ $? = 2 ] || fail "a sequence needs --bells"
    "$ring" library --data "$data" >/dev/null 2>&1
    [ $? = 2 ] || fail "library needs its action"
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
