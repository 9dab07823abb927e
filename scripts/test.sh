#!/usr/bin/env bash
# Builds everything and runs every check, one step after another, and says at the end how long
# each step took (also when one fails):
#
#   build       game, tools, tests and benchmarks with gcc, warnings as errors (build/)
#   web         where emscripten is installed (scripts/install-deps.sh --web), the browser
#               build (build-web/), which the test labelled "web" compares with the native game;
#               TUNDREL_WEB=0 leaves it out
#   windows     where mingw-w64 and wine are installed (scripts/install-deps.sh --windows), the
#               Windows build and its zip (build-windows/, scripts/windows.sh), which the test
#               labelled "windows" plays under wine against the native game; TUNDREL_WINDOWS=0
#               leaves it out
#   tests       the whole suite there, under Xvfb (scripts/run-ctest.sh)
#   asan build  everything again with AddressSanitizer and UndefinedBehaviorSanitizer (clang,
#               build-asan/), with the fuzz targets; the media is copied from build/, not
#               generated a second time
#   asan tests  the whole suite there
#   fuzz        every fuzz target for TUNDREL_FUZZ_SECONDS (default 10), as many at once as
#               there are processors
#
# Arguments go to both ctest runs. Builds are incremental: a second run rebuilds only what
# changed. A further kind of check joins as one more `step` line below.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
export TUNDREL_DEPS_CHECKED=1

step_report=()
report() {
  local status=$?
  echo "== step times" >&2
  printf '%s\n' "${step_report[@]}" >&2
  exit $status
}
trap report EXIT
# step NAME COMMAND...: runs the command and notes its wall time.
step() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name" >&2
  "$@"
  step_report+=("$(printf '%-11s %4d s' "$name" $((SECONDS - start)))")
}

step build scripts/build.sh build -DTUNDREL_WERROR=ON
if [ "${TUNDREL_WEB:-1}" != 0 ] && command -v emcc >/dev/null; then step web scripts/web.sh; fi
if [ "${TUNDREL_WINDOWS:-1}" != 0 ] && command -v x86_64-w64-mingw32-g++-posix >/dev/null &&
  command -v wine >/dev/null; then
  step windows scripts/windows.sh
else
  echo "== windows: skipped (no mingw-w64 or wine: scripts/install-deps.sh --windows)" >&2
fi
step tests scripts/run-ctest.sh build "$@"
step "asan build" env TUNDREL_MEDIA_FROM="$PWD/build" scripts/sanitize.sh --build-only
step "asan tests" scripts/sanitize.sh --tests-only "$@"
step fuzz env FUZZ_JOBS="$(nproc)" scripts/fuzz.sh "${TUNDREL_FUZZ_SECONDS:-10}"
