#!/usr/bin/env bash
# The Windows build (build-windows/, scripts/windows.sh) against the native game, under wine:
# every recorded run (tests/recorded) played by tundrel.exe and tundrel_stage.exe must give the
# very trace, draw calls, output and files the native build recorded; then the places of the
# player's files. Exits 77 (skipped) without wine or without the Windows build.
#
#   windows_test.sh WINDOWS_BUILD NATIVE_BUILD SCRATCH
set -euo pipefail
windows=$1 native=$2 scratch=$3
if ! command -v wine >/dev/null || [ ! -x "$windows/tundrel.exe" ]; then
  echo "windows test: skipped (needs wine and scripts/windows.sh's build-windows/)"
  exit 77
fi
# A prefix of its own, made once per run: wineboot takes a while. Wine links the player's
# Pictures and Documents to $HOME: a home of its own keeps the game's pictures out of the
# real one.
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all HOME=$scratch/home
rm -rf "$scratch"
mkdir -p "$scratch" "$HOME"
wineboot -i >/dev/null 2>&1
wineserver -w
trap 'wineserver -k 2>/dev/null || true' EXIT

echo "== recorded runs under wine"
TUNDREL_RUN_WINE=$windows "$native/tests/recorded/recorded_runs_test" --gtest_brief=1

# The player's files. An unpacked game keeps settings.cfg beside itself; in a folder it may not
# write to, in %APPDATA%\tundrel.
echo "== the player's files"
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
# Letters beyond ASCII in the game's folder: paths are UTF-8 inside, wide at the system.
game="$scratch/game-Übung"
mkdir -p "$game"
cp "$windows/tundrel.exe" "$native/Media.sbx" "$game/"
# Past the title, then Escape and Y: the game ends as a player quits it, storing its settings.
cat >"$scratch/quit.script" <<'SCRIPT'
1500 key 255 down
1540 key 255 up
2000 key Escape down
2040 key Escape up
2600 key Y down
2640 key Y up
SCRIPT
play() { # folder
  (cd "$1" && wine ./tundrel.exe --headless --script "$scratch/quit.script" --max-frames 400)
}
fail() {
  echo "windows test: $*" >&2
  exit 1
}
# A high score of 1234 and the joypad on: kept through a run, a quit and the next run.
printf '\000\001\000\000\322\004\000\000\001\000\000\000' >"$game/settings.cfg"
before=$(od -An -tx1 "$game/settings.cfg")
play "$game"
[ -f "$game/settings.cfg" ] || fail "the unpacked game kept no settings.cfg beside itself"
[ ! -e "$user_dir/AppData/Roaming/tundrel/settings.cfg" ] ||
  fail "the unpacked game stored its settings in %APPDATA%"
play "$game"
[ "$(od -An -tx1 "$game/settings.cfg")" = "$before" ] || fail "the settings did not survive a restart"

readonly_game=$scratch/readonly
mkdir -p "$readonly_game"
cp "$windows/tundrel.exe" "$native/Media.sbx" "$readonly_game/"
# Root writes to any folder whatever its mode: for root the folder is mounted read-only, in a
# mount namespace of the game's own that goes with it. Wine's server opens files too, so it is
# started afresh in there.
if [ "$(id -u)" = 0 ]; then
  wineserver -k || true
  unshare -m sh -c 'mount --bind -o ro "$1" "$1" && cd "$1" &&
    wine ./tundrel.exe --headless --script "$2" --max-frames 400; wineserver -w' sh "$readonly_game" \
    "$scratch/quit.script"
else
  chmod a-w "$readonly_game"
  play "$readonly_game"
  chmod u+w "$readonly_game"
fi
[ ! -e "$readonly_game/settings.cfg" ] || fail "the read-only folder was written to"
[ -f "$user_dir/AppData/Roaming/tundrel/settings.cfg" ] ||
  fail "a read-only game folder did not send the settings to %APPDATA%"
echo "windows test: settings beside the unpacked game, in %APPDATA% for a read-only one"

# A real window (Wine's OpenGL over the display's Mesa): the title and round 1 as the native
# game shows them. The engine writes its pictures with the same libpng and zlib on both
# systems, so equal pixels make equal files.
if [ -z "${DISPLAY:-}" ]; then
  echo "windows test: no display for the window pictures (run under Xvfb: scripts/run-ctest.sh)"
  exit 0
fi
echo "== window pictures"
cp "$windows/tundrel_stage.exe" "$game/"
pictures=$scratch/pictures
mkdir -p "$pictures"
"$native/tundrel" --dir "$game" --seed 1 --max-frames 70 \
  --screenshot "60:$pictures/native-title.png" >/dev/null 2>&1
"$native/tundrel_stage" --dir "$game" --round 1 --seed 1 --max-frames 130 \
  --screenshot "120:$pictures/native-round1.png" >/dev/null 2>&1
# Wine's own sound drivers are off: no sound device, which the game says in one line.
(cd "$game" && WINEDLLOVERRIDES="winealsa.drv,winepulse.drv,wineoss.drv=d" \
  wine ./tundrel.exe --seed 1 --max-frames 70 --screenshot "60:Z:$pictures/wine-title.png" \
  >/dev/null 2>"$scratch/title-stderr.txt")
(cd "$game" && wine ./tundrel_stage.exe --round 1 --seed 1 --max-frames 130 \
  --screenshot "120:Z:$pictures/wine-round1.png" >/dev/null 2>&1)
for picture in title round1; do
  cmp "$pictures/native-$picture.png" "$pictures/wine-$picture.png" ||
    fail "the $picture picture under wine differs from the native game's ($pictures)"
done
echo "windows test: the title and round 1 in a window as the native game shows them"
said=$(grep '^tundrel:' "$scratch/title-stderr.txt" || true)
[ "$(printf '%s\n' "$said" | grep -c .)" = 1 ] &&
  printf '%s\n' "$said" | grep -q '^tundrel: no sound device (.*); playing without sound$' ||
  fail "without a sound device the game said: $said"
echo "windows test: without a sound device, one line: $said"

# F12 in a window: the picture goes to the player's Pictures folder.
printf '500 key F12 down\n540 key F12 up\n' >"$scratch/f12.script"
(cd "$game" && wine ./tundrel.exe --seed 1 --max-frames 70 --script "Z:$scratch/f12.script" \
  >/dev/null 2>&1)
[ -f "$user_dir/Pictures/Tundrel/tundrel-0001.png" ] || fail "F12 made no picture in Pictures\\Tundrel"
echo "windows test: F12 pictures in Pictures\\Tundrel"
