#!/usr/bin/env bash
# Records the recorded runs again (tests/recorded/runs/NAME.rec) after an intended change to
# what the game shows, plays or traces, and shows which recordings changed. Review the change
# with `git diff tests/recorded/runs` before committing it.
#
#   scripts/record-runs.sh [NAME...]     default: every run; TUNDREL_BUILD names the build folder
set -euo pipefail
cd "$(dirname "$0")/.."
build="${TUNDREL_BUILD:-build}"
scripts/install-deps.sh
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DTUNDREL_WERROR=ON >/dev/null
fi
# The test program and what it runs: the game, the stage program and the media.
cmake --build "$build" --target recorded_runs_test
filter='*'
if [ $# -gt 0 ]; then
  filter="$(printf 'Runs/RecordedRun.MatchesItsRecording/%s:' "$@")"
fi
TUNDREL_RECORD=1 "$build/tests/recorded/recorded_runs_test" --gtest_brief=1 \
  --gtest_filter="$filter"
git --no-pager diff --stat -- tests/recorded/runs
