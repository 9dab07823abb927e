#!/usr/bin/env bash
# Installs what the browser build and its test need: Debian's emscripten, chromium for the
# headless test, npm for the test's browser driver, and a deb-src entry beside each binary
# source of the package lists, since scripts/web.sh builds the game's libraries for the web from
# Debian's own source packages. Idempotent; called by `scripts/install-deps.sh --web`.
set -euo pipefail

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

# --sources-only: the source package lists alone (the Windows build's libraries need them too).
sources_only=false
if [ "${1:-}" = --sources-only ]; then sources_only=true; fi

packages=(dpkg-dev)
if ! $sources_only; then
  packages+=(emscripten chromium)
  # nodejs from elsewhere may carry npm itself; Debian's npm package would conflict with it.
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# Source packages: the same suites and mirrors as the binary lists, as types deb-src.
need_update=0
if ! apt-cache showsrc zlib >/dev/null 2>&1 || [ -z "$(apt-cache showsrc zlib 2>/dev/null)" ]; then
  src_list=/etc/apt/sources.list.d/tundrel-deb-src.sources
  {
    # Only Debian's own archives: other vendors' lists may publish no sources at all.
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -e "$f" ] && [ "$f" != "$src_list" ] || continue
      awk 'BEGIN { RS = ""; ORS = "\n\n" }
           /Types:[^\n]*deb([ \n]|$)/ && /debian\.org/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f"
    done
    if [ -f /etc/apt/sources.list ]; then
      grep -E '^deb [^ ]*debian\.org' /etc/apt/sources.list |
        while read -r _ uri suite components; do
          printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n\n' \
            "$uri" "$suite" "$components"
        done
    fi
  } | "${sudo_cmd[@]}" tee "$src_list" >/dev/null
  echo "install-deps: added source package lists ($src_list)" >&2
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}" >&2
  need_update=1
fi
if [ $need_update -eq 1 ]; then
  "${sudo_cmd[@]}" apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if $sources_only; then exit 0; fi

# The browser test's driver for chromium, at the version its lock file names.
test_dir=$(cd "$(dirname "$0")/../web/test" && pwd)
if [ ! -f "$test_dir/node_modules/puppeteer-core/package.json" ] ||
  [ "$test_dir/package-lock.json" -nt "$test_dir/node_modules/.package-lock.json" ]; then
  echo "install-deps: installing puppeteer-core from npm into web/test/node_modules" >&2
  (cd "$test_dir" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
