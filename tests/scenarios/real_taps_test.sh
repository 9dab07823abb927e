#!/usr/bin/env bash
# Key taps on a real window through the X server: 20 taps of Return (xdotool's, 12 ms each) on
# the main menu's "credits" line open and close the credits 10 times each, none lost. Then the
# replay the run kept, played headless, traces the same frames (all but their real times).
# Runs under the X server of DISPLAY (scripts/run-ctest.sh starts Xvfb); skipped without xdotool
# or without a display.
# Usage: real_taps_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
command -v xdotool >/dev/null || { echo "xdotool is not installed"; exit 77; }
[ -n "${DISPLAY:-}" ] || { echo "no display (run the tests under xvfb-run)"; exit 77; }
dir=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$dir"' EXIT
ln -s "$build/Media.sbx" "$dir/Media.sbx"
# SDL's silent device plays the sounds, so that they are traced as a headless run traces them.
SDL_AUDIODRIVER=dummy "$build/tundrel" --dir "$dir" --trace "$dir/trace.json" --seed 1 --windowed --scale 1 \
  2>"$dir/err" &
pid=$!
window=$(timeout 20 xdotool search --sync --name '^Tundrel$' | head -1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
# The title's fade-in lasts a second; then a key goes on to the menu.
sleep 3
xdotool key Return
sleep 0.6
for _ in 1 2 3; do
  xdotool key Down
  sleep 0.3
done
for _ in $(seq 20); do
  xdotool key Return
  sleep 0.4
done
# SIGTERM is a close request: the run ends at once, its trace complete.
sleep 0.5
kill -TERM "$pid"
timeout 10 tail --pid="$pid" -f /dev/null || true
# The screens in the order they were shown, one line per change.
screens=$(grep -o '"screen":"[a-z-]*"' "$dir/trace.json" | uniq | sed 's/.*:"\(.*\)"/\1/')
shown=$(tr '\n' ' ' <<<"$screens")
expected="start title menu$(printf ' credits menu%.0s' $(seq 10)) "
echo "screens: $shown"
if [ "$shown" != "$expected" ]; then
  echo "FAIL: expected the screens $expected"
  exit 1
fi
echo "20 taps of Return: the credits opened and closed 10 times"
mkdir "$dir/replayed"
ln -s "$build/Media.sbx" "$dir/replayed/Media.sbx"
"$build/tundrel" --headless --dir "$dir/replayed" --replay "$dir/replays/last.tundrel-replay" \
  --trace "$dir/replayed.json"
if ! cmp <(sed 's/"ms":[0-9.]*,//' "$dir/trace.json") <(sed 's/"ms":[0-9.]*,//' "$dir/replayed.json"); then
  echo "FAIL: the kept replay played another game"
  exit 1
fi
echo "its replay played headless: the same $(wc -l <"$dir/trace.json") frames"
