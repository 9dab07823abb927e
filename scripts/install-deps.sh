#!/usr/bin/env bash
# Installs the Debian packages Tundrel builds, runs and tests with (with --web, also those of
# the browser build: scripts/install-deps-web.sh).
# Idempotent: does nothing when everything is present, and refreshes the package
# lists only when something has to be installed.
set -euo pipefail

# --web: also what the browser build and its test need.
if [ "${1:-}" = "--web" ]; then "$(dirname "$0")/install-deps-web.sh"; fi

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev
  libgl-dev libgl1-mesa-dri
  libpng-dev libjpeg-dev liblzo2-dev
  libmp3lame-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth
  clang-format
  clang libclang-rt-dev llvm  # the sanitizer build, libFuzzer, symbolized reports
  alsa-utils  # its spoken WAVE files are test input the audio loader did not write
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
