#!/usr/bin/env python3
"""Checks that a table a document shows is the one a program makes, so that the document can't
drift from the code: the lines between "<!-- NAME: made by ... -->" and "<!-- end of NAME -->"
must be the command's output, byte for byte.

    check_made_table.py DOCUMENT NAME COMMAND...
"""
import subprocess
import sys

DOCUMENT, NAME, COMMAND = sys.argv[1], sys.argv[2], sys.argv[3:]
END = f"<!-- end of {NAME} -->\n"

text = open(DOCUMENT, encoding="utf-8").read()
start = text.find(f"<!-- {NAME}: made by ")
if start < 0 or END not in text[start:]:
    sys.exit(f"{DOCUMENT}: no {NAME} between '<!-- {NAME}: made by ... -->' and '{END.strip()}'")
shown = text[text.index("\n", start) + 1:text.index(END, start)]
made = subprocess.run(COMMAND, capture_output=True, text=True, check=True).stdout
if shown != made:
    sys.exit(f"{DOCUMENT}'s {NAME} is not what the code makes; put this in its place:\n{made}")
print(f"{DOCUMENT}: the {NAME} is what the code makes")
