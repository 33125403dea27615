#!/usr/bin/env python3
"""Rewrites a zip archive so that its bytes depend on its contents alone.

CPack's zip lists the files in the order in which the file system lists its staging folder, and
gives each its owner's user and group IDs. The rewritten archive holds the same files in name
order, each with its Unix mode, no owner, and the time SOURCE_DATE_EPOCH when that is set.
Usage: zip-in-order.py ARCHIVE
"""
import os
import sys
import time
import zipfile


def main(path):
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    with zipfile.ZipFile(path) as old:
        entries = [(info, old.read(info)) for info in sorted(old.infolist(), key=lambda i: i.filename)]
    with zipfile.ZipFile(path + ".in-order", "w") as new:
        for info, data in entries:
            # A zip time is at the earliest 1980, and counts in steps of two seconds.
            date_time = max(time.gmtime(int(epoch))[:6], (1980, 1, 1, 0, 0, 0)) if epoch else info.date_time
            entry = zipfile.ZipInfo(info.filename, date_time)
            entry.create_system = 3
            entry.external_attr = info.external_attr & 0xFFFF0000
            entry.compress_type = zipfile.ZIP_DEFLATED
            new.writestr(entry, data, compresslevel=9)
    os.replace(path + ".in-order", path)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: zip-in-order.py ARCHIVE")
    main(sys.argv[1])
