#!/usr/bin/env python3
"""Writes a zip that depends on nothing but its inputs: entries sorted by name, every time
stamp SOURCE_DATE_EPOCH, fixed attributes, no extra fields.

Usage: make_zip.py OUT.zip FOLDER   (FOLDER's own name becomes the zip's top-level folder)
"""
import os
import sys
import time
import zipfile


def main() -> int:
    out, folder = sys.argv[1], os.path.normpath(sys.argv[2])
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
    # A zip stores local times from 1980 on, to two seconds.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    top = os.path.basename(folder)
    names = []
    for base, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(base, name)
            names.append((top + "/" + os.path.relpath(path, folder).replace(os.sep, "/"), path))
    with zipfile.ZipFile(out, "w") as archive:
        for name, path in sorted(names):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS attributes: what Windows' own zip folders write
            info.external_attr = 0x20  # "archive", nothing else
            with open(path, "rb") as source:
                archive.writestr(info, source.read(), compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main())
