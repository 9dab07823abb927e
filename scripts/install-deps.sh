#!/usr/bin/env bash
# Installs the Debian packages Tundrel needs, in groups:
#   (always)    building the game and playing it
#   --test      the test toolchain: GoogleTest, Xvfb, clang with its sanitizer runtimes, the
#               desktop-file and metainfo validators, xdotool (key taps sent to a real window)
#   --package   the package checks of scripts/package.sh (lintian)
#   --web       the browser build and its test (scripts/install-deps-web.sh: emscripten,
#               chromium, the source package lists, the test's browser driver from npm)
#   --windows   the Windows build and its test: Debian's mingw-w64 (posix threads), wine, zip,
#               and the source package lists (as --web adds them)
#   --list      print the packages of the chosen groups and install nothing
# Idempotent: does nothing when everything is present, and refreshes the package lists only
# when something has to be installed. A new group is one more entry in `groups` below.
set -euo pipefail

declare -A groups
groups[play]="build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev libgl-dev libgl1-mesa-dri
  libpng-dev libjpeg-dev liblzo2-dev libmp3lame-dev"
# clang, libclang-rt-dev, llvm: the sanitizer build, libFuzzer, symbolized reports.
# alsa-utils: its spoken WAVE files are test input the audio loader did not write.
groups[test]="libgtest-dev xvfb xauth clang-format clang libclang-rt-dev llvm alsa-utils
  desktop-file-utils appstream man-db xdotool"
groups[package]="lintian"
groups[windows]="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 zip unzip dpkg-dev util-linux"

usage() {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
}

chosen=(play)
list_only=false
with_web=false
for arg in "$@"; do
  case "$arg" in
    --list) list_only=true ;;
    --web) with_web=true ;;
    -h | --help) usage; exit 0 ;;
    --*)
      if [ -z "${groups[${arg#--}]+set}" ]; then
        echo "install-deps: unknown option '$arg'" >&2
        usage >&2
        exit 2
      fi
      chosen+=("${arg#--}")
      ;;
    *) echo "install-deps: unexpected argument '$arg'" >&2; exit 2 ;;
  esac
done

packages=()
for group in "${chosen[@]}"; do
  # shellcheck disable=SC2206  # the lists are words on purpose
  packages+=(${groups[$group]})
done

if $list_only; then
  printf '%s\n' "${packages[@]}" | sort -u
  exit 0
fi
if $with_web; then "$(dirname "$0")/install-deps-web.sh"; fi
# The Windows build compiles its libraries from Debian's source packages too.
for group in "${chosen[@]}"; do
  if [ "$group" = windows ]; then "$(dirname "$0")/install-deps-web.sh" --sources-only; fi
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: these Debian packages are missing: ${missing[*]}" >&2
    echo "install-deps: installing them needs root, and sudo is not installed. As root, run:" >&2
    echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
