#!/usr/bin/env bash
# check_import_command.sh CASE RING COLLECTION: clangor-ring import, run on a
# small library written into a temporary data folder.
set -uo pipefail
case_name=$1
ring=$2
collection=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
lib="$data/Compendium/XII"
defaults="$data/Defaults/Compendium/XII"
mkdir -p "$lib" "$defaults"
printf '%s\n' '[3]' '[6]' 'Plain Bob=|12|&-16-16-16,|14|1234' > "$lib/methods.txt"
cp "$lib/methods.txt" "$defaults/methods.txt"
printf '%s\n' '[Standard Headings]' '' '[Compositions]' > "$lib/compositions.txt"

case $case_name in
  whole)
    out=$("$ring" import --data "$data" "$collection" --with-calls) || fail "exit status $?"
    [ "$(echo "$out" | head -1)" = "added 43, skipped 1, refused 0" ] || fail "counts: $out"
    grep -qx 'Stedman=3.1|7|3.1.3.1.3|7|1.3.1,|5|567' "$lib/methods.txt" || fail "Stedman Triples not written"
    grep -qx 'Plain Bob=|12|&-16-16-16,|14|1234' "$lib/methods.txt" || fail "the library's own method changed"
    if cmp -s "$lib/methods.txt" "$defaults/methods.txt"; then fail "the user's library was not written"; fi
    [ "$(wc -l < "$defaults/methods.txt")" = 3 ] || fail "the defaults were written"
    before=$(cat "$lib/methods.txt")
    out=$("$ring" import --data "$data" "$collection" --with-calls) || fail "exit status $?"
    [ "$out" = "added 0, skipped 44, refused 0" ] || fail "second import: $out"
    [ "$(cat "$lib/methods.txt")" = "$before" ] || fail "a second import changed the library"
    # The imported method rings from the library.
    rows=$("$ring" method --data "$data" --title "Cambridge Surprise Major") || fail "cannot ring an import"
    [ "$(echo "$rows" | wc -l)" = 224 ] || fail "Cambridge Major's plain course"
    ;;
  chosen)
    out=$("$ring" import --data "$data" "$collection" --stage 8 --match surprise) || fail "exit status $?"
    [ "$out" = "added 3, skipped 0, refused 0" ] || fail "counts: $out"
    [ "$(grep -c Surprise "$lib/methods.txt")" = 3 ] || fail "not the three"
    if grep Surprise "$lib/methods.txt" | grep -q ','; then fail "calls without --with-calls"; fi
    ;;
  refused)
    printf '%s\n' '<collection><methodSet><properties><stage>6</stage></properties>' \
      '<method><title>Good Minor</title><notation>x16x16x16,12</notation></method>' \
      '<method><title>Bad Minor</title><notation>x13,12</notation></method>' \
      '<method><title>High</title><stage>19</stage><notation>x</notation></method>' \
      '</methodSet></collection>' > "$data/bad.xml"
    out=$("$ring" import --data "$data" "$data/bad.xml") || fail "exit status $?"
    echo "$out" | head -1 | grep -qx 'added 1, skipped 0, refused 2' || fail "counts: $out"
    echo "$out" | grep -q '^refused "Bad Minor": notation "x13,12" cannot be read' || fail "no reason: $out"
    echo "$out" | grep -q '^refused "High": stage "19" is not 3 to 18' || fail "no reason: $out"
    before=$(cat "$lib/methods.txt")
    echo 'Plain Bob=not a collection' > "$data/text.xml"
    "$ring" import --data "$data" "$data/text.xml" > "$data/out" 2>&1
    [ $? = 1 ] || fail "a file that is not XML must exit 1"
    grep -q 'not XML' "$data/out" || fail "no reason for the file: $(cat "$data/out")"
    "$ring" import --data "$data" "$data/missing.xml" >/dev/null 2>&1
    [ $? = 1 ] || fail "a missing file must exit 1"
    [ "$(cat "$lib/methods.txt")" = "$before" ] || fail "a refused file changed the library"
    "$ring" import --data "$data" >/dev/null 2>&1
    [ $? = 2 ] || fail "import needs its file"
    "$ring" import --data "$data" "$collection" --stage 2 >/dev/null 2>&1
    [ $? = 2 ] || fail "a stage outside 3 to 18 is a usage error"
    ;;
  fresh)
    # A data folder with no library of its own rings the defaults: the import
    # keeps them beside the new methods, and never writes the defaults.
    rm -r "$lib"
    cp "$(dirname "$0")"/../../data/compendium/*.txt "$defaults/"
    out=$("$ring" import --data "$data" "$collection") || fail "exit status $?"
    echo "$out" | head -1 | grep -q '^added [1-9]' || fail "counts: $out"
    for file in methods compositions call_change_sequences; do
      [ -f "$lib/$file.txt" ] || fail "$file.txt not written"
      cmp -s "$defaults/$file.txt" "$(dirname "$0")/../../data/compendium/$file.txt" || fail "the defaults' $file.txt was written"
    done
    [ "$(grep -c = "$lib/methods.txt")" -gt "$(grep -c = "$defaults/methods.txt")" ] || fail "the default methods were lost"
    grep -q '^Name=Extent' "$lib/compositions.txt" || fail "the default compositions were lost"
    grep -q '^Queens=' "$lib/call_change_sequences.txt" || fail "the default call changes were lost"
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
