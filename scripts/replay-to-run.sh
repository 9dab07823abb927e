#!/usr/bin/env bash
# Makes a player's replay a recorded run: copies it to tests/recorded/runs/NAME.script (a replay
# is an input script with a header: the run plays it) and records it (scripts/record-runs.sh).
# Write at the top of the script what it shows, as every run does.
#
#   scripts/replay-to-run.sh FILE.tundrel-replay NAME
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 FILE.tundrel-replay NAME" >&2; exit 2; }
cd "$(dirname "$0")/.."
target="tests/recorded/runs/$2.script"
[ -e "$target" ] && { echo "$target exists already" >&2; exit 1; }
grep -q '^#replay ' "$1" || { echo "$1 is not a replay" >&2; exit 1; }
{ echo "# A player's replay (say here what it shows)."; cat "$1"; } >"$target"
scripts/record-runs.sh "$2"
