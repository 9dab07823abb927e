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
# A prefix of its own, made once per run: wineboot takes a while.
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all
rm -rf "$scratch"
mkdir -p "$scratch"
wineboot -i >/dev/null 2>&1
wineserver -w
trap 'wineserver -k 2>/dev/null || true' EXIT

echo "== recorded runs under wine"
TUNDREL_RUN_WINE=$windows "$native/tests/recorded/recorded_runs_test" --gtest_brief=1

# The player's files. An unpacked game keeps settings.cfg beside itself; in a folder it may not
# write to, in %APPDATA%\tundrel.
echo "== the player's files"
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
game=$scratch/game
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
