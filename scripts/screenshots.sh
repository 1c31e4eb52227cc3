#!/usr/bin/env bash
# Takes the README's pictures of the grouped pilot page of a sample zone with
# headless Chromium: docs/grouped-page.png (no style sheet),
# docs/grouped-page-styled.png (dist/tallyhawk.css) and
# docs/grouped-page-phone.png (the styled page as a phone shows it); and of
# the site ([Site] Enabled=1, styled): docs/site-index.png and
# docs/site-pilot.png on a desktop, docs/site-index-phone.png and
# docs/site-pilot-phone.png on a phone.
# Runs as root: installs Chromium and faketime with apt-get, and for the phone
# picture playwright-core with npm into a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# --tests: the build directory is configured with the tests, and brings
# faketime.
bash scripts/install-deps.sh --tests chromium fonts-liberation
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target tallyhawk zonegen
work=$(mktemp -d /tmp/tallyhawk-shots-XXXXXX)
trap 'rm -rf "$work"' EXIT

# The same zone and the same run date every time.
zone="$work/zone"
"$root/build/zonegen" --out "$zone" --now 1796589095 >/dev/null
run() { (cd "$zone" && faketime '2026-12-06 20:31:35' "$root/build/tallyhawk" /veryquiet); }

chromium_shot() {  # page, picture
  local profile
  profile=$(mktemp -d "$work/profile-XXXXXX")
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --hide-scrollbars --user-data-dir="$profile" --window-size=760,640 \
    --screenshot="$2" "file://$1" 2>/dev/null
}

run
chromium_shot "$zone/PilotStats1.html" "$root/docs/grouped-page.png"
printf '[Output]\nStyleSheet=tallyhawk.css\n' >"$zone/tallyhawk.ini"
cp dist/tallyhawk.css "$zone/"
run
chromium_shot "$zone/PilotStats1.html" "$root/docs/grouped-page-styled.png"

# Chromium's own switches cannot make a phone (a desktop window is at least
# 500 pixels wide and takes no viewport rules); its device emulation can.
npm install --silent --prefix "$work/pw" playwright-core@1 >/dev/null
cat >"$work/pw/phone.js" <<'EOF'
const { chromium, devices } = require('playwright-core');
(async () => {
  const [page, picture] = process.argv.slice(2);
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update',
           '--disable-sync'],
  });
  const context = await browser.newContext(
      { ...devices['Pixel 7'], deviceScaleFactor: 1.5 });
  const tab = await context.newPage();
  await tab.goto('file://' + page);
  await tab.screenshot({ path: picture });
  await browser.close();
})();
EOF
(cd "$work/pw" && node phone.js "$zone/PilotStats1.html" "$root/docs/grouped-page-phone.png")

# The site: its index and the page of the pilot first in the first list.
printf '[Output]\nStyleSheet=tallyhawk.css\n[Site]\nEnabled=1\nTitle=Sample zone\n' \
  >"$zone/tallyhawk.ini"
run
pilot=$(grep -o 'href="pilots/[0-9]*\.html"' "$zone/index.html" | head -n 1 |
  sed 's/href="//; s/"$//')
chromium_shot "$zone/index.html" "$root/docs/site-index.png"
chromium_shot "$zone/$pilot" "$root/docs/site-pilot.png"
(cd "$work/pw" && node phone.js "$zone/index.html" "$root/docs/site-index-phone.png")
(cd "$work/pw" && node phone.js "$zone/$pilot" "$root/docs/site-pilot-phone.png")
ls -l docs/*.png
