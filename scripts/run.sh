#!/usr/bin/env bash
# Builds the game and starts it; arguments go to the game (see `build/tundrel --help`).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
exec build/tundrel "$@"
