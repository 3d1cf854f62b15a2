#!/usr/bin/env python3
"""Checks that the quantity table in docs/command-line.md is the engine's, as
pevrand_quantity_table writes it, so that a quantity added to the engine shows in the
documents too.

    check_quantity_table.py TOOL DOCUMENT
"""
import subprocess
import sys

TOOL, DOCUMENT = sys.argv[1], sys.argv[2]
START, END = "<!-- quantity table: build/tools/pevrand_quantity_table markdown -->\n", \
    "<!-- end of the quantity table -->\n"

text = open(DOCUMENT, encoding="utf-8").read()
if START not in text or END not in text:
    sys.exit(f"{DOCUMENT}: no quantity table between the markers {START.strip()} and "
             f"{END.strip()}")
shown = text.split(START, 1)[1].split(END, 1)[0]
table = subprocess.run([TOOL, "markdown"], capture_output=True, text=True, check=True).stdout
if shown != table:
    sys.exit(f"{DOCUMENT}'s quantity table is not the engine's; write it again with\n"
             f"  {TOOL} markdown\nwhich gives:\n{table}")
print(f"{DOCUMENT}: the quantity table is the engine's")
