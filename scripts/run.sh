#!/usr/bin/env bash
# Builds the game and its media, nothing else, in build-play/ and starts it; arguments go to
# the game (see `build-play/tundrel --help`). Installs the Debian packages building and playing
# need first. The tests build in build/ (scripts/test.sh), so neither build undoes the other.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-play -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNDREL_TESTS=OFF \
  -DTUNDREL_BENCHMARKS=OFF >/dev/null
cmake --build build-play --target tundrel media
exec build-play/tundrel "$@"
