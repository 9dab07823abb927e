#!/usr/bin/env bash
# Builds the Windows version of the game into build-windows/ with Debian's mingw-w64 and makes
# the zip a player unpacks: build-windows/tundrel-VERSION-windows-x64.zip holding tundrel.exe,
# sbx.exe, Media.sbx, README.txt and LICENSE.txt. The libraries come from
# scripts/windows-sysroot.sh (Debian's source packages, cached in $TUNDREL_WINDOWS_CACHE or
# ~/.cache/tundrel-windows); the media and the icon from the native build (build/), whose
# tools make them. Needs `scripts/install-deps.sh --windows`.
set -euo pipefail
cd "$(dirname "$0")/.."
host=x86_64-w64-mingw32
if ! command -v $host-g++-posix >/dev/null; then
  echo "windows.sh: mingw-w64 is missing: run scripts/install-deps.sh --windows" >&2
  exit 1
fi

sysroot=$(scripts/windows-sysroot.sh | tail -n 1)

# The media archive and the icon, from the native tools.
scripts/install-deps.sh
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DTUNDREL_WERROR=ON >/dev/null
fi
cmake --build build --target media icons

launchers=()
if command -v ccache >/dev/null; then
  launchers=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f build-windows/CMakeCache.txt ]; then
  cmake -S . -B build-windows -G Ninja "${launchers[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/windows/toolchain.cmake" -DTUNDREL_WERROR=ON \
    -DCMAKE_PREFIX_PATH="$sysroot" -DCMAKE_FIND_ROOT_PATH="$sysroot" \
    -DTUNDREL_WINDOWS_SYSROOT="$sysroot" -DTUNDREL_NATIVE_BUILD="$PWD/build" \
    -DTUNDREL_TESTS=OFF -DTUNDREL_BENCHMARKS=OFF >/dev/null
fi
cmake --build build-windows

# The zip: the programs stripped of their symbols, the text files with Windows line ends.
version=$(sed -n 's/^project(Tundrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=tundrel-$version-windows-x64
stage=build-windows/zip/$name
rm -rf build-windows/zip "build-windows/$name.zip"
mkdir -p "$stage"
$host-strip -o "$stage/tundrel.exe" build-windows/tundrel.exe
$host-strip -o "$stage/sbx.exe" build-windows/sbx.exe
cp build/Media.sbx "$stage/"
sed 's/$/\r/' windows/README.txt >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
# The same sources give the same zip: the files' times are the release's.
stamp=$(sed -n 's/^ -- .*>  //p' packaging/changelog | head -n 1)
touch -d "${stamp:-2026-01-01}" "$stage"/* "$stage"
(cd build-windows/zip && TZ=UTC zip -q -X -r -9 "../$name.zip" "$name")
unzip -l "build-windows/$name.zip" | tail -n +2
printf '%s: %d bytes\n' "build-windows/$name.zip" "$(stat -c %s "build-windows/$name.zip")"
