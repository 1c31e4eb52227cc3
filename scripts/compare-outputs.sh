#!/usr/bin/env bash
# Runs two Tallyhawk binaries on the same generated zones and settings under a
# frozen clock, and compares every byte each run leaves: the console (stdout
# and stderr), the exit code, the log and every file of its directory.
# Usage: scripts/compare-outputs.sh <old tallyhawk> <new tallyhawk> [zonegen]
#   zonegen: the generator to make the zones with (default: the one beside
#   the new binary; it needs --scatter). LARGE=1 adds the benchmark's large
#   zone (1,000,000 users, 5,000,000 score rows) with two settings.
#   SITE_OFF=1 gives the new binary every case's settings with
#   "[Site] Enabled=0" added (the old one reads them without): the site
#   switched off must change no byte but those of the settings file. Either
#   way the settings of every golden end-to-end case run on each zone too.
set -euo pipefail
[ $# -ge 2 ] || { sed -n '2,9p' "$0"; exit 2; }
old=$(realpath "$1")
new=$(realpath "$2")
zonegen=$(realpath "${3:-$(dirname "$new")/zonegen}")
bash "$(dirname "$0")/install-deps.sh" python3 faketime >&2
# The frozen clock comes from libfaketime, preloaded directly (the faketime
# wrapper's shared memory is one more thing that can fail).
libfaketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -n 1)
work=$(mktemp -d /tmp/tallyhawk-compare-XXXXXX)
trap 'rm -rf "$work"' EXIT
now=1796558400  # 2026-12-06 12:00:00 UTC: the frozen clock of every run

# A zone in $work/zones/<name>: zonegen's files, optionally scrambled.
make_zone() {  # name, zonegen options...
  local name=$1; shift
  mkdir -p "$work/zones"
  "$zonegen" --now "$now" --out "$work/zones/$name" "$@" >/dev/null
}

