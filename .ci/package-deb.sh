#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine with dpkg (as root)
# and tries the installed program as a new admin would: from an empty
# directory, with nothing but the installed files. Removes the package again
# at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-dev and file let CPack work out the package's dependencies; groff-base
# renders the manual pages; lintian checks the package against Debian's
# policy.
bash scripts/install-deps.sh dpkg-dev file groff-base lintian

# The package is built with the hardening flags of Debian's own packages:
# checked buffer sizes in libc calls, stack protector, relocations read-only
# and bound at start. They stop a faulty run; a correct one runs the same.
# CMake takes no CPPFLAGS, so they go with the compiler's flags; Release's
# own optimisation comes after them and stays in force. Left out: -g (CPack
# strips the binaries) and -Wdate-time, as --version names the day of the
# build unless SOURCE_DATE_EPOCH gives one.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g \
  DEB_CPPFLAGS_MAINT_STRIP=-Wdate-time
build=build-deb
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYHAWK_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build"
rm -f "$build"/tallyhawk_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/tallyhawk_*.deb)

# Any error of lintian's fails the build; its warnings and notes are shown.
# The tags that do not apply are overridden in dist/debian/lintian-overrides.
lintian --display-info --fail-on error "$deb" \
  || { echo "package-deb: lintian failed on $(basename "$deb")" >&2; exit 1; }

zone=$(mktemp -d /tmp/tallyhawk-deb-XXXXXX)
cleanup() {
  rm -rf "$zone"
  dpkg --purge tallyhawk >/dev/null 2>&1 || true
}
trap cleanup EXIT
dpkg -i "$deb"

fail() { echo "package-deb: $*" >&2; exit 1; }
cd "$zone"
[ "$(command -v tallyhawk)" = /usr/bin/tallyhawk ] || fail "tallyhawk is not /usr/bin/tallyhawk"
tallyhawk --version | grep -Eq '^Tallyhawk v0\.2 Build [A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}$' \
  || fail "--version printed: $(tallyhawk --version)"
tallyhawk --help | grep -q 'man tallyhawk' || fail "--help does not point to the manual"
[ -z "$(ls -A)" ] || fail "--help or --version wrote files: $(ls -A)"

# The manual pages are installed and render without a warning.
for manual in /usr/share/man/man1/tallyhawk.1.gz /usr/share/man/man1/zonegen.1.gz; do
  [ -f "$manual" ] || fail "no $manual"
  warnings=$(zcat "$manual" | groff -man -ww -Tutf8 -z 2>&1)
  [ -z "$warnings" ] || fail "groff warns about $manual: $warnings"
done
if command -v systemd-analyze >/dev/null; then
  unit=/usr/share/tallyhawk/systemd/tallyhawk.service
  systemd-analyze verify --man=no "$unit" /usr/share/tallyhawk/systemd/tallyhawk.timer
  # The example service must stay confined: systemd rates it 1.5 or lower
  # ("SAFE") on its scale from 0 to 10.
  exposure=$(systemd-analyze security --offline=yes "$unit" |
    sed -n 's/.*Overall exposure level for [^:]*: \([0-9][0-9.]*\) .*/\1/p')
  [ -n "$exposure" ] || fail "systemd-analyze security printed no exposure level"
  awk -v e="$exposure" 'BEGIN { exit !(e <= 1.5) }' \
    || fail "$unit is exposed $exposure, more than 1.5"
  echo "package-deb: $(basename "$unit") exposure $exposure"
fi

# A full run with every output on, on a generated zone.
zonegen --out . --users 600 --squads 30 --score-ids 2 >/dev/null
cp /usr/share/tallyhawk/tallyhawk.ini /usr/share/tallyhawk/tallyhawk.css .
status=0
tallyhawk /quiet || status=$?
[ "$status" -eq 0 ] || fail "the run ended with exit code $status: $(cat tallyhawk.err)"
[ ! -e tallyhawk.err ] || fail "the run left tallyhawk.err"
tail -n 3 tallyhawk.log | grep -q 'Score extraction complete.' || fail "the log does not end the run"
[ -f zoneinfo.txt ] || fail "no zone map template"
pages=(Usage.html Usage.txt Usage.json)
for grouped in PilotStats*.html; do
  id=${grouped#PilotStats}
  id=${id%.html}
  pages+=("SquadStats$id.html" "Stats$id.json")
  for list in TotPts FlagPts KillPts AvgKill Wins Losses Ratio Rating SqTotPts \
      SqAvgPts SqAvgKill SqWins SqLosses SqRatio SqRating SqMembers; do
    pages+=("$list$id.txt" "$list$id.html")
  done
done
[ ${#pages[@]} -gt 2 ] || fail "no grouped page was written"
for page in "${pages[@]}"; do
  [ -s "$page" ] || fail "missing $page"
done
for schema in stats usage; do
  [ -s "/usr/share/tallyhawk/schema/$schema.schema.json" ] || fail "no $schema schema"
done
grep -q '<LINK REL=STYLESHEET TYPE="text/css" HREF="tallyhawk.css">' "$grouped" \
  || fail "$grouped does not link the style sheet"
echo "package-deb: $(basename "$deb") installs and runs; ${#pages[@]} reports written"
