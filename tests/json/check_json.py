#!/usr/bin/env python3
"""Checks the JSON files that Tallyhawk runs wrote below the given folders.

Every Stats*.json and Usage.json must parse and validate against its schema,
and agree entry for entry with the text and HTML reports of the same run that
lie beside it: the same rows in the same order, the value texts exactly as
the reports show them, and each value rounding to its text.

Usage: check_json.py SCHEMA_DIR FOLDER...
"""
import datetime
import decimal
import json
import pathlib
import sys

import jsonschema

D = decimal.Decimal
decimal.getcontext().prec = 200

# The usage figures that are counts; the others are points and averages.
COUNTS = {"AllPlayers", "ActivePlayers", "NewPlayers", "AllSquads", "AllKills"}

problems = []


def problem(path, text):
    problems.append(f"{path}: {text}")


def latin1(text):
    return text.encode("latin-1")


def html_escape(text):
    for raw, entity in (("&", "&amp;"), ("<", "&lt;"), (">", "&gt;"),
                        ('"', "&quot;")):
        text = text.replace(raw, entity)
    return text


def fixed(value, decimals):
    """The value rounded as the reports round: exact binary, ties away."""
    return str(D(value).quantize(D(1).scaleb(-decimals), decimal.ROUND_HALF_UP))


def general(value):
    """The value to six significant digits, ties away from zero."""
    return decimal.Context(prec=6, rounding=decimal.ROUND_HALF_UP).plus(D(value))


def value_agrees(value, text):
    number = text.split(" ")[0]
    if value is None:
        return number in ("---", "inf", "nan", "-nan")
    return fixed(value, len(number.partition(".")[2])) == number


def text_row(cells):
    return b"".join(latin1(text).ljust(width) for text, width in cells) + b"\r\n"


def entry_rows(entries, pilot):
    text, html = b"", b""
    for rank, entry in enumerate(entries, 1):
        cells = [entry["name"]] + ([entry["squadName"]] if pilot else [])
        cells.append(entry["valueText"])
        widths = [25, 25, 8] if pilot else [25, 5]
        text += text_row([(str(rank), 5)] + list(zip(cells, widths)))
        html += b"<TR><TD>%d</TD>" % rank + b"".join(
            b"<TD>" + latin1(html_escape(c)) + b"</TD>" for c in cells)
        html += b"</TR>\r\n"
    return text, html


def check_list(path, stats, item, suffix):
    key, entries = item["key"], item["entries"]
    pilot = item["kind"] == "pilot"
    for entry in entries:
        if not value_agrees(entry["value"], entry["valueText"]):
            problem(path, f"{key}: value {entry['value']} is not "
                          f"{entry['valueText']!r}")
    text_rows, html_rows = entry_rows(entries, pilot)
    folder = path.parent
    text = folder / f"{key}{suffix}.txt"
    if text.exists():
        heads = [("Rank", 5), ("Name", 25)]
        heads += [("Squad", 25), ("Value", 8)] if pilot else [("Value", 5)]
        report = text.read_bytes()
        count = b"Top list:\t%d (%d)\r\n" % (stats["settings"]["TopX"],
                                            len(entries))
        if count not in report or not report.endswith(
                text_row(heads) + b"\r\n" + text_rows):
            problem(path, f"{key}: rows differ from {text.name}")
    table_end = b"</TH></TR>\r\n" + html_rows + b"</TABLE>"
    page = folder / f"{key}{suffix}.html"
    if page.exists() and table_end not in page.read_bytes():
        problem(path, f"{key}: rows differ from {page.name}")
    group = folder / f"{'Pilot' if pilot else 'Squad'}Stats{suffix}.html"
    if group.exists():
        grouped = group.read_bytes()
        at = grouped.find(b'<A NAME="%s">' % latin1(item["title"]))
        section = grouped[at:grouped.find(b"</TABLE>", at) + 8]
        if at < 0 or not section.endswith(table_end):
            problem(path, f"{key}: rows differ from {group.name}")


def check_stats(path, stats):
    suffix = path.stem[len("Stats"):]
    if suffix and suffix != str(stats["scoreId"]):
        problem(path, f"holds score ID {stats['scoreId']}")
    for item in stats["lists"]:
        check_list(path, stats, item, suffix)


def since_text(cut_off):
    local = datetime.datetime.fromisoformat(cut_off)
    return latin1("(*) Since " + local.strftime("%a %b %d %H:%M:%S %Y"))


def check_usage(path, usage):
    text = path.with_name("Usage.txt")
    page = path.with_name("Usage.html")
    for figure in usage["figures"]:
        title, value = figure["title"], figure["value"]
        mark = " (*)" if "cutOff" in figure else ""
        if text.exists():
            report = text.read_bytes()
            line = latin1(f"\r\n{title}:\t")
            at = report.find(line) + len(line)
            shown = report[at:report.find(b"\r\n", at)].split(b"\t")[0]
            shown = shown.decode()
            if value is None or shown == "---":
                agrees = value is None and shown == "---"
            elif figure["key"] in COUNTS:  # in full
                agrees = shown == str(value)
            else:  # points and averages to six significant digits
                agrees = D(shown) == general(value)
            if at < len(line) or not agrees:
                problem(path, f"{title} {value} is not {shown!r} in Usage.txt")
            if mark and since_text(figure["cutOff"]) not in report:
                problem(path, f"{title}: cut-off differs from Usage.txt")
        if page.exists():
            shown = "---" if value is None else fixed(
                value, 1 if figure["key"] == "AvgKill" else 0)
            row = latin1(f"<TR><TH>{title}{mark}</TH><TD>{shown}</TD></TR>")
            if row not in page.read_bytes():
                problem(path, f"{title} {value}: no {row} in Usage.html")


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    schemas = pathlib.Path(sys.argv[1])
    validators = {
        name: jsonschema.Draft202012Validator(
            json.loads((schemas / f"{name}.schema.json").read_text()),
            format_checker=jsonschema.FormatChecker())
        for name in ("stats", "usage")
    }
    checked = 0
    for folder in sys.argv[2:]:
        for path in sorted(pathlib.Path(folder).rglob("*.json")):
            is_usage = path.name == "Usage.json"
            if not is_usage and not path.name.startswith("Stats"):
                continue
            raw = path.read_bytes()
            try:
                document = json.loads(raw.decode("ascii"))
            except ValueError as error:
                problem(path, f"does not parse: {error}")
                continue
            errors = list(validators["usage" if is_usage else "stats"]
                          .iter_errors(document))
            for error in errors:
                problem(path, f"schema: {error.message[:200]} at "
                              f"{list(error.absolute_path)}")
            if not errors:
                (check_usage if is_usage else check_stats)(path, document)
            checked += 1
    if checked == 0:
        problem(" ".join(sys.argv[2:]), "no JSON file found")
    for line in problems:
        print(line)
    print(f"{checked} JSON files checked, {len(problems)} problems")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
