#!/usr/bin/env bash
# Builds the engine, the game, the tools, the whole test suite and the fuzz targets with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang) in build-asan/, then runs every test
# there. Any sanitizer report fails the test that caused it. Arguments go to ctest.
#
#   scripts/sanitize.sh [--build-only | --tests-only] [ctest arguments...]
#
# Warnings are errors in the normal (gcc) build; here clang's own extra warnings are shown but
# do not stop the sanitizer run. TUNDREL_MEDIA_FROM=BUILD_DIR copies that build's generated
# media instead of generating it again (scripts/test.sh does so after building build/).
set -euo pipefail
cd "$(dirname "$0")/.."
build=true
tests=true
case "${1:-}" in
  --build-only) tests=false; shift ;;
  --tests-only) build=false; shift ;;
esac
[ -n "${TUNDREL_DEPS_CHECKED:-}" ] || scripts/install-deps.sh --test
if $build; then
  scripts/build.sh build-asan -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTUNDREL_SANITIZE=ON -DTUNDREL_FUZZ=ON -DTUNDREL_BENCHMARKS=OFF -DTUNDREL_WERROR=OFF \
    -DTUNDREL_MEDIA_FROM="${TUNDREL_MEDIA_FROM:-}"
fi
if $tests; then
  source scripts/sanitizer_env.sh
  scripts/run-ctest.sh build-asan "$@"
fi
