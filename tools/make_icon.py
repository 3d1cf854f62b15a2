#!/usr/bin/env python3
"""Draws Pevrand's program icon and writes it out.

The artwork is a neutron (a blue ball marked "n") above a wave that runs into an arrow: the
particle, its wavelength and the conversion between them. It is drawn from a few shapes
measured in pixels of the 16-pixel image and sampled 8 x 8 times per pixel at each size, so
that the small images stay sharp instead of being scaled down from a large one.

Outputs, relative to the checkout (or to --out); `--app DIR` writes the hosted page's icons
into DIR instead (see APP_ICONS), which the page's build makes afresh:
  resources/Pevrand.ico   six images: 16, 32 and 48 pixels, each in 16 colours (the standard
                          VGA palette, one colour per pixel) and in 256 colours (a palette made
                          for the image), each with its own transparency mask
  packaging/icons/hicolor/NxN/apps/<PEVRAND_DESKTOP_ID>.png
                          the same artwork at 16, 32 and 48 pixels, true colour with alpha

The output depends only on this file and the desktop id in resources/ProgramIdentity.h: no
dates, no randomness. `--check` draws everything in memory and fails when a committed file
differs from it.

Uses only the Python standard library.
"""

import argparse
import math
import pathlib
import re
import struct
import sys
import zlib

SAMPLES = 8  # per pixel along each axis
ICON_SIZES = (16, 32, 48)

# The hosted page's icons: file, size in pixels, the artwork's share of that size, and whether the
# icon is opaque, on the main window's pale cyan. A maskable icon keeps the whole artwork
# inside the safe zone, the circle of 40 % of the size around the centre, since a launcher may
# cut away everything outside it; iOS shows transparency as black and rounds the corners.
APP_ICONS = (
    ("icon-192.png", 192, 1.0, False),
    ("icon-512.png", 512, 1.0, False),
    ("icon-maskable-512.png", 512, 0.64, True),
    ("apple-touch-icon.png", 180, 0.8, True),
)
APP_BACKGROUND = (192, 255, 255)


def desktop_id(root):
    """The program's desktop id, which names the PNGs, from the identity header."""
    header = (root / "resources" / "ProgramIdentity.h").read_text(encoding="utf-8")
    return re.search(r'#define PEVRAND_DESKTOP_ID "([^"]+)"', header).group(1)


# The 16 colours every 4-bit icon is drawn in: the standard VGA palette, in its usual order.
VGA = (
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
)
VGA_NAVY, VGA_RED, VGA_BLUE, VGA_AQUA, VGA_WHITE = 4, 9, 12, 14, 15


# --- The artwork -------------------------------------------------------------------------
#
# `Artwork(size)` answers, for one point of the image in pixel units, the colour there: a
# true colour and the VGA index the 16-colour image uses, or None where the icon is
# transparent. The straight edges fall on pixel borders of the 16-pixel image, so that it
# reads as clean pixel art.


def _mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(x + (y - x) * t for x, y in zip(a, b))


