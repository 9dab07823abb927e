#!/usr/bin/env bash
# The game as a player installs it: `cmake --install` into a temporary prefix, the prefix made
# read-only, the installed program started headless from another folder with its own XDG
# folders. It must find its media, keep the player's files in those folders and write nothing
# into the prefix (checked by a listing before and after, since root ignores read-only bits).
# Also validates the desktop entry, the metainfo and the manual pages as installed.
# Usage: installed_game_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

# --- what is installed ---
app=org.tundrel.tundrel
for file in bin/tundrel share/tundrel/Media.sbx share/applications/$app.desktop \
  share/metainfo/$app.metainfo.xml share/man/man6/tundrel.6.gz share/doc/tundrel/copyright \
  share/doc/tundrel/changelog.gz; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/bin/tundrel" ] || fail "bin/tundrel is not executable"
[ ! -e "$prefix/bin/sbx" ] || fail "sbx is installed without being asked for"
png_size() {  # width x height from a PNG's header
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}
for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x$size/apps/tundrel.png
  if [ ! -f "$icon" ]; then
    fail "no $size px icon"
  elif [ "$(png_size "$icon")" != "${size}x$size" ]; then
    fail "the $size px icon is $(png_size "$icon")"
  fi
done
desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop-file-validate"
# Pedantic: a hint is a finding too (the component id is all lower case for that reason).
metainfo=$(appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$app.metainfo.xml") ||
  fail "appstreamcli validate: $metainfo"
grep -q '^✔ Validation was successful\.$' <<<"$metainfo" || fail "appstreamcli validate: $metainfo"
grep -q '^Actions=controller;$' "$prefix/share/applications/$app.desktop" ||
  fail "the desktop entry has no controller action"
for page in man6/tundrel.6.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page: $warnings"
done
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$prefix/share/man/man6/tundrel.6.gz" 2>/dev/null |
  grep -q "EXIT STATUS" || fail "man -l does not render tundrel.6"

# --- the installed game, run by a player ---
chmod -R a-w "$prefix"
listing() { find "$prefix" -printf '%p %s %T@ %m\n' | sort; }
before=$(listing)
mkdir -p "$work/elsewhere" "$work/home" "$work/tmp"
cat >"$work/leave.txt" <<'SCRIPT'
# past the title, Escape, then Y: the way out that stores the settings
1500 key Space down
1540 key Space up
2000 key Escape down
2040 key Escape up
2600 key Y down
2640 key Y up
SCRIPT
# A bare environment but for the player's folders (and how a sanitizer build reports).
run() {
  (cd "$work/elsewhere" && env -i PATH="$PATH" HOME="$work/home" XDG_DATA_HOME="$work/data" \
    XDG_STATE_HOME="$work/state" TMPDIR="$work/tmp" ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:-}" \
    "$prefix/bin/tundrel" --headless "$@")
}
run --check-media >"$work/check.txt" 2>&1 || fail "--check-media: $(tail -3 "$work/check.txt")"
status=0
run --script "$work/leave.txt" --max-frames 3000 --joypad on >"$work/out.txt" 2>"$work/err.txt" ||
  status=$?
[ "$status" -eq 0 ] || fail "the game ended with $status: $(cat "$work/err.txt")"
[ ! -s "$work/err.txt" ] || fail "the game complained: $(cat "$work/err.txt")"
settings=$work/data/tundrel/settings.cfg
if [ ! -f "$settings" ]; then
  fail "no settings in XDG_DATA_HOME: $(cd "$work" && find data state home elsewhere tmp)"
else
  # Twelve bytes; the joypad switch (bytes 8 to 11) stored as --joypad on asked.
  bytes=$(od -An -tu1 -v "$settings" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
  [ "$bytes" = "0 1 0 0 0 0 0 0 1 0 0 0" ] || fail "settings.cfg holds: $bytes"
fi
grep -q "Init Finalized" "$work/state/tundrel/ErrorLog.txt" 2>/dev/null ||
  fail "no log in XDG_STATE_HOME"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "files left in the working folder: $(ls -A "$work/elsewhere")"
[ -z "$(ls -A "$work/tmp")" ] || fail "files left in TMPDIR: $(ls -A "$work/tmp")"
[ "$before" = "$(listing)" ] || fail "the prefix changed: $(diff <(echo "$before") <(listing))"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "installed game: media found, settings and log in the XDG folders, prefix untouched"
