#!/usr/bin/env python3
"""The page's SHA-256 digests, written once the page writer (WritePage.cpp) has written the page
and its folder:

  - in each page, the one-file page and the folder's index.html, the digest of its one inline
    script, into its policy's script-src, which the writer leaves empty ('sha256-');
  - then, over the finished folder, above the service worker that the hosted page names
    (data-worker), the files its store keeps, every other file of the folder, each with its
    digest as a subresource-integrity string, and the revision of that list, which names the
    store.

Usage: page_digests.py PAGE FOLDER
"""
import base64
import hashlib
import json
import re
import sys
from pathlib import Path

EMPTY = b"'sha256-'"


def digest(data):
    return base64.b64encode(hashlib.sha256(data).digest()).decode()


def name_script(page):
    """Writes the digest of `page`'s inline script into its policy. The policy is in the head,
    which is the writer's own markup; the script is the first in the body and ends at the first
    </script> after it, as the writer refuses a module that holds one."""
    html = page.read_bytes()
    head_end = html.index(b"</head>")
    start = html.index(b"<script>", head_end) + len(b"<script>")
    script = html[start:html.index(b"</script>", start)]
    if html[:head_end].count(EMPTY) != 1:
        sys.exit(f"page_digests: {page}'s head holds no one empty script-src {EMPTY.decode()}")
    page.write_bytes(html.replace(EMPTY, f"'sha256-{digest(script)}'".encode(), 1))
    return html[:head_end]


def list_files(folder, head):
    """Puts the files that the hosted page's worker keeps, with their digests, above it."""
    worker = folder / re.search(rb'data-worker="([^"/]+)"', head).group(1).decode()
    kept = sorted(p.name for p in folder.iterdir() if p.is_file() and p != worker)
    files = ",\n  ".join(f"{json.dumps(name)}: "
                         f"{json.dumps('sha256-' + digest((folder / name).read_bytes()))}"
                         for name in kept)
    worker.write_text("// The files that the store keeps, with the SHA-256 of each, and the "
                      "revision of the list\n// (page_digests.py).\nvar FILES = {\n  " + files +
                      "\n};\nvar REVISION = " + json.dumps(digest(files.encode())[:12]) + ";\n" +
                      worker.read_text(encoding="utf-8"), encoding="utf-8")


def main():
    page, folder = Path(sys.argv[1]), Path(sys.argv[2])
    name_script(page)
    list_files(folder, name_script(folder / "index.html"))


if __name__ == "__main__":
    main()
