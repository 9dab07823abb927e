#!/usr/bin/env bash
# Takes the metainfo's screenshots with the game itself (--screenshot): the main menu, the
# penguin choice and round 1 with the spray on, 640 x 480 each, into this folder.
# Needs a display; without one it starts Xvfb.  Usage: packaging/screenshots/take.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
ln -s "$build/Media.sbx" "$dir/Media.sbx"
cat >"$dir/script" <<'KEYS'
3000 key Space down
3040 key Space up
5000 key Enter down
5040 key Enter up
7000 key Enter down
7040 key Enter up
7500 key Right down
8000 key Right up
8000 key Up down
9500 key Up up
9500 key Space down
9600 key Space up
KEYS
# Frames well inside each screen: the menu from about 3.3 s, the choice from 5.6 s, the round
# from 7.1 s (the spray at 9.5 s).
"$build/tundrel" --dir "$dir" --script "$dir/script" --seed 7 --max-frames 400 --windowed \
  --screenshot "120:$here/menu.png" --screenshot "200:$here/select.png" \
  --screenshot "378:$here/round.png"
