#!/usr/bin/env bash
# Measures Tallyhawk (a Release build) against the floors of its own input
# and output, all in one run of this script, on zones that zonegen makes:
#   1. the large zone (1,000,000 users, 40,000 squads, 5,000,000 score rows
#      in 50 score IDs): the read floor (every byte of the three files read
#      once), the write floor (the files of a full run written once more,
#      each under a temporary name renamed over the old one), the run with
#      no output switched on, the full run (every list and every output,
#      UseSubDir=1), the full run's peak memory, and the ratios;
#   2. the full run at 1/4, 1/2, 1 and 2 times that zone;
#   3. the full run on the zone of scattered IDs (up to 4294967295) against
#      the dense one of the same size;
#   4. the site ([Site] Enabled=1) on the large zone: its pages and bytes,
#      the write floor of its own files (the same number and sizes, each
#      written once under a temporary name renamed into place), and what it
#      adds to the full run, against at most 1.5x that floor + 0.1 s.
# Times are medians of several runs after a warm-up run (wall clock, and the
# CPU time user + system beside it: the machine is shared, so wall times
# carry the load of other work).
# The zones go under $TMPDIR (default /tmp): the write floor and the full
# run depend on that file system's options (see the README), so set TMPDIR
# to measure on the disk the reports will go to.
# Usage: [TMPDIR=dir] scripts/bench.sh [runs] [site]   (default 7 runs;
#   "site": the large zone's site alone, part 4)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
only=${2:-}
bash scripts/install-deps.sh time libbenchmark-dev python3 >&2
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTALLYHAWK_TESTS=OFF -DTALLYHAWK_BENCHMARKS=ON >/dev/null
cmake --build build-release --target tallyhawk zonegen tallyhawk_floors >&2
bin=$PWD/build-release
work=$(mktemp -d --tmpdir tallyhawk-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# The medians of the wall time, the CPU time (s) and the peak memory (KiB)
# of the `times` lines in file `from` ("wall user system KiB").
medians() {  # from
  python3 - "$1" <<'PY'
import statistics, sys
rows = [list(map(float, line.split())) for line in open(sys.argv[1]) if line.strip()]
wall = statistics.median(r[0] for r in rows)
cpu = statistics.median(r[1] + r[2] for r in rows)
rss = statistics.median(r[3] for r in rows)
print(f"{wall:.3f} {cpu:.3f} {rss:.0f}")
PY
}

# Runs each of two commands, each in its own directory, once to warm up,
# then `runs` times in turn (one, two, one, two...), so that both meet the
# same state of the machine; prints the medians of each, a line each.
measure_pair() {  # dir1, command1, dir2, command2
  local i
  : >"$work/times1"
  : >"$work/times2"
  (cd "$1" && $2 >/dev/null 2>&1)
  (cd "$3" && $4 >/dev/null 2>&1)
  for ((i = 0; i < runs; ++i)); do
    (cd "$1" && /usr/bin/time -f "%e %U %S %M" -a -o "$work/times1" $2 \
       >/dev/null 2>&1)
    (cd "$3" && /usr/bin/time -f "%e %U %S %M" -a -o "$work/times2" $4 \
       >/dev/null 2>&1)
  done
  medians "$work/times1"
  medians "$work/times2"
}

# One command alone, as measure_pair measures each.
measure() {  # dir, command
  local i
  : >"$work/times1"
  (cd "$1" && $2 >/dev/null 2>&1)
  for ((i = 0; i < runs; ++i)); do
    (cd "$1" && /usr/bin/time -f "%e %U %S %M" -a -o "$work/times1" $2 \
       >/dev/null 2>&1)
  done
  medians "$work/times1"
}

# A zone in $work/<name>, with a directory for each kind of run.
make_zone() {  # name, scale (of the large zone), zonegen options...
  local name=$1 scale=$2; shift 2
  local dir=$work/$name
  python3 - "$scale" <<'PY' >"$work/sizes"
import sys
s = float(sys.argv[1])
print(int(1000000 * s), int(40000 * s), int(5000000 * s))
PY
  read -r users squads scores <"$work/sizes"
  "$bin/zonegen" --users "$users" --squads "$squads" --scores "$scores" \
    --score-ids 50 --seed 1 --now 1796558400 --out "$dir" "$@" >/dev/null
  mkdir -p "$dir/compute" "$dir/full" "$dir/floor" "$dir/site" "$dir/site-floor"
  ln -s ../user.dat ../squad.dat ../score.dat "$dir/compute/"
  ln -s ../user.dat ../squad.dat ../score.dat "$dir/full/"
  ln -s ../user.dat ../squad.dat ../score.dat "$dir/site/"
  printf '[Output]\nText=0\nHTML=0\nHTMLGroup=0\n' >"$dir/compute/tallyhawk.ini"
  printf '[Output]\nText=1\nHTML=1\nHTMLGroup=1\nUseSubDir=1\n' \
    >"$dir/full/tallyhawk.ini"
  printf '[Output]\nText=1\nHTML=1\nHTMLGroup=1\nUseSubDir=1\n[Site]\nEnabled=1\n' \
    >"$dir/site/tallyhawk.ini"
}

input_bytes() {  # zone
  cat "$work/$1"/*.dat | wc -c
}

full_run() {  # zone
  measure "$work/$1/full" "$bin/tallyhawk"
}

# The write floor needs the files of a full run: the reports it wrote, with
# their directories and sizes (the full run must have run once).
prepare_write_floor() {  # zone
  local dir=$work/$1
  (cd "$dir/full" && find . -type f ! -name '*.dat' ! -name '*.tmp*' \
     ! -name tallyhawk.ini ! -name tallyhawk.log ! -name zoneinfo.txt \
     -printf '%s %p\n') >"$dir/floor/manifest"
  (cd "$dir/floor" && cut -d' ' -f2 manifest | xargs -n1 dirname | sort -u |
     xargs mkdir -p)
  echo "$(wc -l <"$dir/floor/manifest") files, $(awk '{s += $1} END {print s}' \
    "$dir/floor/manifest") bytes" >"$dir/floor/summary"
}

ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }
sum() { python3 -c "print(f'{$1 + $2:.3f}')"; }

# The site's write floor: its own files (the run must have run once).
prepare_site_floor() {  # zone
  local dir=$work/$1
  (cd "$dir/site" && find index.html pilots squads -type f ! -name '*.tmp*' \
     -printf '%s %p\n') >"$dir/site-floor/manifest"
  (cd "$dir/site-floor" && mkdir -p pilots squads)
}

# Part 4: what the site adds to the full run on the large zone.
site_part() {
  (cd "$work/large/site" && "$bin/tallyhawk" >/dev/null 2>&1)
  prepare_site_floor large
  local manifest=$work/large/site-floor/manifest
  local pages bytes
  pages=$(wc -l <"$manifest")
  bytes=$(awk '{s += $1} END {print s}' "$manifest")
  measure "$work/large/site-floor" "$bin/bench/tallyhawk_floors write manifest" \
    >"$work/pair"
  read -r site_floor_wall site_floor_cpu _ <"$work/pair"
  measure_pair "$work/large/full" "$bin/tallyhawk" "$work/large/site" \
    "$bin/tallyhawk" >"$work/pair"
  { read -r plain_wall plain_cpu _; read -r site_wall site_cpu _; } <"$work/pair"
  local added added_cpu target
  added=$(python3 -c "print(f'{$site_wall - $plain_wall:.3f}')")
  added_cpu=$(python3 -c "print(f'{$site_cpu - $plain_cpu:.3f}')")
  target=$(python3 -c "print(f'{1.5 * $site_floor_wall + 0.1:.3f}')")
  echo
  echo "4. The site on the large zone: $pages pages, $bytes bytes"
  echo
  echo "| what | wall s | CPU s | figure | target |"
  echo "| --- | --- | --- | --- | --- |"
  echo "| the site's write floor | $site_floor_wall | $site_floor_cpu | | |"
  echo "| full run | $plain_wall | $plain_cpu | | |"
  echo "| full run with the site | $site_wall | $site_cpu | | |"
  echo "| what the site adds | $added | $added_cpu | $(ratio "$added" "$site_floor_wall")x the floor | at most $target s (1.5x the floor + 0.1 s) |"
}

echo "Building the zones..." >&2
make_zone large 1
if [ "$only" = site ]; then
  sync
  echo "Measuring (median of $runs runs after a warm-up)..." >&2
  site_part
  exit 0
fi
make_zone quarter 0.25
make_zone half 0.5
make_zone double 2
make_zone scattered 1 --scatter
# The zones go to the disk before anything is measured, so that no run waits
# for their writing back.
sync

echo "Measuring (median of $runs runs after a warm-up)..." >&2
measure_pair "$work/large" "$bin/bench/tallyhawk_floors read user.dat squad.dat score.dat" \
  "$work/large/compute" "$bin/tallyhawk" >"$work/pair"
{ read -r read_wall read_cpu _; read -r compute_wall compute_cpu _; } <"$work/pair"
(cd "$work/large/full" && "$bin/tallyhawk" >/dev/null 2>&1)
prepare_write_floor large
measure_pair "$work/large/floor" "$bin/bench/tallyhawk_floors write manifest" \
  "$work/large/full" "$bin/tallyhawk" >"$work/pair"
{ read -r write_wall write_cpu _; read -r full_wall full_cpu full_kib; } <"$work/pair"
input=$(input_bytes large)
floors_wall=$(sum "$read_wall" "$write_wall")
floors_cpu=$(sum "$read_cpu" "$write_cpu")

echo
echo "File system of the zones: $(findmnt -n -o FSTYPE,OPTIONS -T "$work" |
  awk '{print $1 " (" $2 ")"}')"
echo
echo "1. The large zone: $(python3 -c "print(f'{$input / 1048576:.0f}')") MiB of input; the full run writes $(cat "$work/large/floor/summary")"
echo
echo "| what | wall s | CPU s | ratio (wall) | target |"
echo "| --- | --- | --- | --- | --- |"
echo "| read floor | $read_wall | $read_cpu | | |"
echo "| write floor | $write_wall | $write_cpu | | |"
echo "| no output (compute only) | $compute_wall | $compute_cpu | $(ratio "$compute_wall" "$read_wall")x the read floor | at most 3x |"
echo "| full run | $full_wall | $full_cpu | $(ratio "$full_wall" "$floors_wall")x the two floors ($floors_wall s) | at most 1.5x |"
echo "| peak memory, full run | $((full_kib / 1024)) MiB | | $(ratio "$full_kib * 1024" "$input") of the input | at most 0.75 |"
echo
echo "(CPU time ratios: compute only $(ratio "$compute_cpu" "$read_cpu")x the read floor, full run $(ratio "$full_cpu" "$floors_cpu")x the two floors)"

echo
echo "2. The full run as the zone grows"
echo
echo "| zone | input MiB | wall s | CPU s | peak MiB | wall against the half as large |"
echo "| --- | --- | --- | --- | --- | --- |"
previous=
for zone in quarter half large double; do
  if [ "$zone" = large ]; then
    wall=$full_wall cpu=$full_cpu kib=$full_kib
  else
    read -r wall cpu kib < <(full_run "$zone")
  fi
  growth=
  [ -z "$previous" ] || growth="$(ratio "$wall" "$previous")x (at most 2.2x)"
  echo "| $zone | $(( $(input_bytes "$zone") / 1048576 )) | $wall | $cpu | $((kib / 1024)) | $growth |"
  previous=$wall
done

echo
measure_pair "$work/scattered/full" "$bin/tallyhawk" "$work/large/full" \
  "$bin/tallyhawk" >"$work/pair"
{ read -r scattered_wall scattered_cpu _; read -r full_wall full_cpu _; } <"$work/pair"
echo "3. Scattered IDs: the full run takes $scattered_wall s wall ($scattered_cpu s CPU) against $full_wall s ($full_cpu s) on the dense zone: $(ratio "$scattered_wall" "$full_wall")x (at most 1.2x)"
# Without output the comparison is free of the file system's state, which
# differs between the two directories (creating files in one where many
# were just deleted costs the system more).
measure_pair "$work/scattered/compute" "$bin/tallyhawk" "$work/large/compute" \
  "$bin/tallyhawk" >"$work/pair"
{ read -r scattered_wall scattered_cpu _; read -r compute_wall compute_cpu _; } <"$work/pair"
echo "   Without output: $scattered_wall s wall ($scattered_cpu s CPU) against $compute_wall s ($compute_cpu s): $(ratio "$scattered_wall" "$compute_wall")x"
site_part
