#!/usr/bin/env bash
# Builds everything and runs every test. Tests that open a window run under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DTUNDREL_WERROR=ON >/dev/null
cmake --build build
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir build --output-on-failure -j "$(nproc)" "$@"
