#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Runs as root on a fresh machine; a no-op when everything is there.
set -euo pipefail
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev faketime
  nlohmann-json3-dev python3-jsonschema "$@")
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
