#!/usr/bin/env bash
# Builds the engine, the game, the tools, the whole test suite and the fuzz targets with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang) in build-asan/, then runs every test
# there. Any sanitizer report fails the test that caused it. Arguments go to ctest.
# Warnings are errors in the normal (gcc) build; here clang's own extra warnings are shown but
# do not stop the sanitizer run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake -S . -B build-asan -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTUNDREL_SANITIZE=ON -DTUNDREL_FUZZ=ON -DTUNDREL_BENCHMARKS=OFF -DTUNDREL_WERROR=OFF >/dev/null
cmake --build build-asan
source scripts/sanitizer_env.sh
scripts/run-ctest.sh build-asan "$@"
