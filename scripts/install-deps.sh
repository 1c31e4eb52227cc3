#!/usr/bin/env bash
# Installs the Debian packages the build needs, when missing, and those the
# tests need with --tests. Runs as root on a fresh machine; a no-op when
# everything is there.
# Usage: scripts/install-deps.sh [--tests] [further packages...]
set -euo pipefail
packages=(cmake ninja-build g++ nlohmann-json3-dev libkainjow-mustache-dev)
if [ "${1:-}" = --tests ]; then
  shift
  # GoogleTest, libfaketime for the end-to-end tests' frozen clock, the
  # JSON Schema validator of the golden runs' JSON files, and the HTML5
  # parser that checks the site's pages.
  packages+=(libgtest-dev libgmock-dev faketime python3-jsonschema
             python3-html5lib)
fi
packages+=("$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
    || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
