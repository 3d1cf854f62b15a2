#!/usr/bin/env python3
"""Checks that each file of a release folder carries the licence and the notices of what it
bundles, where its users will find them.

    check_release_licence.py FOLDER

`make release` (scripts/release.sh) runs it on the release it has made, before it writes
SHA256SUMS. A FOLDER that holds no release file fails.
"""
import io
import subprocess
import sys
import tarfile
import tempfile
import zipfile
from pathlib import Path

FOLDER = Path(sys.argv[1])
LICENCE = "Copyright (c) 2026, The Pevrand developers"
DEP5 = ("Copyright: 2026 The Pevrand developers", "License: BSD-3-Clause")
# The notices each kind of file must hold, by the words that name the bundled pieces' licences.
WINDOWS = ("mingw-w64 project", "GCC RUNTIME LIBRARY EXCEPTION", "fast_float")
PAGE = ("system/lib/libc/musl/*", "system/lib/libcxx/*", "system/lib/libcxxabi/*", "fast_float")


def holds(what, text, *needles):
    missing = [n for n in needles if n not in text]
    return [f"{what} lacks {', '.join(missing)}"] if missing else []


def page_comment(what, html):
    comment = html.split("<!--", 1)[-1].split("-->", 1)[0] if "<!--" in html else ""
    return holds(f"{what}'s first comment", comment, LICENCE, *PAGE)


def deb(path):
    package = path.name.split("_")[0]
    tree = subprocess.run(["dpkg-deb", "--fsys-tarfile", path], check=True,
                          capture_output=True).stdout
    with tarfile.open(fileobj=io.BytesIO(tree)) as tar:
        copyright = tar.extractfile(f"./usr/share/doc/{package}/copyright").read().decode()
    pieces = ("fast_float", "pybind11") if package.startswith("python3-") else ("fast_float",)
    return holds(f"/usr/share/doc/{package}/copyright", copyright, *DEP5, *pieces)


def wheel(path):
    with zipfile.ZipFile(path) as archive:
        info = {Path(n).name: archive.read(n).decode() for n in archive.namelist()
                if ".dist-info/" in n}
    return (holds("METADATA", info.get("METADATA", ""), "License: BSD-3-Clause")
            + holds("the metadata folder's LICENSE", info.get("LICENSE", ""), LICENCE)
            + holds("the metadata folder", " ".join(info), "fast_float.txt", "pybind11.txt"))


def sdist(path):
    top = path.name[: -len(".tar.gz")]
    with tarfile.open(path) as tar:
        read = lambda name: tar.extractfile(f"{top}/{name}").read().decode()
        return holds("LICENSE", read("LICENSE"), LICENCE) + holds(
            "PKG-INFO", read("PKG-INFO"), "License: BSD-3-Clause")


def windows_texts(what, read):
    return (holds(f"{what} LICENSE.txt", read("LICENSE.txt"), LICENCE)
            + holds(f"{what} THIRD-PARTY-NOTICES.txt", read("THIRD-PARTY-NOTICES.txt"), *WINDOWS))


def windows_zip(path):
    with zipfile.ZipFile(path) as archive:
        return windows_texts("the zip's", lambda name: archive.read(name).decode())


def msi(path):
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["msiextract", "-C", folder, path], check=True, capture_output=True)
        installed = {p.name: p for p in Path(folder).rglob("*") if p.is_file()}
        return windows_texts("the installed", lambda name: installed[name].read_text())


def web_zip(path):
    with zipfile.ZipFile(path) as archive:
        return page_comment("index.html", archive.read("index.html").decode())


KINDS = [(".deb", deb), (".whl", wheel), (".tar.gz", sdist), ("-web.zip", web_zip),
         (".zip", windows_zip), (".msi", msi),
         (".html", lambda path: page_comment(path.name, path.read_text()))]
NOT_ARTEFACTS = {"SHA256SUMS", "RELEASE-NOTES.md"}

files = sorted(p for p in FOLDER.glob("*") if p.name not in NOT_ARTEFACTS) if FOLDER.is_dir() else []
if not files:
    print(f"{FOLDER} holds no release file")
    sys.exit(1)
failures = []
for path in files:
    check = next((check for suffix, check in KINDS if path.name.endswith(suffix)), None)
    try:
        problems = check(path) if check else ["is no kind of release file that this check knows"]
    except KeyError as missing:  # a file it should hold
        problems = [f"lacks {missing}"]
    failures += [f"{path.name}: {p}" for p in problems]
    print(f"{path.name}: {'FAILED' if problems else 'licence and notices found'}")
print("\n".join(failures) or f"every one of the {len(files)} files carries the licence")
sys.exit(1 if failures else 0)
