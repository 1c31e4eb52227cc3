#!/usr/bin/env bash
# Times the real program on a generated large zone (a Release build), and
# reports the generator's time, the run's wall time and its peak memory.
# Usage: scripts/bench.sh [users] [score rows] [score IDs]
set -euo pipefail
cd "$(dirname "$0")/.."
users=${1:-1000000}
scores=${2:-5000000}
score_ids=${3:-4}
bash scripts/install-deps.sh time
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYHAWK_TESTS=OFF >/dev/null
cmake --build build-release --target tallyhawk zonegen
zone=$(mktemp -d /tmp/tallyhawk-bench-XXXXXX)
trap 'rm -rf "$zone"' EXIT
measure() {  # label, command...
  local label=$1; shift
  /usr/bin/time -f "$label: %e s wall, %M KiB peak" "$@" >/dev/null
}
measure "zonegen ($users users, $scores rows)" \
  ./build-release/zonegen --users "$users" --squads $((users / 50)) --scores "$scores" \
  --score-ids "$score_ids" --seed 1 --out "$zone"
cd "$zone"
printf '[Output]\nText=1\nHTML=1\nHTMLGroup=1\n' > tallyhawk.ini
measure "tallyhawk, all outputs, TopX 100" "$OLDPWD/build-release/tallyhawk" /veryquiet
printf '[General]\nTopX=4294967295\n[Output]\nHTMLGroup=0\n' > tallyhawk.ini
measure "tallyhawk, statistics only, TopX 4294967295" "$OLDPWD/build-release/tallyhawk" /veryquiet
