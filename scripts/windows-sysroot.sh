#!/usr/bin/env bash
# Builds the libraries the game links (SDL2, SDL_mixer, libpng with zlib, libjpeg, liblzo2) for
# 64-bit Windows with Debian's mingw-w64, from Debian's own source packages, into a sysroot kept
# outside the repository: $TUNDREL_WINDOWS_CACHE (default ~/.cache/tundrel-windows). All are
# static libraries, so the game's program carries them and the zip needs none of their DLLs.
# Each library is built once per source version; later runs find its stamp and skip it. Prints
# the sysroot's path last. Needs `scripts/install-deps.sh --windows`.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cache=${TUNDREL_WINDOWS_CACHE:-$HOME/.cache/tundrel-windows}
sysroot=$cache/sysroot
mkdir -p "$cache/src" "$cache/build" "$sysroot"
log=$cache/build/last.log
jobs=$(nproc)
host=x86_64-w64-mingw32
toolchain=$root/windows/toolchain.cmake
export CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-ar RANLIB=$host-ranlib

# The newest version of a source package whose files the archive still serves: a security
# update's sources may be missing from a mirror that carries its binaries.
fetch_source() { # package -> prints the unpacked source folder
  local package=$1 version dsc dir
  for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -u -r -V); do
    dsc=$(ls "$cache/src/${package}_${version#*:}.dsc" 2>/dev/null || true)
    if [ -z "$dsc" ]; then
      (cd "$cache/src" && apt-get source --download-only "$package=$version" >>"$log" 2>&1) || continue
      dsc=$cache/src/${package}_${version#*:}.dsc
    fi
    dir=$cache/src/$package-${version#*:}
    if [ ! -d "$dir" ]; then
      dpkg-source --no-check -x "$dsc" "$dir.tmp" >>"$log" 2>&1
      mv "$dir.tmp" "$dir"
    fi
    echo "$dir"
    return 0
  done
  echo "windows-sysroot: could not fetch the source package $package (see $log)" >&2
  return 1
}

# Configures, builds and installs one CMake project into the sysroot.
cmake_build() { # source-dir build-name cmake-args...
  local src=$1 name=$2
  shift 2
  rm -rf "$cache/build/$name"
  # Called under `if`, where errexit is off: every step stops the build itself.
  cmake -S "$src" -B "$cache/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$sysroot" \
    -DCMAKE_PREFIX_PATH="$sysroot" -DCMAKE_FIND_ROOT_PATH="$sysroot" "$@" >>"$log" 2>&1 &&
    cmake --build "$cache/build/$name" -j "$jobs" >>"$log" 2>&1 &&
    cmake --install "$cache/build/$name" >>"$log" 2>&1
}

build_library() { # package build-function
  local package=$1 build=$2 src stamp
  src=$(fetch_source "$package")
  stamp=$sysroot/.built-$(basename "$src")
  [ -f "$stamp" ] && return 0
  echo "windows-sysroot: building $(basename "$src")" >&2
  if ! "$build" "$src"; then
    echo "windows-sysroot: building $(basename "$src") failed; the end of $log:" >&2
    tail -n 30 "$log" >&2
    return 1
  fi
  rm -f "$sysroot/.built-$package-"*
  touch "$stamp"
}

# Debian's zlib source leaves out the Windows files its CMake project lists; its own configure
# script needs none of them.
build_zlib() {
  rm -rf "$cache/build/zlib"
  cp -r "$1" "$cache/build/zlib"
  (cd "$cache/build/zlib" &&
    CHOST=$host ./configure --static --prefix="$sysroot" &&
    make -j "$jobs" libz.a &&
    make install) >>"$log" 2>&1
}

build_libpng() {
  cmake_build "$1" libpng -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DZLIB_ROOT="$sysroot" -DZLIB_LIBRARY="$sysroot/lib/libz.a" \
    -DZLIB_INCLUDE_DIR="$sysroot/include"
}

# Only the library is built: its programs are of no use here, and its SIMD parts would need
# an assembler the game does not otherwise need.
build_libjpeg() {
  local build=$cache/build/libjpeg
  rm -rf "$build"
  cmake -S "$1" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$sysroot" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF >>"$log" 2>&1 &&
    cmake --build "$build" -j "$jobs" --target jpeg-static >>"$log" 2>&1 &&
    mkdir -p "$sysroot/include" "$sysroot/lib" &&
    cp "$1"/jpeglib.h "$1"/jerror.h "$1"/jmorecfg.h "$build"/jconfig.h "$sysroot/include/" &&
    cp "$build"/libjpeg.a "$sysroot/lib/"
}

build_lzo2() {
  rm -rf "$cache/build/lzo2"
  cp -r "$1" "$cache/build/lzo2"
  (cd "$cache/build/lzo2" &&
    ./configure --host=$host --prefix="$sysroot" --disable-asm --disable-shared \
      --enable-static &&
    make -j "$jobs" src/liblzo2.la &&
    make install-libLTLIBRARIES install-pkgincludeHEADERS install-pkgconfigDATA) >>"$log" 2>&1
}

build_sdl2() {
  cmake_build "$1" sdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DCMAKE_INSTALL_LIBDIR=lib
}

# Only what the game plays: WAVE effects and MP3 music (the bundled dr_mp3).
build_sdl2_mixer() {
  cmake_build "$1" sdl2-mixer -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_WAVE=ON \
    -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
    -DSDL2MIXER_OGG=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_CMD=OFF -DSDL2_DIR="$sysroot/lib/cmake/SDL2" \
    -DCMAKE_INSTALL_LIBDIR=lib &&
    write_mixer_pc "$(basename "$1")"
}

# SDL_mixer's CMake project writes a pkg-config file only for a shared library. Windows plays
# its music through winmm, which SDL2's own file names among its static libraries.
write_mixer_pc() { # source-folder-name
  local version=${1#libsdl2-mixer-}
  version=${version%%+*}
  mkdir -p "$sysroot/lib/pkgconfig"
  cat >"$sysroot/lib/pkgconfig/SDL2_mixer.pc" <<PC
prefix=$sysroot
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SDL2_mixer
Description: mixer library for Simple DirectMedia Layer
Version: $version
Requires: sdl2
Libs: -L\${libdir} -lSDL2_mixer
Cflags: -I\${includedir}/SDL2
PC
}

: >"$log"
build_library zlib build_zlib
build_library libpng1.6 build_libpng
build_library libjpeg-turbo build_libjpeg
build_library lzo2 build_lzo2
build_library libsdl2 build_sdl2
build_library libsdl2-mixer build_sdl2_mixer
echo "$sysroot"
