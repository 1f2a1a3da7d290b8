#!/usr/bin/env bash
# Makes the data folder twice, each time from scratch (the control tables
# solved again too), into two scratch folders and checks that every file has
# the same bytes in both. Too slow for the test run (it runs the whole kit
# twice); run it by hand after changing the kit:
#   tests/towerkit/check_same_bytes.sh [build folder] [folder to keep the first run's data in]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
keep=${2:-}
kit=$build/bin/clangor-towerkit
tables=$build/bin/clangor-towerkit-tables
for program in "$kit" "$tables"; do
  [[ -x $program ]] || { echo "no $program: build clangor-towerkit and clangor-towerkit-tables first" >&2; exit 2; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for run in first second; do
  echo "== $run run"
  "$tables" data "$scratch/$run-tables"
  QT_QPA_PLATFORM=offscreen "$kit" data "$scratch/$run" "$scratch/$run-tables"
done
if diff -r "$scratch/first" "$scratch/second" >/dev/null; then
  if [[ -n $keep ]]; then rm -rf "$keep" && mkdir -p "$keep" && cp -r "$scratch/first/." "$keep/"; fi
  echo "same bytes: $(find "$scratch/first" -type f | wc -l) files, $(du -sh "$scratch/first" | cut -f1)"
else
  diff -rq "$scratch/first" "$scratch/second" | head -20
  echo "the two runs differ" >&2
  exit 1
fi
