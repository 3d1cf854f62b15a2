#!/usr/bin/env python3
"""Every relative link of README.md and docs/*.md resolves: its file exists and its #anchor names
a heading of the page it points to, as GitHub makes anchors of headings.

Usage: check_links.py SOURCE_DIR
"""
import pathlib
import re
import sys

FENCE = re.compile(r"^(```|~~~)")
INLINE_CODE = re.compile(r"`[^`]*`")
LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
REFERENCE = re.compile(r"^\s*\[[^\]]+\]:\s*<?(\S+?)>?(?:\s|$)")
HTML = re.compile(r"<(?:img|a)\b[^>]*?\b(?:src|href)=\"([^\"]+)\"", re.IGNORECASE)
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def prose_lines(text):
    """The lines outside fenced code blocks, with their numbers."""
    fenced = False
    for number, line in enumerate(text.splitlines(), 1):
        if FENCE.match(line.lstrip()):
            fenced = not fenced
        elif not fenced:
            yield number, line


def slug(heading):
    """GitHub's anchor for a heading: lower case, punctuation dropped, spaces made hyphens."""
    text = re.sub(r"[`*_]|\[([^\]]*)\]\([^)]*\)", r"\1", heading.strip().lower())
    return re.sub(r"[^\w\- ]", "", text).replace(" ", "-")


def anchors(path):
    seen = {}
    for _, line in prose_lines(path.read_text(encoding="utf-8")):
        match = re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", line)
        if match:
            base = slug(match.group(1))
            count = seen.get(base, 0)
            seen[base] = count + 1
            yield base if count == 0 else f"{base}-{count}"


def targets(path):
    for number, line in prose_lines(path.read_text(encoding="utf-8")):
        line = INLINE_CODE.sub("", line)
        for pattern in (LINK, REFERENCE, HTML):
            for match in pattern.finditer(line):
                yield number, match.group(1)


def broken_links(page):
    for number, target in targets(page):
        if SCHEME.match(target):
            continue
        file_part, _, anchor = target.partition("#")
        linked = (page.parent / file_part).resolve() if file_part else page
        if not linked.exists():
            yield f"{page}:{number}: {target}: no such file"
        elif anchor and linked.suffix == ".md" and anchor not in set(anchors(linked)):
            yield f"{page}:{number}: {target}: no heading makes #{anchor}"


def main():
    source = pathlib.Path(sys.argv[1])
    pages = [source / "README.md", *sorted((source / "docs").glob("*.md"))]
    problems = [problem for page in pages for problem in broken_links(page)]
    print("\n".join(problems) or f"{len(pages)} pages, every relative link resolves")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
