#!/usr/bin/env python3
"""The documents name what exists: every path of the repository that README.md or a page of
docs/ names (`scripts/deb.sh`, tests/web/page_test.py, `ui/*/qt/`, `FactorsPicture.{h,cpp}` of a
folder, `ui/main/ConvertCommand` for its .h and .cpp, anywhere in the text) is there, and every
`make TARGET` in their code is a target of the Makefile. docs/developing.md, where a developer
looks them up, names every script under scripts/ and every target. A path under what .gitignore
ignores (build folders, dist/) is made by a build and not checked.

Usage: check_names.py SOURCE_DIR
"""
import fnmatch
import re
import sys
from pathlib import Path

CODE = re.compile(r"`([^`]*)`")
MAKE = re.compile(r"(?:^|[\s;&|(])make\s+(?:[A-Z_]+=\S*\s+)*([a-z][\w-]*)")
PATH = r"(?<![\w./$~-])({top})/((?:[\w.*+-]|/|\{{[^}}\s]*\}})*)"
RULE = re.compile(r"^([a-z][\w-]*)\s*:(?!=)", re.MULTILINE)


def braces(pattern):
    """`pattern` with its first {a,b} group expanded, and so on for the rest."""
    match = re.search(r"\{([^{}]*)\}", pattern)
    if not match:
        return [pattern]
    return [expanded for choice in match.group(1).split(",")
            for expanded in braces(pattern[:match.start()] + choice + pattern[match.end():])]


def ignored(rules, path):
    """Whether .gitignore's `rules` ignore `path` or a folder above it."""
    parts = path.split("/")
    for end in range(1, len(parts) + 1):
        name, whole = parts[end - 1], "/".join(parts[:end])
        for rule in rules:
            anchored, rule = rule.startswith("/"), rule.strip("/")
            if fnmatch.fnmatch(whole if anchored or "/" in rule else name, rule):
                return True
    return False


def exists(source, path):
    """A file or folder, a glob that matches one, or a C++ header's and source's stem
    (`ui/main/ConvertCommand`)."""
    if "*" in path:
        return any(source.glob(path.rstrip("/")))
    return any((source / (path + ending)).exists() for ending in ("", ".h", ".cpp"))


def named(page, top):
    """(line, kind, name) of every path and make target that `page` names."""
    paths = re.compile(PATH.format(top="|".join(re.escape(t) for t in top)))
    fenced = False
    for number, line in enumerate(page.read_text(encoding="utf-8").splitlines(), 1):
        if re.match(r"^\s*(```|~~~)", line):
            fenced = not fenced
            continue
        for match in paths.finditer(line):
            name = re.sub(r"(:\d+(-\d+)?)?[.:]*$", "", match.group(0))
            yield number, "path", name
        for code in [line] if fenced else CODE.findall(line):
            for target in MAKE.findall(code):
                yield number, "target", target


def main():
    source = Path(sys.argv[1]).resolve()
    rules = [line.strip() for line in (source / ".gitignore").read_text().splitlines()
             if line.strip() and not line.startswith("#")]
    top = sorted(p.name for p in source.iterdir()
                 if p.is_dir() and p.name != ".git" and not ignored(rules, p.name))
    makefile = (source / "Makefile").read_text()
    targets = set(RULE.findall(makefile))
    pages = [source / "README.md", *sorted((source / "docs").glob("*.md"))]
    problems, seen = [], {}
    for page in pages:
        where = page.relative_to(source)
        for number, kind, name in named(page, top):
            seen.setdefault(where, set()).add(name)
            if kind == "target" and name not in targets:
                problems.append(f"{where}:{number}: `make {name}`: the Makefile has no such target")
            elif kind == "path" and not ignored(rules, name) and not all(
                    exists(source, path) for path in braces(name)):
                problems.append(f"{where}:{number}: {name}: no such file or folder")
    guide = Path("docs/developing.md")
    scripts = sorted(f"scripts/{p.name}" for p in (source / "scripts").iterdir() if p.is_file())
    for name in scripts + sorted(targets):
        if name not in seen.get(guide, set()):
            problems.append(f"{guide}: names no {name if '/' in name else f'`make {name}`'}")
    print("\n".join(problems) or f"{len(pages)} pages; every path and make target they name "
          f"exists, and {guide} names the {len(scripts)} scripts and {len(targets)} targets")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
