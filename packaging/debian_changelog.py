#!/usr/bin/env python3
"""Writes the Debian changelog of the native .deb (usr/share/doc/statskevo/changelog.gz) from
CHANGELOG.md: one entry per released version, newest first, starting at VERSION. Each bullet
and paragraph of a version becomes one "*" item.

Releases of one day are dated a minute apart, oldest first, so that every entry is newer than
the one below it.

A VERSION without a "## [VERSION] - DATE" heading (a build between releases) gets an entry made
of the "## [Unreleased]" section, dated SOURCE_DATE_EPOCH, so that the output still depends on
nothing but the commit.

Usage: debian_changelog.py CHANGELOG.md VERSION "NAME <EMAIL>"   (writes to standard output)
"""
import datetime
import email.utils
import os
import re
import sys
import textwrap

HEADING = re.compile(r"^## \[([^\]]+)\](?: - (\d{4}-\d{2}-\d{2}))?\s*$")


def sections(text):
    """(name, date or None, [item, ...]) for every "## [...]" section, in file order."""
    found = []
    items = None
    for line in text.splitlines():
        heading = HEADING.match(line)
        if heading:
            items = []
            found.append((heading.group(1), heading.group(2), items))
            continue
        if items is None or line.startswith("#"):
            continue
        if not line.strip():
            items.append("")  # a blank line ends the item before it
        elif line.startswith("- ") or not items or not items[-1]:
            items.append(line[2:] if line.startswith("- ") else line)
        else:
            items[-1] += " " + line.strip()
    return [(name, date, [i for i in items if i]) for name, date, items in found]


def entry(version, items, when, maintainer):
    if not items:
        items = [f"Version {version}."]
    lines = [f"statskevo ({version}) unstable; urgency=medium", ""]
    for item in items:
        # Debian tools read changelogs as plain text: no Markdown emphasis.
        item = item.replace("**", "")
        lines += textwrap.wrap(item, width=78, initial_indent="  * ", subsequent_indent="    ",
                               break_long_words=False, break_on_hyphens=False)
    lines += ["", f" -- {maintainer}  {email.utils.format_datetime(when)}"]
    return "\n".join(lines) + "\n"


def release_times(released):
    """The time of each released entry (newest first): midnight UTC of its date, or a minute
    after the entry below it where two releases share a day, since Debian's tools want every
    entry dated after the one before it."""
    times = []
    later = None
    for _, date, _ in reversed(released):
        when = datetime.datetime.strptime(date, "%Y-%m-%d").replace(tzinfo=datetime.timezone.utc)
        if later is not None and when <= later:
            when = later + datetime.timedelta(minutes=1)
        times.append(when)
        later = when
    return list(reversed(times))


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__.strip().splitlines()[-1])
    path, version, maintainer = sys.argv[1:]
    with open(path, encoding="utf-8") as source:
        found = sections(source.read())
    released = [(name, date, items) for name, date, items in found if date]
    names = [name for name, _, _ in released]
    entries = []
    if version in names:
        older = released[names.index(version):]
    else:
        unreleased = next((items for name, _, items in found if name == "Unreleased"), [])
        epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
        when = datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc)
        entries.append(entry(version, unreleased, when, maintainer))
        older = released
    for (name, items), when in zip([(n, i) for n, _, i in older], release_times(older)):
        entries.append(entry(name, items, when, maintainer))
    sys.stdout.write("\n".join(entries))


if __name__ == "__main__":
    main()
