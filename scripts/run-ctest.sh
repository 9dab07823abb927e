#!/usr/bin/env bash
# Runs a build folder's tests under Xvfb: everything but the window tests in parallel, then the
# window tests one at a time, each given up to three tries (the display server applies window
# mode switches in its own time, which a loaded machine can stretch past a test's patience).
# -noreset: by default the server starts over whenever its last client goes, and a test that
# opens its window again at that moment finds no display.
# Usage: scripts/run-ctest.sh BUILD_DIR [ctest arguments...]
set -euo pipefail
build_dir=$1
shift
run() {
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    ctest --test-dir "$build_dir" --output-on-failure "$@"
}
status=0
run -j "$(nproc)" -LE window "$@" || status=$?
run -L window --repeat until-pass:3 "$@" || status=$?
exit $status