class Artwork:
    BALL_RIM = (16, 32, 96)
    BALL_LIGHT = (140, 200, 255)
    BALL_DARK = (24, 72, 200)
    LETTER = (255, 255, 255)
    WAVE = (232, 56, 16)

    def __init__(self, size):
        # Every measure is given in pixels of the 16-pixel image and scaled by `px`, so the
        # 32- and 48-pixel images are the same drawing, twice and three times as fine.
        px = size / 16.0
        # The neutron: a ball in the upper left, with a rim.
        self.cx, self.cy = 6.5 * px, 5.5 * px
        self.radius = 5.5 * px
        self.rim = max(1.0, round(0.75 * px))
        # The letter n on the ball: two stems joined by an arch.
        self.stroke = 1.0 * px
        self.n_left, self.n_right = 4.0 * px, 9.0 * px
        self.n_top, self.n_bottom = 3.0 * px, 8.0 * px
        # The wave along the bottom, running into an arrow at the right.
        self.wave_y = 13.5 * px
        self.wave_amp = 1.0 * px
        self.wave_len = 6.0 * px
        self.wave_x0, self.wave_x1 = 0.5 * px, 11.5 * px
        self.wave_half = (0.6 if size <= 16 else 0.75) * px  # one clean pixel at 16
        self.arrow_base, self.arrow_tip = 11.0 * px, 15.75 * px
        self.arrow_half = 2.5 * px
        # The highlight on the ball, and how far the light reaches.
        self.hx, self.hy = self.cx - 0.55 * self.radius, self.cy - 0.55 * self.radius
        self.spot = 0.25 * self.radius
        self.reach = 1.5 * self.radius

    # The wave's centre line and its slope; the phase brings the wave back to its axis where
    # it meets the arrow.
    def _wave_at(self, x):
        k = 2.0 * math.pi / self.wave_len
        phase = k * (x - self.wave_x1)
        return self.wave_y - self.wave_amp * math.sin(phase), -self.wave_amp * k * math.cos(phase)

    def _in_wave(self, x, y):
        if x < self.wave_x0 or x > self.wave_x1:
            return False
        centre, slope = self._wave_at(x)
        return abs(y - centre) <= self.wave_half * math.sqrt(1.0 + slope * slope)

    def _in_arrow(self, x, y):
        if x < self.arrow_base or x > self.arrow_tip:
            return False
        return abs(y - self.wave_y) <= self.arrow_half * (self.arrow_tip - x) / (
            self.arrow_tip - self.arrow_base)

    def _in_letter(self, x, y):
        s = self.stroke
        if not (self.n_left <= x <= self.n_right and self.n_top <= y <= self.n_bottom):
            return False
        if x <= self.n_left + s or x >= self.n_right - s:
            # The stems; the right one starts below the arch's top.
            return x <= self.n_left + s or y >= self.n_top + 0.5 * s
        # The arch: the top of a ring spanning the stems.
        ar = (self.n_right - self.n_left) / 2.0
        ax, ay = self.n_left + ar, self.n_top + ar
        return y <= ay and ar - s <= math.hypot(x - ax, y - ay) <= ar

    def colour(self, x, y):
        # The wave and its arrow lie in front of the ball.
        if self._in_wave(x, y) or self._in_arrow(x, y):
            return self.WAVE, VGA_RED
        r = math.hypot(x - self.cx, y - self.cy)
        if r > self.radius:
            return None
        if r > self.radius - self.rim:
            return self.BALL_RIM, VGA_NAVY
        if self._in_letter(x, y):
            return self.LETTER, VGA_WHITE
        # Lit from the upper left: a small bright spot, then darker towards the lower right.
        t = math.hypot(x - self.hx, y - self.hy)
        if t < self.spot:
            return _mix(self.LETTER, self.BALL_LIGHT, t / self.spot), VGA_AQUA
        shade = (t - self.spot) / (self.reach - self.spot)
        return _mix(self.BALL_LIGHT, self.BALL_DARK, shade), VGA_BLUE


