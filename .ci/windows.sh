#!/usr/bin/env bash
# The Windows job: cross-builds Tallyhawk with MinGW-w64, runs every test
# under Wine, builds the ZIP (when the packaging rules are in the tree), and
# runs the Windows program on a generated zone side by side with the Linux
# build: every report and console line the same apart from the separator in
# paths and the console's CR LF.
# Usage: .ci/windows.sh [build-dir] (default build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/${1:-build-windows}
start=$SECONDS
step() { echo "== windows: $* ($((SECONDS - start)) s)"; }

step "packages"
# --tests: the tests' JSON check runs on this machine's python3, and the
# Linux build to compare with is configured with the tests.
bash scripts/install-deps.sh --tests g++-mingw-w64-x86-64-posix wine64 wine googletest

# Wine starts its prefix in the background on first use; a test that ran
# then would hang, so the prefix is made and booted before anything runs.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wineserver -p
trap 'wineserver -k || true' EXIT
timeout 300 wineboot -i >/dev/null 2>&1

toolchain=$root/cmake/mingw-w64-x86_64.cmake
gtest=$build/googletest-install
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  step "GoogleTest for Windows"
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest" >/dev/null
  cmake --build "$build/googletest" -j2 >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

# nlohmann-json is header-only: its Debian headers serve the cross build
# from a prefix of their own, away from the host's other headers.
json=$build/nlohmann-json
if [ ! -f "$json/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake" ]; then
  mkdir -p "$json/include" "$json/share/cmake"
  cp -r /usr/include/nlohmann "$json/include/"
  cp -r /usr/share/cmake/nlohmann_json "$json/share/cmake/"
fi

# kainjow's Mustache is header-only too: its one header, from a directory
# of its own.
mustache=$build/kainjow-mustache
if [ ! -f "$mustache/include/kainjow/mustache.hpp" ]; then
  mkdir -p "$mustache/include"
  cp -r /usr/include/kainjow "$mustache/include/"
fi

step "build"
cmake -S . -B "$build/main" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DGTest_DIR="$gtest/lib/cmake/GTest" \
  -Dnlohmann_json_DIR="$json/share/cmake/nlohmann_json" \
  -DTALLYHAWK_MUSTACHE_INCLUDE_DIR="$mustache/include" >/dev/null
cmake --build "$build/main" -j2

step "tests under Wine"
ctest --test-dir "$build/main" -j2 --output-on-failure --timeout 120

exe_dir=$build/main
if [ -f cmake/Packaging.cmake ]; then
  step "ZIP"
  (cd "$build/main" && cpack -G ZIP)
  zip_file=$(ls "$build"/main/tallyhawk-*-win64.zip)
  rm -rf "$build/unpacked" && mkdir -p "$build/unpacked"
  (cd "$build/unpacked" && cmake -E tar xf "$zip_file")
  exe_dir=$(dirname "$(find "$build/unpacked" -name tallyhawk.exe)")
  test -f "$exe_dir/zonegen.exe"
  echo "unpacked $(basename "$zip_file"): $(cd "$build/unpacked" && find . -type f | sort | tr '\n' ' ')"
fi

step "side by side with the Linux build"
if [ ! -x build/tallyhawk ]; then
  cmake -S . -B build -G Ninja >/dev/null
  cmake --build build --target tallyhawk zonegen
fi
compare=$build/compare
rm -rf "$compare" && mkdir -p "$compare"
cd "$compare"
zone=(--seed 11 --users 3000 --score-ids 4 --now "$(date +%s)")
"$root/build/zonegen" "${zone[@]}" --out linux >/dev/null
timeout 120 wine "$exe_dir/zonegen.exe" "${zone[@]}" --out windows >/dev/null
for db in user.dat squad.dat score.dat; do cmp "linux/$db" "windows/$db"; done
for side in linux windows; do
  printf '[Output]\nText=1\nHTML=1\nHTMLGroup=1\nUseSubDir=1\nDirectory=out/\n[Site]\nEnabled=1\n' \
    >"$side/tallyhawk.ini"
  mkdir "$side/out"
done
(cd linux && TZ=UTC0 "$root/build/tallyhawk" | sed 's/$/\r/' >../linux.console)
(cd windows && TZ=UTC0 timeout 120 wine "$exe_dir/tallyhawk.exe" >../windows.console)
# Run times and build dates differ between the two runs; the Windows
# separator is written as '/'.
for side in linux windows; do
  mv "$side.console" "$side/console.txt"
  find "$side" -type f ! -name '*.dat' -exec sed -i -E \
    -e 's/[A-Z][a-z]{2} [A-Z][a-z]{2} [0-3][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}/<run time>/g' \
    -e 's/ Build [A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}/ Build <date>/' \
    -e 's|\\|/|g' {} +
done
diff -r linux windows
echo "$(find windows -type f | wc -l) files the same"
step "done"
