#!/usr/bin/env python3
"""Installs the build into a fresh prefix and checks the Linux desktop integration there.

`cmake --install` must put the program in bin/, the menu entry in share/applications, the
AppStream metainfo in share/metainfo and the icon in share/icons/hicolor at 16, 32 and 48
pixels, and these must name each other consistently: the entry starts the installed program
and shows the installed icon, the metainfo launches that entry and provides that program.
"""

import argparse
import configparser
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ElementTree

ICON_SIZES = (16, 32, 48)


class Installed(unittest.TestCase):
    prefix = None
    desktop_id = None
    executable = None
    version = None

    def path(self, *parts):
        return os.path.join(self.prefix, *parts)

    def desktop_entry(self):
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(self.path("share", "applications", f"{self.desktop_id}.desktop"),
                    encoding="utf-8")
        return parser["Desktop Entry"]

    def test_program_is_in_bin(self):
        program = self.path("bin", self.executable)
        self.assertTrue(os.path.isfile(program), program)
        self.assertTrue(os.access(program, os.X_OK), program)

    def test_desktop_entry_starts_the_installed_program(self):
        entry = self.desktop_entry()
        self.assertEqual(entry["Exec"], self.executable, "no arguments: the program takes none")
        self.assertEqual(entry["StartupWMClass"], self.executable)

    def test_icon_is_installed_at_each_size_under_the_entrys_icon_name(self):
        name = self.desktop_entry()["Icon"]
        self.assertEqual(name, self.desktop_id)
        for size in ICON_SIZES:
            with self.subTest(size=size):
                png = self.path("share", "icons", "hicolor", f"{size}x{size}", "apps",
                                f"{name}.png")
                with open(png, "rb") as f:
                    head = f.read(24)
                self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n", png)
                self.assertEqual(struct.unpack(">II", head[16:24]), (size, size), png)

    def test_metainfo_names_the_entry_the_program_and_this_release(self):
        metainfo = self.path("share", "metainfo", f"{self.desktop_id}.metainfo.xml")
        root = ElementTree.parse(metainfo).getroot()
        self.assertEqual(root.findtext("id"), self.desktop_id)
        self.assertEqual(root.findtext("launchable[@type='desktop-id']"),
                         f"{self.desktop_id}.desktop")
        self.assertEqual(root.findtext("provides/binary"), self.executable)
        self.assertIn(self.version, [r.get("version") for r in root.iter("release")])


    def test_manual_pages_list_the_commands_quantities(self):
        # Both pages are filled in from the quantity table at build time, as --help is.
        helped = subprocess.run([self.path("bin", "pevrand-convert"), "--help"], check=True,
                                capture_output=True, text=True).stdout
        names = re.findall(r"^  ([a-z]+) ", helped.split("Quantities,")[1], re.MULTILINE)
        self.assertEqual(len(names), 10, helped)
        for page in (f"{self.executable}.1.gz", "pevrand-convert.1.gz"):
            with gzip.open(self.path("share", "man", "man1", page), "rt",
                           encoding="utf-8") as manual:
                text = manual.read()
            self.assertNotIn("@QUANTITY", text, page)
        rows = [line.split()[0] for line in text.split("Other names")[1].splitlines()[1:11]]
        self.assertEqual(rows, names)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build", required=True, help="the build directory to install")
    parser.add_argument("--config", default="")
    parser.add_argument("--prefix", required=True, help="a scratch directory, emptied first")
    parser.add_argument("--desktop-id", required=True)
    parser.add_argument("--executable", required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()

    shutil.rmtree(args.prefix, ignore_errors=True)
    command = [args.cmake, "--install", args.build, "--prefix", args.prefix]
    if args.config:
        command += ["--config", args.config]
    subprocess.run(command, check=True)

    Installed.prefix = args.prefix
    Installed.desktop_id = args.desktop_id
    Installed.executable = args.executable
    Installed.version = args.version
    result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
