#!/usr/bin/python3
"""Zips a folder's contents the same way every time: names sorted, every
entry dated at the given time, so that the same files give the same zip (and
the same checksum in a release).

  make_zip.py <out.zip> <folder> <unix time>
"""
import os
import sys
import time
import zipfile


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: make_zip.py <out.zip> <folder> <unix time>")
    out, folder, stamp = sys.argv[1], sys.argv[2], int(sys.argv[3])
    # Zip dates start in 1980 and carry no time zone.
    date = max(time.gmtime(stamp)[:6], (1980, 1, 1, 0, 0, 0))
    paths = sorted(os.path.relpath(os.path.join(d, f), folder)
                   for d, _, files in os.walk(folder) for f in files)
    partial = out + ".part"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for path in paths:
            full = os.path.join(folder, path)
            entry = zipfile.ZipInfo(path.replace(os.sep, "/"), date)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.external_attr = (0o755 if os.access(full, os.X_OK) else 0o644) << 16
            with open(full, "rb") as f:
                z.writestr(entry, f.read())
    os.replace(partial, out)


main()
