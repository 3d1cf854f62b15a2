#!/usr/bin/env python3
"""Writes the source distribution OUT_DIR/pevrand-<version>.tar.gz: every file git tracks, as the
working tree holds it, below pevrand-<version>/, with the PKG-INFO that pip reads, so that
`pip wheel --no-build-isolation --no-index pevrand-<version>.tar.gz` builds it offline just as
it builds the checkout.

    sdist.py OUT_DIR

The same files give the same bytes: entries sorted, dated SOURCE_DATE_EPOCH (0 when unset),
owned by root, mode 0644 or 0755 as git records it; gzip with no name and no time.
"""
import gzip
import io
import os
import re
import subprocess
import sys
import tarfile
import tomllib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
out_dir = Path(sys.argv[1])
identity = (ROOT / "resources/ProgramIdentity.h").read_text()
version = ".".join(re.search(rf"#define PEVRAND_VERSION_{part} (\d+)", identity).group(1)
                   for part in ("MAJOR", "MINOR", "REVISION"))
project = tomllib.loads((ROOT / "pyproject.toml").read_text())["project"]
epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
top = f"pevrand-{version}"

# Core metadata 2.1, from pyproject.toml's [project].
author = project["authors"][0]
pkg_info = "".join([
    "Metadata-Version: 2.1\n",
    f"Name: {project['name']}\n",
    f"Version: {version}\n",
    f"Summary: {project['description']}\n",
    f"Author: {author['name']}\n",
    f"Author-email: {author['name']} <{author['email']}>\n",
    f"License: {project['license']['text']}\n",
    *(f"Classifier: {c}\n" for c in project["classifiers"]),
    f"Requires-Python: {project['requires-python']}\n",
    f"Description-Content-Type: {project['readme']['content-type']}\n",
    "\n",
    project["readme"]["text"] + "\n",
]).encode()

# (path, git mode) of every tracked file; a file deleted in the working tree is left out.
listed = subprocess.run(["git", "-C", ROOT, "ls-files", "-s", "-z"], check=True,
                        capture_output=True).stdout.decode().split("\0")
files = []
for row in filter(None, listed):
    meta, path = row.split("\t", 1)
    if (ROOT / path).exists() or (ROOT / path).is_symlink():
        files.append((path, meta.split()[0]))


def entry(name, size=0, mode=0o644, kind=tarfile.REGTYPE, link=""):
    info = tarfile.TarInfo(f"{top}/{name}" if name else top)
    info.size, info.mode, info.type, info.linkname = size, mode, kind, link
    info.mtime, info.uid, info.gid, info.uname, info.gname = epoch, 0, 0, "root", "root"
    return info


out_dir.mkdir(parents=True, exist_ok=True)
target = out_dir / f"{top}.tar.gz"
buffer = io.BytesIO()
with tarfile.open(fileobj=buffer, mode="w", format=tarfile.PAX_FORMAT) as tar:
    tar.addfile(entry("", mode=0o755, kind=tarfile.DIRTYPE))
    for name, git_mode in sorted(files + [("PKG-INFO", "100644")]):
        if name == "PKG-INFO":
            tar.addfile(entry(name, len(pkg_info)), io.BytesIO(pkg_info))
        elif git_mode == "120000":
            tar.addfile(entry(name, kind=tarfile.SYMTYPE, link=os.readlink(ROOT / name)))
        else:
            data = (ROOT / name).read_bytes()
            tar.addfile(entry(name, len(data), 0o755 if git_mode == "100755" else 0o644),
                        io.BytesIO(data))
with open(target, "wb") as raw, gzip.GzipFile(filename="", mode="wb", fileobj=raw, mtime=0,
                                              compresslevel=9) as gz:
    gz.write(buffer.getvalue())
print(f"sdist: wrote {target} ({target.stat().st_size} bytes, {len(files)} files)")
