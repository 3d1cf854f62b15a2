#!/usr/bin/env python3
"""Packs files into a zip that is the same bytes wherever and whenever it is made: entries
sorted by name, each dated SOURCE_DATE_EPOCH (UTC; 1980-01-01, the earliest a zip holds, when
it is unset or earlier), mode 0644, no extra fields, deflated at level 9.

    zip-files.py OUT.zip FOLDER [NAME...]

packs the NAMEs (paths below FOLDER; every file below it when none is given) under those names.
"""
import os
import sys
import time
import zipfile
from pathlib import Path

out, folder, names = Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3:]
if not names:
    names = [p.relative_to(folder).as_posix() for p in folder.rglob("*") if p.is_file()]
epoch = max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), 315532800)
date = time.gmtime(epoch)[:6]
tmp = out.with_name(out.name + ".part")
with zipfile.ZipFile(tmp, "w") as archive:
    for name in sorted(names):
        entry = zipfile.ZipInfo(name, date)
        entry.create_system = 3  # Unix: the mode below is read
        entry.external_attr = 0o100644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        archive.writestr(entry, (folder / name).read_bytes(), compresslevel=9)
tmp.replace(out)
