#!/usr/bin/env bash
# Builds the game and its media, nothing else, in build-play/ and starts it; arguments go to
# the game (see `build-play/tundrel --help`). Installs the Debian packages building and playing
# need first. The tests build in build/ (scripts/test.sh), so neither build undoes the other.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# -O2 as the tests build it: GCC 12 at -O3 warns falsely inside std::string.
cmake -S . -B build-play -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DTUNDREL_TESTS=OFF -DTUNDREL_BENCHMARKS=OFF >/dev/null
cmake --build build-play --target tundrel media
exec build-play/tundrel "$@"
