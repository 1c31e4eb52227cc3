#!/usr/bin/env bash
# Times two Tallyhawk binaries side by side on the benchmark's large zone
# (1,000,000 users, 40,000 squads, 5,000,000 score rows in 50 score IDs):
# the run without output and the full run (every output, UseSubDir=1), each
# binary in turn (one, two, one, two...) so that both meet the same state of
# the machine and of the disk. Prints the median and quartiles of each.
# A change's effect on speed is seen here in a minute, where two runs of
# scripts/bench.sh far apart differ by more than the change.
# Usage: [TMPDIR=dir] scripts/compare-speed.sh <old tallyhawk> <new tallyhawk>
#        [runs] [zonegen]   (default 15 runs; zonegen beside the new binary)
set -euo pipefail
[ $# -ge 2 ] || { sed -n '2,10p' "$0"; exit 2; }
old=$(realpath "$1")
new=$(realpath "$2")
runs=${3:-15}
zonegen=$(realpath "${4:-$(dirname "$new")/zonegen}")
bash "$(dirname "$0")/install-deps.sh" python3 >&2
work=$(mktemp -d --tmpdir tallyhawk-speed-XXXXXX)
trap 'rm -rf "$work"' EXIT

"$zonegen" --users 1000000 --squads 40000 --scores 5000000 --score-ids 50 \
  --seed 1 --now 1796558400 --out "$work" >/dev/null
for kind in compute full; do
  for binary in old new; do
    mkdir -p "$work/$kind-$binary"
    ln -s ../user.dat ../squad.dat ../score.dat "$work/$kind-$binary/"
  done
done
for binary in old new; do
  printf '[Output]\nText=0\nHTML=0\nHTMLGroup=0\n' \
    >"$work/compute-$binary/tallyhawk.ini"
  printf '[Output]\nText=1\nHTML=1\nHTMLGroup=1\nUseSubDir=1\n' \
    >"$work/full-$binary/tallyhawk.ini"
done
sync

# Wall seconds of one run of `binary` in `dir`.
one_run() {  # dir, binary
  local start end
  start=$(date +%s%N)
  (cd "$1" && "$2" >/dev/null 2>&1)
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 ))"
}

for kind in compute full; do
  : >"$work/times"
  # A warm-up run each: the zone's pages in memory, the old reports there.
  one_run "$work/$kind-old" "$old" >/dev/null
  one_run "$work/$kind-new" "$new" >/dev/null
  for ((i = 0; i < runs; ++i)); do
    echo "old $(one_run "$work/$kind-old" "$old")" >>"$work/times"
    echo "new $(one_run "$work/$kind-new" "$new")" >>"$work/times"
  done
  python3 - "$kind" "$work/times" <<'PY'
import statistics, sys
kind, path = sys.argv[1], sys.argv[2]
times = {"old": [], "new": []}
for line in open(path):
    name, micros = line.split()
    times[name].append(int(micros) / 1e6)
label = {"compute": "no output", "full": "full run"}[kind]
medians = {}
for name in ("old", "new"):
    q1, median, q3 = statistics.quantiles(times[name], n=4)
    medians[name] = median
    print(f"{label:9}  {name}: median {median:.3f} s (quartiles {q1:.3f} to {q3:.3f})")
print(f"{label:9}  new against old: {medians['new'] / medians['old']:.2f}x")
PY
done