def render(size):
    """Samples the artwork at `size` pixels. Returns rows of pixels, each (rgb, alpha, vga)
    with rgb the mean colour of the covered samples, alpha the covered fraction and vga the
    VGA colour most of them have (None where no sample is covered)."""
    art = Artwork(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            covered = 0
            votes = {}
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    hit = art.colour(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if hit is None:
                        continue
                    rgb, vga = hit
                    covered += 1
                    for c in range(3):
                        total[c] += rgb[c]
                    votes[vga] = votes.get(vga, 0) + 1
            if covered == 0:
                row.append(((0, 0, 0), 0.0, None))
                continue
            rgb = tuple(int(math.floor(t / covered + 0.5)) for t in total)
            # Most votes wins; a tie goes to the lower index (the darker rim colours).
            vga = min(votes, key=lambda i: (-votes[i], i))
            row.append((rgb, covered / (SAMPLES * SAMPLES), vga))
        rows.append(row)
    return rows


def render_app_icon(size, share, filled):
    """The artwork `share` of `size` pixels wide, centred, as rows of (r, g, b, a). Sampled 2 x 2
    times per pixel, and 4 x 4 times where those samples disagree on the colour they land in
    (an edge); with `filled`, over APP_BACKGROUND and opaque."""
    art_size = size * share
    art, offset, scale = Artwork(art_size), (size - art_size) / 2.0, 1.0

    def sample(x, y):
        return art.colour((x - offset) * scale, (y - offset) * scale)

    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = [sample(px + (sx + 0.5) / 2, py + (sy + 0.5) / 2)
                    for sy in range(2) for sx in range(2)]
            if len({hit and hit[1] for hit in hits}) > 1:
                hits = [sample(px + (sx + 0.5) / 4, py + (sy + 0.5) / 4)
                        for sy in range(4) for sx in range(4)]
            covered = [hit[0] for hit in hits if hit]
            alpha = len(covered) / len(hits)
            rgb = tuple(sum(c[i] for c in covered) / len(covered) if covered else 0.0
                        for i in range(3))
            if filled:
                rgb, alpha = _mix(APP_BACKGROUND, rgb, alpha), 1.0
            row.append(tuple(int(math.floor(c + 0.5)) for c in rgb)
                       + (int(math.floor(alpha * 255 + 0.5)),))
        rows.append(row)
    return rows


def opaque(pixel):
    """An icon pixel is drawn where at least half of it is covered."""
    return pixel[1] >= 0.5


# --- 256-colour palette ------------------------------------------------------------------


def median_cut(colours, count):
    """Reduces a {rgb: pixels} histogram to at most `count` colours by median cut."""
    boxes = [sorted(colours.items())]
    while len(boxes) < count:
        # Split the box with the widest channel range, weighted by its pixel count.
        best, best_key = None, None
        for index, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[0][ch] for c in box) - min(c[0][ch] for c in box) for ch in range(3)]
            weight = sum(n for _, n in box)
            key = (max(spans) * weight, -index)
            if best_key is None or key > best_key:
                best, best_key = index, key
        if best is None:
            break
        box = boxes.pop(best)
        spans = [max(c[0][ch] for c in box) - min(c[0][ch] for c in box) for ch in range(3)]
        channel = spans.index(max(spans))
        box.sort(key=lambda c: (c[0][channel], c[0]))
        half = sum(n for _, n in box) / 2.0
        running, cut = 0, 1
        for i, (_, n) in enumerate(box[:-1]):
            running += n
            cut = i + 1
            if running >= half:
                break
        boxes[best:best] = [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        weight = sum(n for _, n in box)
        palette.append(tuple(int(math.floor(sum(c[ch] * n for c, n in box) / weight + 0.5))
                             for ch in range(3)))
    return palette


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: (sum((a - b) ** 2 for a, b in zip(palette[i], rgb)), i))


# --- ICO ---------------------------------------------------------------------------------


def _rows_bottom_up(rows):
    return list(reversed(rows))


def _pad4(data):
    return data + b"\0" * (-len(data) % 4)


