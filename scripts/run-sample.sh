#!/usr/bin/env bash
# Builds Tallyhawk, generates a small sample zone in sample/ and runs Tallyhawk
# there with every output switched on. Usage: scripts/run-sample.sh [zonegen options...]
set -euo pipefail
cd "$(dirname "$0")/.."
# The build directory is the one scripts/run-tests.sh uses, configured with
# the tests.
bash scripts/install-deps.sh --tests
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target tallyhawk zonegen
mkdir -p sample
./build/zonegen --out sample "$@"
if [ ! -f sample/tallyhawk.ini ]; then
  # The first run writes the settings template; switch every output on in it.
  (cd sample && ../build/tallyhawk /veryquiet)
  sed -i 's/^Text=0/Text=1/; s/^HTML=0/HTML=1/' sample/tallyhawk.ini
fi
(cd sample && ../build/tallyhawk)
echo
echo "The pages are in $(pwd)/sample; start with:"
ls "$(pwd)"/sample/PilotStats*.html "$(pwd)"/sample/SquadStats*.html "$(pwd)"/sample/Usage.html
