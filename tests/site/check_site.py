#!/usr/bin/env python3
"""Checks the site a run writes, as a visitor and an admin would meet it.

For the golden sites under tests/e2e/golden, and for runs of tallyhawk on
zones that zonegen makes, every page of the site must be UTF-8, parse as
HTML5 without a single error (html5lib, strict), carry the doctype, the
charset and a viewport, and link only to files (and anchors) that exist.
Every entry of every list (as the run's Stats<id>.json gives them) must be
on the page of its pilot or squad with the same rank and value, and no page
may show a rank the lists do not hold. A run with [Site] Enabled=0 must
leave every byte as a run without [Site]; pages of those no longer listed
are removed, and nothing else; a template that does not parse stops the run
naming its file and line.

Usage: check_site.py TALLYHAWK ZONEGEN GOLDEN_DIR
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse
from pathlib import Path

import html5lib

NOW = "1796558400"
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def subject_pages(root, folder):
    """The pages of pilots or squads: the files named as the run names them."""
    return sorted(p for p in (root / folder).glob("*.html")
                  if re.fullmatch(r"(0|[1-9][0-9]*)\.html", p.name))


def site_pages(root):
    pages = [root / "index.html"] if (root / "index.html").exists() else []
    return pages + subject_pages(root, "pilots") + subject_pages(root, "squads")


def parse(path):
    text = path.read_bytes().decode("utf-8")  # raises on bad UTF-8
    parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
    return text, parser.parse(text)


def anchors_of(path, cache={}):
    """The ids and a-names a page (old or new) holds."""
    if path not in cache:
        text = path.read_bytes().decode("latin-1")
        tree = html5lib.parse(text, namespaceHTMLElements=False)
        names = set()
        for element in tree.iter():
            for key in ("id", "name"):
                if element.get(key):
                    names.add(element.get(key))
        cache[path] = names
    return cache[path]


def check_page(path):
    try:
        text, tree = parse(path)
    except Exception as error:  # noqa: BLE001 - any parse error is a finding
        fail(f"{path}: not well-formed UTF-8 HTML5: {error}")
        return None
    if not text.startswith("<!DOCTYPE html>"):
        fail(f"{path}: no <!DOCTYPE html> first")
    head = tree.find("head")
    metas = head.findall("meta") if head is not None else []
    if not any(m.get("charset", "").lower() == "utf-8" for m in metas):
        fail(f"{path}: no <meta charset=utf-8>")
    if not any(m.get("name") == "viewport" for m in metas):
        fail(f"{path}: no viewport meta")
    for element in tree.iter():
        for attribute in ("href", "src"):
            link = element.get(attribute)
            if link is None or re.match(r"^[a-z]+:|^/", link):
                continue
            address, _, fragment = link.partition("#")
            target = (path.parent / urllib.parse.unquote(address)).resolve()
            if element.tag == "link":  # the style sheet is the admin's
                continue
            if not target.is_file():
                fail(f"{path}: link {link!r} leads nowhere")
            elif fragment and urllib.parse.unquote(fragment) not in anchors_of(target):
                fail(f"{path}: link {link!r}: no such anchor")
    return tree


def text_of(element):
    return "".join(element.itertext()).strip()


def page_name(name):
    """A Latin-1 name as the pages show it: controls as U+FFFD."""
    return "".join("\ufffd" if (ord(c) < 32 and c not in "\t\n") or 0x7F <= ord(c) < 0xA0
                   else c for c in name)


def shown_ranks(root, kind):
    """(score ID, list title, rank) -> (name, value) from every page of a kind."""
    shown = {}
    for path in subject_pages(root, kind):
        _, tree = parse(path)
        name = text_of(tree.find(".//h1"))
        for section in tree.iter("section"):
            if "score-id" not in section.get("class", ""):
                continue
            score_id = re.search(r"score ID (\d+)", text_of(section.find("h2")), re.I).group(1)
            table = section.find(".//table[@class='ranks']")
            for row in table.iter("tr") if table is not None else []:
                cells = row.findall("td")
                if not cells:
                    continue
                key = (score_id, text_of(cells[0]), int(text_of(cells[1])))
                if key in shown:
                    fail(f"{path}: {key} shown on two pages")
                shown[key] = (name, text_of(cells[2]))
    return shown


def check_ranks(root):
    """Every list entry is on its page, and every rank shown is a list's."""
    expected = {"pilots": {}, "squads": {}}
    for stats in sorted(root.rglob("Stats*.json")):
        data = json.loads(stats.read_text(encoding="utf-8"))
        for listed in data["lists"]:
            kind = "pilots" if listed["kind"] == "pilot" else "squads"
            for entry in listed["entries"]:
                key = (str(data["scoreId"]), listed["title"], entry["rank"])
                expected[kind][key] = (page_name(entry["name"]).strip(),
                                       entry["valueText"])
    for kind in ("pilots", "squads"):
        shown = shown_ranks(root, kind)
        if shown != expected[kind]:
            missing = set(expected[kind]) - set(shown)
            extra = set(shown) - set(expected[kind])
            wrong = [k for k in shown if k in expected[kind] and shown[k] != expected[kind][k]]
            fail(f"{root}: {kind}: {len(missing)} entries without their page, "
                 f"{len(extra)} ranks on pages but in no list, {len(wrong)} differ; "
                 f"e.g. {sorted(missing)[:2]} {sorted(extra)[:2]} {wrong[:2]}")
    return sum(len(v) for v in expected.values())


# The runs see one frozen second where libfaketime is there, so that two
# runs can be compared byte for byte; elsewhere their dates are masked.
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
DATE = re.compile(rb"[A-Z][a-z]{2} [A-Z][a-z]{2} [0-3][0-9] [0-9:]{8} [0-9]{4}")


