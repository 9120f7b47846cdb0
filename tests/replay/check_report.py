#!/usr/bin/env python3
"""Checks a page written by `kevo-replay --report`.

The page must parse as HTML with every element closed in order, each inline SVG must be
well-formed XML, ids must be unique, nothing may be loaded from elsewhere, and the band
table and the score line must carry the figures of the summary text shown on the page.
With AUDIT.csv (what --csv wrote in the same run), the page's per-contact table must hold the
same rows, and its points and multipliers must add up to the summary's totals.
With --score-never-falls, the score chart's line must never go down (a log whose records are
out of time order is replayed in time order).
Usage: check_report.py [--score-never-falls] PAGE.html [AUDIT.csv]; exits 1 with the reasons
when a check fails.
"""
import csv
import re
import sys
import xml.etree.ElementTree as ElementTree
from html.parser import HTMLParser

VOID = {"meta", "br", "hr", "img", "input", "link", "wbr", "col", "area", "base", "source"}
FORBIDDEN = {"script", "link", "iframe", "img", "object", "embed", "frame"}


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems = []
        self.stack = []
        self.ids = set()
        self.pre = ""
        self.cells = []  # (section, row of cell texts, the table's caption)
        self.caption = ""
        self.row = None
        self.section = None
        self.score_line = ""
        self.in_score = False

    def handle_starttag(self, tag, attrs):
        self.check_attributes(tag, attrs)
        if tag not in VOID:
            self.stack.append(tag)
        if tag == "table":
            self.caption = ""
        if tag in ("thead", "tbody", "tfoot"):
            self.section = tag
        elif tag == "tr":
            self.row = []
        elif tag in ("td", "th") and self.row is not None:
            self.row.append("")
        elif tag == "p" and ("class", "score") in attrs:
            self.in_score = True

    def handle_startendtag(self, tag, attrs):
        self.check_attributes(tag, attrs)

    def handle_endtag(self, tag):
        if not self.stack or self.stack[-1] != tag:
            self.problems.append(f"line {self.getpos()[0]}: </{tag}> closes <{self.stack[-1] if self.stack else 'nothing'}>")
            return
        self.stack.pop()
        if tag == "tr" and self.row is not None:
            self.cells.append((self.section, self.row, self.caption))
            self.row = None
        elif tag == "p":
            self.in_score = False

    def handle_data(self, data):
        if "caption" in self.stack:
            self.caption += data
        if "pre" in self.stack:
            self.pre += data
        if self.row and ("td" in self.stack or "th" in self.stack):
            self.row[-1] += data
        if self.in_score:
            self.score_line += data

    def check_attributes(self, tag, attrs):
        if tag in FORBIDDEN:
            self.problems.append(f"line {self.getpos()[0]}: <{tag}> element")
        for name, value in attrs:
            value = value or ""
            if name == "id":
                if value in self.ids:
                    self.problems.append(f"duplicate id {value!r}")
                self.ids.add(value)
            if name in ("src", "href", "xlink:href", "action") and not value.startswith("#"):
                self.problems.append(f"line {self.getpos()[0]}: {name}={value!r} loads something")
            for target in re.findall(r"url\(([^)]*)\)", value):
                if not target.startswith("#"):
                    self.problems.append(f"line {self.getpos()[0]}: url({target}) loads something")


def summary_rows(pre):
    # An HTML parser reads CR LF as one line feed, as a browser does.
    lines = pre.replace("\r\n", "\n").split("\n")
    rows = []
    for line in lines[1:]:
        if not line:
            break
        rows.append(line.rsplit("\t", 3))
    return rows


