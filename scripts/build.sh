#!/usr/bin/env bash
# Configures (the first time) and builds a build folder with Ninja; only what changed is built
# again. Compiles go through ccache when it is installed.
#
#   scripts/build.sh BUILD_DIR [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$1
shift
launchers=()
if command -v ccache >/dev/null; then
  launchers=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -G Ninja "${launchers[@]}" "$@" >/dev/null
cmake --build "$build_dir"
