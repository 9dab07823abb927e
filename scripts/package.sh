#!/usr/bin/env bash
# Makes the Debian package from a release build in build-package/ (cpack -G DEB), lists its
# files and checks it with lintian, which must report no errors. Installs lintian first.
# Built as Debian builds a game: prefix /usr, the program in /usr/games, the distribution's
# optimisation and hardening flags. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_INSTALL_BINDIR=games -DTUNDREL_TESTS=OFF -DTUNDREL_BENCHMARKS=OFF \
  -DCMAKE_C_FLAGS_RELEASE=-DNDEBUG -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-package
rm -f build-package/tundrel_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/tundrel_*.deb)
# Every control field (Depends and Architecture come before Package in the file).
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb"
lintian --fail-on error --display-info "$deb"
echo "$deb"
