#!/usr/bin/env bash
# Fails when a file under src/ includes a header of a folder above its own.
# The folders, lowest first; src/main.cpp sits above them all.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(platform util config db stats report site run)
rank() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo "${#layers[@]}"  # src/ itself: main.cpp
}
status=0
while IFS= read -r file; do
  folder=$(dirname "${file#src/}")
  [ "$folder" = . ] && folder=main
  own=$(rank "$folder")
  while IFS= read -r line; do
    included=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"${line#*:}")
    if [ "$(rank "$included")" -gt "$own" ]; then
      echo "$file:$line"
      status=1
    fi
  done < <(grep -nE '^#include "[^/"]+/' "$file" || true)
done < <(find src -name '*.cpp' -o -name '*.h' | sort)
if [ $status -ne 0 ]; then
  echo "The includes above point to a layer above their file's own." >&2
fi
exit $status