# Reorders and repeats records the way a damaged or hand-edited zone might:
# score rows out of EntryID order, and a few records of every file repeated
# later with other values (the later one counts), partial records at the end.
scramble_zone() {  # name
  python3 - "$work/zones/$1" <<'PY'
import random, struct, sys
zone = sys.argv[1]
rng = random.Random(7)
for name, size in (("user.dat", 196), ("squad.dat", 72), ("score.dat", 28)):
    path = f"{zone}/{name}"
    data = open(path, "rb").read()
    records = [bytearray(data[i:i + size]) for i in range(0, len(data), size)]
    if name == "score.dat":
        # Shuffle blocks of rows, so that EntryIDs go up and down.
        blocks = [records[i:i + rng.randint(1, 400)] for i in range(0, len(records), 400)]
        rng.shuffle(blocks)
        records = [r for b in blocks for r in b]
    repeats = []
    for record in rng.sample(records, max(1, len(records) // 100)):
        copy = bytearray(record)
        if name == "score.dat":
            struct.pack_into("<HH", copy, 14, rng.randrange(65536), rng.randrange(65536))
            if rng.random() < 0.3:
                struct.pack_into("<I", copy, 8, rng.randrange(1 << 32))  # unknown user
        elif name == "user.dat":
            struct.pack_into("<I", copy, 164, rng.randrange(1000))  # another squad
            copy[4:8] = b"Dup\0"
        else:
            copy[4:8] = b"Twn\0"
        repeats.append(copy)
    records[rng.randrange(len(records)):0] = repeats
    open(path, "wb").write(b"".join(records) + b"\x01" * (size - 1))
PY
}

# Runs `binary` in a fresh copy of the zone with the settings text `ini`
# (none when it is "-"), the zone map `zoneinfo` (none when empty) and a
# directory in the way of the report `blocker` (none when empty); leaves the
# run's directory in $work/runs/<label>. Every run is made in the same
# directory, whose name standard error shows.
run_one() {  # label, binary, zone, ini, zoneinfo, blocker
  local dir=$work/run
  mkdir -p "$dir" "$work/runs"
  ln -s "$work/zones/$3"/*.dat "$dir/"
  [ "$4" = - ] || printf '%b' "$4" > "$dir/tallyhawk.ini"
  if [ "${SITE_OFF:-0}" = 1 ] && [ "$2" = "$new" ] && [ "$4" != - ]; then
    printf '\n[Site]\nEnabled=0\nTitle=off\n' >> "$dir/tallyhawk.ini"
  fi
  [ -z "$5" ] || printf '%b' "$5" > "$dir/zoneinfo.txt"
  mkdir -p "$dir/out"
  [ -z "$6" ] || mkdir -p "$dir/$6"
  local code=0
  (cd "$dir" && TZ=UTC LD_PRELOAD="$libfaketime" FAKETIME="$now" \
     FAKETIME_FMT=%s FAKETIME_DONT_FAKE_MONOTONIC=1 \
     "$2" >"$dir/.console" 2>"$dir/.stderr") || code=$?
  echo "$code" > "$dir/.exit"
  # Standard error names the run's directory, which differs between the two.
  sed -i "s|$dir|<run>|g" "$dir/.stderr"
  find "$dir" -name '*.dat' -type l -delete
  mv "$dir" "$work/runs/$1"
}

failures=0
compare() {  # zone, label, ini, [zoneinfo], [blocker]
  local zone=$1 label="$1-$2" ini=$3 zoneinfo=${4:-} blocker=${5:-}
  run_one "old-$label" "$old" "$zone" "$ini" "$zoneinfo" "$blocker"
  run_one "new-$label" "$new" "$zone" "$ini" "$zoneinfo" "$blocker"
  local files
  files=$(cd "$work/runs/new-$label" && find . -type f | wc -l)
  # With SITE_OFF the settings files differ by their [Site] section alone.
  local skip=()
  [ "${SITE_OFF:-0}" != 1 ] || skip=(-x tallyhawk.ini)
  if diff -r "${skip[@]}" "$work/runs/old-$label" "$work/runs/new-$label" >/dev/null; then
    printf 'same  %-34s %5s files, exit %s\n' "$label" "$files" \
      "$(cat "$work/runs/new-$label/.exit")"
  else
    printf 'DIFF  %s (exit %s against %s)\n' "$label" \
      "$(cat "$work/runs/old-$label/.exit")" \
      "$(cat "$work/runs/new-$label/.exit")"
    diff -rq "${skip[@]}" "$work/runs/old-$label" "$work/runs/new-$label" | head -10 || true
    diff -r "${skip[@]}" "$work/runs/old-$label" "$work/runs/new-$label" | head -20 || true
    failures=$((failures + 1))
  fi
  rm -rf "$work/runs/old-$label" "$work/runs/new-$label"
}

all='[Output]\nText=1\nHTML=1\nHTMLGroup=1\n'
settings_of_zone() {  # zone, first score ID
  local zone=$1 first=$2
  compare "$zone" defaults -
  compare "$zone" all "$all"
  compare "$zone" all-subdirs "${all}UseSubDir=1\n" "$first:first\n"
  compare "$zone" topx0 "[General]\nTopX=0\n$all"
  compare "$zone" topx1 "[General]\nTopX=1\n$all"
  compare "$zone" topx3-minkills0 \
    "[General]\nTopX=3\nMinKills=0\n[Squad]\nMinMembers=0\n$all"
  compare "$zone" topx-huge "[General]\nTopX=4294967295\n$all"
  compare "$zone" topx-huge-subdirs \
    "[General]\nTopX=4294967295\nMinKills=0\n${all}UseSubDir=1\n"
  compare "$zone" minkills0 "[General]\nMinKills=0\n[Squad]\nMinMembers=1\n$all"
  compare "$zone" single-id "[General]\nScoreID=$first\n$all"
  compare "$zone" single-missing-id "[General]\nScoreID=4294967294\n$all"
  # Runs that end in an error, at their start and half-way.
  compare "$zone" missing-directory "${all}Directory=missing/\n"
  compare "$zone" blocked-report "$all" "" "Ratio$first.html"
  compare "$zone" blocked-squad-page "$all" "" "SquadStats$first.html"
  compare "$zone" some-lists \
    "[User]\nDoWins=0\nDoRating=0\n[Squad]\nDoMembers=0\n[Usage]\nLastDays=3650\nDoAllSquads=0\n[Output]\nText=1\nHTMLGroup=1\nFooter=0\nStyleSheet=a&b.css\nDirectory=out/\n"
}

# The settings and zone maps of the golden end-to-end cases
# (tests/e2e/golden_test.cpp), on a zone of this script's.
golden_cases() {  # zone
  local zone=$1
  compare "$zone" golden-all_outputs \
    "[General]\nTopX=3\n[Squad]\nMinMembers=2\n[Output]\nText=1\nHTML=1\nHTMLGroup=1\n"
  compare "$zone" golden-subdirs_and_style \
    "[Squad]\nMinMembers=2\n[Output]\nText=1\nHTML=1\nUseSubDir=1\nDirectory=out\nStyleSheet=style.css?a=\"1\"&b=<2>\n" \
    "7:Arena & <Co>\n"
  compare "$zone" golden-partial_lists_no_footer \
    "[General]\nMinKills=0\n[User]\nDoTotalPoints=0\nDoWins=0\nDoRating=0\n[Squad]\nMinMembers=1\nDoMembers=0\nDoAvgPoints=0\n[Usage]\nDoAllSquads=0\nDoActivePlayers=0\nDoNewPlayers=0\n[Output]\nFooter=0\nText=1\n"
  compare "$zone" golden-single_score_id_without_rows \
    "[General]\nScoreID=5\n[Usage]\nLastDays=0\n[Output]\nText=1\nHTML=1\n"
  compare "$zone" golden-new_players_without_active \
    "[Usage]\nDoActivePlayers=0\nLastDays=400\n"
  compare "$zone" golden-json_hard_names \
    "[Squad]\nMinMembers=1\n[Output]\nText=1\nHTML=1\nJSON=1\n"
  compare "$zone" golden-json_subdirs \
    "[General]\nTopX=2\n[Output]\nUseSubDir=1\nJSON=1\n" "7:Arena 7\n"
}

first_score_id() {  # zone: the score ID of the first score row
  od -An -tu4 -j4 -N4 "$work/zones/$1/score.dat" | tr -d ' '
}

make_zone dense --users 30000 --squads 600 --scores 150000 --score-ids 5 --seed 11
make_zone scattered --users 30000 --squads 600 --scores 150000 --score-ids 5 \
  --seed 12 --scatter
make_zone scrambled --users 20000 --squads 400 --scores 100000 --score-ids 4 \
  --seed 13
scramble_zone scrambled
make_zone many-ids --users 3000 --squads 80 --scores 40000 --score-ids 120 \
  --seed 14 --scatter
scramble_zone many-ids
for zone in dense scattered scrambled many-ids; do
  settings_of_zone "$zone" "$(first_score_id "$zone")"
  golden_cases "$zone"
done
if [ "${LARGE:-0}" = 1 ]; then
  make_zone large --users 1000000 --squads 40000 --scores 5000000 \
    --score-ids 50 --seed 1
  compare large all-subdirs "${all}UseSubDir=1\n"
  compare large compute-only '[Output]\nHTMLGroup=0\n'
fi
if [ $failures -gt 0 ]; then
  echo "$failures comparisons differ" >&2
  exit 1
fi
echo "Every byte equal."