def bmp_entry(rows, bits):
    """One icon image: BITMAPINFOHEADER, palette, colour (XOR) bitmap and AND mask, rows
    bottom up, each padded to four bytes. Transparent pixels are black in the colour bitmap
    and set in the mask, so that they show the screen unchanged."""
    size = len(rows)
    if bits == 4:
        palette = list(VGA)
        indexes = [[p[2] if opaque(p) else 0 for p in row] for row in rows]
    else:
        histogram = {}
        for row in rows:
            for p in row:
                if opaque(p):
                    histogram[p[0]] = histogram.get(p[0], 0) + 1
        # Index 0 stays black: the colour of every transparent pixel.
        palette = [(0, 0, 0)] + median_cut(histogram, 255)
        lookup = {rgb: nearest(palette, rgb) for rgb in sorted(histogram)}
        indexes = [[lookup[p[0]] if opaque(p) else 0 for p in row] for row in rows]
        palette += [(0, 0, 0)] * (256 - len(palette))

    colour = b""
    for row in _rows_bottom_up(indexes):
        if bits == 4:
            packed = bytes((row[i] << 4) | row[i + 1] for i in range(0, size, 2))
        else:
            packed = bytes(row)
        colour += _pad4(packed)

    mask = b""
    for row in _rows_bottom_up(rows):
        bitsrow = bytearray((size + 7) // 8)
        for x, p in enumerate(row):
            if not opaque(p):
                bitsrow[x // 8] |= 0x80 >> (x % 8)
        mask += _pad4(bytes(bitsrow))

    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(colour) + len(mask), 0, 0, 1 << bits, 0)
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + quads + colour + mask


def ico_file(images):
    """An ICO file of `images`, a list of (size, bits, entry bytes), kept in that order."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for size, bits, entry in images:
        colours = 1 << bits if bits < 8 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(entry), offset)
        offset += len(entry)
        data += entry
    return out + data


# --- PNG ---------------------------------------------------------------------------------


def _chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))


def png_file(rows):
    """A true-colour PNG with alpha of the rendered rows, without time or text chunks."""
    size = len(rows)
    raw = b""
    for row in rows:
        raw += b"\0"  # no filter
        for rgb, alpha, _ in row:
            a = int(math.floor(alpha * 255 + 0.5))
            raw += bytes(rgb if a else (0, 0, 0)) + bytes((a,))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def app_png_file(rows, alpha):
    """A PNG of rows of (r, g, b, a), with alpha or without it, each row filtered the way that
    leaves the smallest sum of its bytes (the usual heuristic), without time or text chunks."""
    channels = 4 if alpha else 3
    raw, previous = b"", bytes(len(rows) * channels)
    for row in rows:
        line = bytes(v for pixel in row for v in pixel[:channels])
        left = bytes(channels) + line[:-channels]
        up_left = bytes(channels) + previous[:-channels]
        candidates = [
            line,
            bytes((x - a) & 255 for x, a in zip(line, left)),
            bytes((x - b) & 255 for x, b in zip(line, previous)),
            bytes((x - (a + b) // 2) & 255 for x, a, b in zip(line, left, previous)),
            bytes((x - _paeth(a, b, c)) & 255 for x, a, b, c in zip(line, left, previous, up_left)),
        ]
        kind = min(range(5), key=lambda k: sum(v if v < 128 else 256 - v for v in candidates[k]))
        raw += bytes((kind,)) + candidates[kind]
        previous = line
    header = struct.pack(">IIBBBBB", len(rows), len(rows), 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def app_outputs():
    """The hosted page's icons: {file name: bytes}."""
    return {name: app_png_file(render_app_icon(size, share, filled), alpha=not filled)
            for name, size, share, filled in APP_ICONS}


# --- Main --------------------------------------------------------------------------------


def outputs(root):
    """Every output file: {path relative to the checkout: bytes}."""
    rendered = {size: render(size) for size in ICON_SIZES}
    images = []
    for size in ICON_SIZES:
        for bits in (4, 8):
            images.append((size, bits, bmp_entry(rendered[size], bits)))
    files = {"resources/Pevrand.ico": ico_file(images)}
    name = desktop_id(root)
    for size in ICON_SIZES:
        path = f"packaging/icons/hicolor/{size}x{size}/apps/{name}.png"
        files[path] = png_file(rendered[size])
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    root = pathlib.Path(__file__).resolve().parent.parent
    parser.add_argument("--out", type=pathlib.Path, default=root,
                        help="directory to write into (default: the checkout)")
    parser.add_argument("--check", action="store_true",
                        help="write nothing; fail if a file under --out differs")
    parser.add_argument("--app", type=pathlib.Path, metavar="DIR",
                        help="write only the hosted page's icons, into DIR")
    args = parser.parse_args()

    if args.app:
        args.app.mkdir(parents=True, exist_ok=True)
        for name, data in app_outputs().items():
            (args.app / name).write_bytes(data)
        return 0

    stale = []
    for relative, data in outputs(root).items():
        path = args.out / relative
        if args.check:
            if not path.is_file() or path.read_bytes() != data:
                stale.append(relative)
            continue
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        print(f"wrote {path} ({len(data)} bytes)")
    if stale:
        print("out of date with tools/make_icon.py (run it and commit the result):",
              file=sys.stderr)
        for relative in stale:
            print(f"  {relative}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
