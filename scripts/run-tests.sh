#!/usr/bin/env bash
# Builds Tallyhawk and runs every test. Usage: scripts/run-tests.sh [build-dir] [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --tests
build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" -G Ninja -DTALLYHAWK_TESTS=ON "$@" >/dev/null
cmake --build "$build_dir"
ctest --test-dir "$build_dir" --output-on-failure -j2
