#!/usr/bin/env bash
# The real simulator on a virtual X display, driven by real keys: a second
# start hands over to the first and ends with 0; Escape while stood closes
# the window; the settings are written at exit.
#   check_clangor_x.sh CLANGOR DATA_ROOT
set -uo pipefail
clangor=$1
data_root=$2
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || { echo "no xvfb-run or xdotool: skipped"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export CLANGOR_REGISTRY_DIR=$scratch/registry CLANGOR_COMMON_APPDATA=$data_root SDL_AUDIODRIVER=dummy

cat >"$scratch/drive.sh" <<'DRIVE'
#!/usr/bin/env bash
clangor=$1
"$clangor" &
first=$!
for _ in $(seq 100); do
  window=$(xdotool search --name "^Clangor - Twelve Bells$" 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "no window titled \"Clangor - Twelve Bells\""; kill $first; exit 1; }
timeout 10 "$clangor" || { echo "a second start did not end with 0"; kill $first; exit 1; }
kill -0 $first || { echo "the first instance ended"; exit 1; }
xdotool windowactivate --sync "$window" >/dev/null 2>&1
xdotool key --window "$window" space Escape
for _ in $(seq 100); do kill -0 $first 2>/dev/null || break; sleep 0.1; done
if kill -0 $first 2>/dev/null; then echo "Escape did not close the stood window"; kill $first; exit 1; fi
wait $first || { echo "the simulator ended with an error"; exit 1; }
DRIVE
xvfb-run -a -s "-screen 0 1280x800x24" bash "$scratch/drive.sh" "$clangor" || exit 1
grep -q '"TowerName"="Twelve Bells"' "$scratch/registry/HKEY_CURRENT_USER.reg" || { echo "settings not written"; exit 1; }
echo "ok"