def check_audit(page, csv_path, summary):
    """The audit table against the CSV and against the summary's total line."""
    problems = []
    audit = [(section, row) for section, row, caption in page.cells
             if caption.startswith("Every contact")]
    body = [row for section, row in audit if section == "tbody"]
    foot = [row for section, row in audit if section == "tfoot"]
    with open(csv_path, newline="", encoding="utf-8", errors="surrogateescape") as file:
        records = list(csv.DictReader(file))
    if len(records) != len(body):
        problems.append(f"the CSV has {len(records)} rows, the page's audit {len(body)}")
    for number, (record, row) in enumerate(zip(records, body), 1):
        # The page cuts the CSV's seconds off; it never rounds to another minute.
        shown = [row[0], row[1], row[2], row[3], row[6].replace(",", "")]
        written = [record["line"], record["time_utc"][:16] or "(no time)", record["call"],
                   record["band"], record["points"]]
        if shown != written:
            problems.append(f"audit row {number}: page {shown}, CSV {written}")
            break
    total = [row for row in summary if row[0] == "Total"]
    points = sum(int(record["points"] or 0) for record in records)
    mults = sum(int(record["multipliers"] or 0) for record in records)
    if total and [str(points), str(mults)] != total[0][2:4]:
        problems.append(f"the audit adds up to {points} points and {mults} multipliers, "
                        f"the summary says {total[0][2:4]}")
    if foot and foot[0][6].replace(",", "") != str(points):
        problems.append(f"the audit's total row says {foot[0][6]}, its rows add up to {points}")
    return problems


def score_falls(text):
    """Whether the score chart's first line ever goes down (SVG y grows downwards)."""
    chart = re.search(r'<svg[^>]*aria-labelledby="score-title".*?</svg>', text, re.S)
    path = chart and re.search(r'<path d="([^"]*)"', chart.group(0))
    if not path:
        return "the page has no score line"
    ys = [float(y) for y in re.findall(r"(?:,|V)(-?[\d.]+)", path.group(1))]
    for before, after in zip(ys, ys[1:]):
        if after > before:
            return f"the score line falls from y={before} to y={after}"
    return None


def main():
    score_never_falls = "--score-never-falls" in sys.argv
    if score_never_falls:
        sys.argv.remove("--score-never-falls")
    raw = open(sys.argv[1], "rb").read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as error:
        print(f"{sys.argv[1]}: not UTF-8: {error}")
        return 1
    page = Page()
    page.feed(text)
    page.close()
    problems = page.problems
    if page.stack:
        problems.append(f"left open: {page.stack}")
    for svg in re.findall(r"<svg.*?</svg>", text, re.S):
        try:
            ElementTree.fromstring(svg)
        except ElementTree.ParseError as error:
            problems.append(f"an SVG is not well-formed: {error}")

    # Every chart's date labels run forward: "MM-DD" within one year, "YYYY-MM-DD" across one.
    for svg in re.findall(r"<svg.*?</svg>", text, re.S):
        dates = re.findall(r">((?:\d{4}-)?\d\d-\d\d)</text>", svg)
        if dates != sorted(dates) or len(set(len(d) for d in dates)) > 1:
            problems.append(f"a chart's dates go backwards: {dates}")

    # The band table (the first table) against the summary's band and total lines.
    rows = summary_rows(page.pre)
    table = [row for section, row, _ in page.cells if section in ("tbody", "tfoot")]
    table = [[cell.strip().replace(",", "") for cell in row[:4]] for row in table[: len(rows)]]
    if table != rows:
        problems.append(f"band table {table} differs from the summary's lines {rows}")
    score = re.search(r"Score: (-?\d+)\*(-?\d+) = (-?\d+) points", page.pre)
    shown = re.search(r"Score (-?\d+) = (-?\d+) points? \u00d7 (-?\d+) multipliers?",
                      page.score_line.replace(",", ""))
    if not score or not shown or shown.groups() != (score[3], score[1], score[2]):
        problems.append(f"score line {page.score_line!r} differs from the summary's")

    if len(sys.argv) > 2:
        problems += check_audit(page, sys.argv[2], rows)
    if score_never_falls and score_falls(text):
        problems.append(score_falls(text))

    for problem in problems:
        print(f"{sys.argv[1]}: {problem}")
    if problems:
        return 1
    print(f"{sys.argv[1]}: ok, {len(rows)} summary lines match the table, "
          f"{len(re.findall('<svg', text))} charts")
    return 0


if __name__ == "__main__":
    sys.exit(main())
