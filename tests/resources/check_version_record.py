#!/usr/bin/env python3
"""Compiles resources/Pevrand.rc with MinGW's resource compiler and reads the result back.

Checks that the executable's resources are the designed ones: icon group 1 with the six
images of resources/Pevrand.ico in their order, byte for byte, and a version record with
every designed entry. Fails when the resource compiler is not installed.
"""

import argparse
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16

FIXED_FILE_VERSION = (2, 1, 0, 0)
FIXED_PRODUCT_VERSION = (2, 1, 0, 0)
VOS__WINDOWS32, VFT_APP = 0x4, 0x1
STRINGS_0409_04B0 = {
    "CompanyName": "Druvel Facility",
    "ProductName": "Pevrand",
    "FileVersion": "2.01",
    "ProductVersion": "2.01",
    "InternalName": "Pevrand",
    "OriginalFilename": "Pevrand.exe",
}
TRANSLATION = (0x0409, 1200)


def read_res(data):
    """The resources of a .res file: {(type, name): bytes}, types and names as numbers or
    strings."""

    def ident(at):
        if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
            return struct.unpack_from("<H", data, at + 2)[0], at + 4
        end = at
        while struct.unpack_from("<H", data, end)[0] != 0:
            end += 2
        return data[at:end].decode("utf-16-le"), end + 2

    resources = {}
    at = 0
    while at < len(data):
        size, header = struct.unpack_from("<II", data, at)
        kind, next_at = ident(at + 8)
        name, _ = ident(next_at)
        payload = data[at + header:at + header + size]
        if size:
            assert (kind, name) not in resources, f"resource {kind}/{name} twice"
            resources[(kind, name)] = payload
        at += header + size
        at += -at % 4
    return resources


def read_version_block(data, at=0):
    """One node of a VERSIONINFO tree: (key, value bytes, value length, type, children)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_at = at + 6
    key_end = key_at
    while struct.unpack_from("<H", data, key_end)[0] != 0:
        key_end += 2
    key = data[key_at:key_end].decode("utf-16-le")
    cursor = key_end + 2
    cursor += -cursor % 4
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = data[cursor:cursor + value_bytes]
    cursor += value_bytes
    cursor += -cursor % 4
    children = []
    while cursor < end:
        child = read_version_block(data, cursor)
        children.append(child[:-1])
        cursor = child[-1]
        cursor += -cursor % 4
    return key, value, value_length, kind, children, end


def ico_images(data):
    """The image data of an ICO file, in directory order, with (width, colours, bits)."""
    count = struct.unpack_from("<H", data, 4)[0]
    images = []
    for i in range(count):
        width, _, colours, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data,
                                                                          6 + 16 * i)
        images.append(((width, colours, bits), data[offset:offset + size]))
    return images


class VersionRecord(unittest.TestCase):
    res = None
    ico = None

    def test_icon_group_1_holds_the_six_images_in_order(self):
        group = self.res[(RT_GROUP_ICON, 1)]
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((reserved, kind), (0, 1))
        expected = ico_images(self.ico)
        self.assertEqual(count, len(expected))
        self.assertEqual(count, 6)
        for i, (shape, data) in enumerate(expected):
            with self.subTest(image=i + 1):
                width, height, colours, _, planes, bits, size, number = struct.unpack_from(
                    "<BBBBHHIH", group, 6 + 14 * i)
                self.assertEqual((width, colours, bits), shape)
                self.assertEqual((height, planes, size), (width, 1, len(data)))
                self.assertEqual(self.res[(RT_ICON, number)], data)

    def test_fixed_part_gives_version_2_1_0_0_of_a_windows_application(self):
        key, value, _, _, _, _ = read_version_block(self.res[(RT_VERSION, 1)])
        self.assertEqual(key, "VS_VERSION_INFO")
        fields = struct.unpack("<13I", value)
        self.assertEqual(fields[0], 0xFEEF04BD)
        split = lambda high, low: (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)
        self.assertEqual(split(fields[2], fields[3]), FIXED_FILE_VERSION)
        self.assertEqual(split(fields[4], fields[5]), FIXED_PRODUCT_VERSION)
        self.assertEqual(fields[7], 0, "no file flags")
        self.assertEqual(fields[8], VOS__WINDOWS32)
        self.assertEqual(fields[9], VFT_APP)

    def test_strings_are_us_english_unicode_with_every_entry(self):
        _, _, _, _, children, _ = read_version_block(self.res[(RT_VERSION, 1)])
        blocks = {key: kids for key, _, _, _, kids in children}
        tables = blocks["StringFileInfo"]
        self.assertEqual([key for key, *_ in tables], ["040904B0"])
        strings = {}
        for key, value, length, kind, _ in tables[0][4]:
            self.assertEqual(kind, 1, key)
            text = value.decode("utf-16-le")
            self.assertTrue(text.endswith("\0") and length == len(text), key)
            strings[key] = text[:-1]
        self.assertEqual(strings, STRINGS_0409_04B0)

        (key, value, _, kind, _), = blocks["VarFileInfo"]
        self.assertEqual((key, kind), ("Translation", 0))
        self.assertEqual(struct.unpack("<HH", value), TRANSLATION)

    def test_nothing_else_is_compiled_in(self):
        kinds = sorted({kind for kind, _ in self.res})
        self.assertEqual(kinds, [RT_ICON, RT_GROUP_ICON, RT_VERSION])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--windres", default="x86_64-w64-mingw32-windres")
    parser.add_argument("--resources", required=True, help="the resources/ directory")
    args = parser.parse_args()

    windres = shutil.which(args.windres)
    if windres is None:
        print(f"FAIL: {args.windres} not found; it comes with the Debian package "
              "binutils-mingw-w64-x86-64 (scripts/install-deps.sh check installs it)")
        return 1
    with tempfile.TemporaryDirectory() as work:
        compiled = f"{work}/Pevrand.res"
        subprocess.run([windres, "-I", args.resources, "-O", "res", "-o", compiled,
                        f"{args.resources}/Pevrand.rc"], check=True)
        with open(compiled, "rb") as f:
            VersionRecord.res = read_res(f.read())
    with open(f"{args.resources}/Pevrand.ico", "rb") as f:
        VersionRecord.ico = f.read()
    result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
