#!/usr/bin/env bash
# Builds the browser version of the game into build-web/: tundrel.html, tundrel.js,
# tundrel.wasm and tundrel.data (the media archive). Uses Debian's emscripten and the libraries
# scripts/web-sysroot.sh builds from Debian's source packages (cached outside the repository,
# in $TUNDREL_WEB_CACHE or ~/.cache/tundrel-web). The media comes from the native build (build/),
# whose tools generate it. Serve build-web/ with any static web server, e.g.
#   python3 -m http.server -d build-web 8000   and open http://localhost:8000/tundrel.html
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v emcc >/dev/null; then
  echo "web.sh: emscripten is missing: run scripts/install-deps.sh --web" >&2
  exit 1
fi
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

sysroot=$(scripts/web-sysroot.sh | tail -n 1)

# The media archive, from the native tools.
scripts/install-deps.sh
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DTUNDREL_WERROR=ON >/dev/null
fi
cmake --build build --target media

if [ ! -f build-web/CMakeCache.txt ]; then
  EM_PKG_CONFIG_PATH="$sysroot/lib/pkgconfig" emcmake cmake -S . -B build-web -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DTUNDREL_TESTS=OFF -DTUNDREL_BENCHMARKS=OFF \
    -DCMAKE_PREFIX_PATH="$sysroot" -DCMAKE_FIND_ROOT_PATH="$sysroot" \
    -DTUNDREL_WEB_MEDIA="$PWD/build/Media.sbx" >/dev/null
fi
cmake --build build-web

for file in tundrel.html tundrel.js tundrel.wasm tundrel.data; do
  printf '%-14s %9d bytes\n' "$file" "$(stat -c %s "build-web/$file")"
done
echo "Serve it: python3 -m http.server -d build-web 8000, then open http://localhost:8000/tundrel.html"
