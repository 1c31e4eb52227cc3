#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a short
# while (FUZZ_SECONDS, default 20) from its seed corpus in fuzz/corpus/.
# Any finding (a crash, a sanitizer report, a failed check, a slow input)
# fails the script. New inputs go to a scratch directory, not the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh clang libclang-rt-14-dev
seconds=${FUZZ_SECONDS:-20}
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DTALLYHAWK_FUZZ=ON -DTALLYHAWK_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for seeds in fuzz/corpus/*/; do
  target=$(basename "$seeds")
  mkdir -p "$work/$target"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$work/$target-" \
      "$work/$target" "$seeds" >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log"
    for input in "$work/$target"-*; do
      [ -e "$input" ] && { echo "Input $input:"; od -c "$input" | head -40; }
    done
    echo "fuzz: $target found a fault"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log")
  echo "fuzz: $target ran $runs inputs in ${seconds}s, no finding"
done