def run(binary, directory, expect=0):
    env = dict(os.environ, TZ="UTC0")
    if os.path.exists(FAKETIME):
        # libfaketime is preloaded ahead of a sanitizer runtime.
        env.update(LD_PRELOAD=FAKETIME, FAKETIME=NOW, FAKETIME_FMT="%s",
                   FAKETIME_DONT_FAKE_MONOTONIC="1",
                   ASAN_OPTIONS="verify_asan_link_order=0")
    result = subprocess.run([binary], cwd=directory, env=env,
                            capture_output=True, check=False)
    if result.returncode != expect:
        fail(f"{directory}: exit {result.returncode}, not {expect}: "
             f"{result.stderr.decode('latin-1')}")
    return result


def tree_bytes(root, skip=("tallyhawk.ini",)):
    return {str(p.relative_to(root)): DATE.sub(b"<date>", p.read_bytes())
            for p in sorted(root.rglob("*"))
            if p.is_file() and p.name not in skip and not p.name.endswith(".dat")}


def make_zone(zonegen, directory, *options):
    subprocess.run([zonegen, "--out", str(directory), "--now", NOW, *options],
                   check=True, capture_output=True)


def check_site(root):
    pages = site_pages(root)
    for page in pages:
        check_page(page)
    return len(pages)


def main():
    tallyhawk, zonegen = (os.path.abspath(a) for a in sys.argv[1:3])
    golden = Path(sys.argv[3])
    for case in sorted(golden.glob("site*/files")):
        if (case / "index.html").exists():
            print(f"golden {case.parent.name}: {check_site(case)} pages")
    work = Path(tempfile.mkdtemp(prefix="tallyhawk-site-"))
    try:
        zone = work / "zone"
        make_zone(zonegen, zone, "--users", "4000", "--squads", "90",
                  "--scores", "30000", "--score-ids", "3", "--seed", "21")
        settings = {
            "flat": "[General]\nTopX=25\n[Squad]\nMinMembers=2\n"
                    "[Output]\nText=1\nHTML=1\nHTMLGroup=1\nJSON=1\nStyleSheet=t.css\n",
            "subdirs": "[General]\nTopX=12\nMinKills=0\n[Output]\nHTMLGroup=1\n"
                       "JSON=1\nUseSubDir=1\nDirectory=out\n",
        }
        zone_map = "1:Arena & one\n2:Caf\xe9 zwei\n"
        for label, ini in settings.items():
            directory = work / label
            shutil.copytree(zone, directory)
            (directory / "out").mkdir()
            (directory / "zoneinfo.txt").write_bytes(zone_map.encode("latin-1"))
            (directory / "tallyhawk.ini").write_text(ini + "[Site]\nEnabled=1\n")
            run(tallyhawk, directory)
            root = directory / "out" if "Directory=out" in ini else directory
            pages = check_site(root)
            entries = check_ranks(root)
            print(f"{label}: {pages} pages, {entries} list entries on them")

        # Fewer listed: the pages of those no longer listed go, and only they.
        directory = work / "flat"
        planted = ["pilots/4000000.html", "pilots/0007.html", "pilots/notes.txt",
                   "squads/x.html"]
        for name in planted:
            (directory / name).write_text("planted")
        (directory / "tallyhawk.ini").write_text(
            settings["flat"].replace("TopX=25", "TopX=4") + "[Site]\nEnabled=1\n")
        run(tallyhawk, directory)
        for name in planted:
            if (directory / name).exists() != (name != "pilots/4000000.html"):
                fail(f"stale pages: {name} handled wrongly")
        check_site(directory)
        check_ranks(directory)

        # Off, or no section: every byte as without the site.
        trees = []
        for site in ("", "[Site]\nEnabled=0\nTitle=x\n"):
            directory = work / f"off{len(trees)}"
            shutil.copytree(zone, directory)
            (directory / "tallyhawk.ini").write_text(settings["flat"] + site)
            result = run(tallyhawk, directory)
            trees.append((tree_bytes(directory), DATE.sub(b"<date>", result.stdout),
                          result.stderr))
        if trees[0] != trees[1]:
            fail("Enabled=0 changes the output")

        # Templates: one file replaces its built-in one; one that does not
        # parse stops the run, naming its file and line.
        directory = work / "templates"
        shutil.copytree(zone, directory)
        (directory / "tpl").mkdir()
        (directory / "tpl" / "index.mustache").write_text(
            "<!DOCTYPE html><title>{{site_title}}</title>{{#score_ids}}"
            "<p>{{score_id}}</p>{{/score_ids}}\n")
        (directory / "tallyhawk.ini").write_text(
            settings["flat"] + "[Site]\nEnabled=1\nTemplates=tpl\nTitle=A<B\n")
        run(tallyhawk, directory)
        index = (directory / "index.html").read_text()
        if not index.startswith("<!DOCTYPE html><title>A&lt;B</title><p>"):
            fail(f"the index's template was not used: {index[:80]!r}")
        if "<!DOCTYPE html>" not in (directory / "pilots").glob("*.html").__next__().read_text():
            fail("a pilot page lost its built-in template")
        (directory / "tpl" / "squad.mustache").write_text("<p>\n{{#a}}\n{{/b}}\n")
        result = run(tallyhawk, directory, expect=1)
        error = result.stderr.decode("latin-1")
        if not re.search(r"squad\.mustache' \(in .*\), line 2: the template does not parse", error):
            fail(f"a bad template's error: {error!r}")
    finally:
        shutil.rmtree(work)
    if failures:
        print(f"{len(failures)} failures")
        return 1
    print("The site checks out.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
