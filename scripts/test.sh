#!/usr/bin/env bash
# Builds everything and runs every test (and the browser build with its test where emscripten
# is installed). Tests that open a window run under Xvfb. Then the
# same suite again built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/),
# and a short run of every fuzz target. Arguments go to both ctest runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake -S . -B build -G Ninja -DTUNDREL_WERROR=ON >/dev/null
cmake --build build
# Where emscripten is installed (scripts/install-deps.sh --web), the browser build too: the
# test labelled "web" compares it with the native game.
if command -v emcc >/dev/null; then scripts/web.sh; fi
scripts/run-ctest.sh build "$@"
scripts/sanitize.sh "$@"
scripts/fuzz.sh "${TUNDREL_FUZZ_SECONDS:-10}"
