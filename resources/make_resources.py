#!/usr/bin/env python3
"""Draws Tallyra's pictures and writes them next to this script:

  tallyra.ico   the application icon, 15 images from 16 x 16 to 512 x 512
                (32-bit BMP images at 16 x 16 and 32 x 32, PNG-compressed at
                every other size);
  support.png   the support window's card, 1080 x 1503, 8-bit RGBA, with a
                300 DPI pHYs chunk and an XMP packet in an iTXt chunk.

Only the standard library draws: shapes are signed distance functions,
anti-aliased by the distance to their edge, and the files are written with zlib
and struct. Every PNG is then recompressed losslessly with zopflipng (Debian's
zopfli package), which keeps the pixels and the pHYs and iTXt chunks and makes
the files about a fifth smaller: they are linked into Tallyra.exe. The output is
deterministic; run it again after changing a drawing and commit the files it
writes (it takes a few minutes).

  make_resources.py --hicolor DIR   writes the icon as DIR/<n>x<n>/apps/tallyra.png
                                    at the sizes of the hicolor theme (the Linux build
                                    runs this, without zopflipng; nothing of it is
                                    committed).
"""

import math
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent

HICOLOR_SIZES = [16, 24, 32, 48, 64, 128, 256]
ICON_SIZES = [16, 20, 24, 32, 40, 48, 60, 64, 72, 80, 96, 128, 192, 256, 512]
# The sizes of the shell's small and large icons at 96 DPI stay bitmaps, which every
# part of every Windows reads; the others are PNG, which Windows reads at any size
# since Vista (a 48 x 48 bitmap alone is 9.6 KB of the executable).
BMP_ICON_SIZES = {16, 32}

SUPPORT_WIDTH, SUPPORT_HEIGHT = 1080, 1503
SUPPORT_DPI = 300


# --- Shapes: signed distances in pixels, negative inside ---------------------------------------


def round_box(px, py, cx, cy, hw, hh, r):
    qx = abs(px - cx) - hw + r
    qy = abs(py - cy) - hh + r
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def cup_body(px, py, cx, cy, hw, hh, r_top, r_bottom):
    """A box whose bottom corners are rounder than its top ones."""
    r = r_bottom if py > cy else r_top
    return round_box(px, py, cx, cy, hw, hh, r)


def circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def ellipse(px, py, cx, cy, rx, ry):
    # Not an exact distance, but close to one near the edge, which is all the
    # anti-aliasing needs.
    dx, dy = (px - cx) / rx, (py - cy) / ry
    k = math.hypot(dx, dy)
    if k == 0.0:
        return -min(rx, ry)
    gradient = math.hypot(dx / rx, dy / ry)
    return (k - 1.0) * k / gradient


def segment(px, py, ax, ay, bx, by, r):
    """A stroke with round ends from (ax, ay) to (bx, by), r thick on each side."""
    vx, vy = bx - ax, by - ay
    wx, wy = px - ax, py - ay
    t = max(0.0, min(1.0, (wx * vx + wy * vy) / (vx * vx + vy * vy)))
    return math.hypot(wx - vx * t, wy - vy * t) - r


def heart(px, py, cx, cy, size):
    """A heart of the given width, its point downwards, centred on (cx, cy)."""
    # The exact heart distance in unit space (point at the origin, lobes up).
    x = abs(px - cx) / size * 1.25
    y = 0.58 - (py - cy) / size * 1.25
    if x + y > 1.0:
        d = math.hypot(x - 0.25, y - 0.75) - math.sqrt(2.0) / 4.0
    else:
        a = math.hypot(x, y - 1.0)
        m = 0.5 * max(x + y, 0.0)
        b = math.hypot(x - m, y - m)
        d = min(a, b) * (1.0 if x - y > 0.0 else -1.0)
    return d * size / 1.25


def ring_arc(px, py, cx, cy, r, thickness, min_x):
    """The part of a ring right of min_x (a cup's handle)."""
    d = abs(math.hypot(px - cx, py - cy) - r) - thickness
    return max(d, min_x - px)


# --- Painting -------------------------------------------------------------------------------------


class Canvas:
    """Straight (not premultiplied) RGBA, 8 bits a channel, rows top to bottom."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.rows = [bytearray(width * 4) for _ in range(height)]

    def fill_rows(self, colour_of_row):
        for y, row in enumerate(self.rows):
            r, g, b, a = colour_of_row(y)
            row[:] = bytes((r, g, b, a)) * self.width

    def paint(self, distance, box, colour, opacity=1.0, softness=1.0):
        """Composites a shape over the canvas. box is (x0, y0, x1, y1) in pixels and
        must hold the shape; colour is (r, g, b) or a function of (x, y)."""
        x0, y0, x1, y1 = (int(math.floor(box[0])), int(math.floor(box[1])), int(math.ceil(box[2])),
                          int(math.ceil(box[3])))
        x0, y0 = max(x0, 0), max(y0, 0)
        x1, y1 = min(x1, self.width), min(y1, self.height)
        for y in range(y0, y1):
            row = self.rows[y]
            py = y + 0.5
            for x in range(x0, x1):
                d = distance(x + 0.5, py)
                coverage = 0.5 - d / softness
                if coverage <= 0.0:
                    continue
                alpha = opacity * (1.0 if coverage >= 1.0 else coverage)
                r, g, b = colour(x + 0.5, py) if callable(colour) else colour
                self._blend(row, x * 4, r, g, b, alpha)

    @staticmethod
    def _blend(row, i, r, g, b, alpha):
        below = row[i + 3] / 255.0
        out = alpha + below * (1.0 - alpha)
        if out <= 0.0:
            return
        keep = below * (1.0 - alpha)
        row[i] = int(round((r * alpha + row[i] * keep) / out))
        row[i + 1] = int(round((g * alpha + row[i + 1] * keep) / out))
        row[i + 2] = int(round((b * alpha + row[i + 2] * keep) / out))
        row[i + 3] = int(round(out * 255.0))


def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c0, c1))


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


# --- The icon: a blue rounded square with a white badge holding a stylised "1" --------------------

ICON_TOP = hex_colour("#4EC4FA")  # the program's title-bar blue
ICON_BOTTOM = hex_colour("#1877D2")
BADGE = hex_colour("#FFFFFF")
DIGIT = hex_colour("#1A73C9")


def draw_icon(size):
    canvas = Canvas(size, size)
    s = float(size)
    inset = max(0.5, s * 0.03)
    corner = s * 0.22

    def background(x, y):
        return mix(ICON_TOP, ICON_BOTTOM, (y - inset) / (s - 2 * inset))

    canvas.paint(lambda x, y: round_box(x, y, s / 2, s / 2, s / 2 - inset, s / 2 - inset, corner),
                 (0, 0, s, s), background)

    # A faint shadow below the badge lifts it off the square (left out where it would only blur).
    cx, cy, radius = s * 0.5, s * 0.5, s * 0.34
    if size >= 32:
        canvas.paint(lambda x, y: circle(x, y, cx, cy + s * 0.025, radius), (0, 0, s, s), (0, 40, 90),
                     opacity=0.25, softness=max(1.0, s * 0.03))
    canvas.paint(lambda x, y: circle(x, y, cx, cy, radius), (0, 0, s, s), BADGE)

    # The digit: a stem, a flag and a foot, drawn as strokes; thicker at small sizes so it stays legible.
    stroke = s * (0.06 if size >= 48 else 0.075)
    top, bottom = cy - radius * 0.58, cy + radius * 0.55
    stem_x = cx + s * 0.015

    def digit(x, y):
        return min(segment(x, y, stem_x, top, stem_x, bottom, stroke),
                   segment(x, y, stem_x, top, stem_x - s * 0.12, top + s * 0.09, stroke),
                   segment(x, y, stem_x - s * 0.09, bottom, stem_x + s * 0.09, bottom, stroke))

    canvas.paint(digit, (0, 0, s, s), DIGIT)
    return canvas


# --- The support card: a warm gradient, a cup with a heart, steam and a few floating hearts -------

CARD_TOP = hex_colour("#FFE9DC")
CARD_BOTTOM = hex_colour("#F6C4D6")
CUP = hex_colour("#FFFFFF")
CUP_SHADE = hex_colour("#EEDFE6")
COFFEE = hex_colour("#8A5638")
COFFEE_RIM = hex_colour("#B27B57")
HEART = hex_colour("#FF6B81")
SAUCER = hex_colour("#FFF8FA")
STEAM = hex_colour("#FFFFFF")


def draw_support_card():
    w, h = SUPPORT_WIDTH, SUPPORT_HEIGHT
    canvas = Canvas(w, h)

    gradient = [mix(CARD_TOP, CARD_BOTTOM, y / (h - 1)) + (255,) for y in range(h)]
    canvas.fill_rows(lambda y: gradient[y])

    # Rounded corners: clear the canvas outside the card's outline.
    corner = 64.0
    for y in list(range(0, int(corner))) + list(range(h - int(corner), h)):
        row = canvas.rows[y]
        for x in list(range(0, int(corner))) + list(range(w - int(corner), w)):
            d = round_box(x + 0.5, y + 0.5, w / 2, h / 2, w / 2, h / 2, corner)
            inside = max(0.0, min(1.0, 0.5 - d))
            row[x * 4 + 3] = int(round(row[x * 4 + 3] * inside))

    cx = 540.0
    # A soft glow behind the cup.
    canvas.paint(lambda x, y: circle(x, y, cx, 860, 330), (180, 500, 900, 1220), (255, 255, 255), opacity=0.35,
                 softness=120)

    # Saucer with its shadow.
    canvas.paint(lambda x, y: ellipse(x, y, cx + 10, 1150, 360, 62), (150, 1060, 940, 1250), (150, 70, 100),
                 opacity=0.18, softness=30)
    canvas.paint(lambda x, y: ellipse(x, y, cx, 1120, 340, 58), (190, 1055, 890, 1185), SAUCER)
    canvas.paint(lambda x, y: ellipse(x, y, cx, 1112, 220, 26), (310, 1080, 770, 1145), CUP_SHADE, opacity=0.8)

    # Handle, then the cup body over it.
    handle = mix(CUP, CUP_SHADE, 0.85)  # the shaded side of the cup
    canvas.paint(lambda x, y: ring_arc(x, y, 760, 870, 92, 26, 700), (690, 750, 890, 990), handle)

    def cup_colour(x, y):
        # Light from the upper left: the body shades towards its right edge.
        return mix(CUP, CUP_SHADE, (x - 300) / 480)

    canvas.paint(lambda x, y: cup_body(x, y, cx, 890, 240, 215, 28, 120), (290, 665, 790, 1115), cup_colour)
    canvas.paint(lambda x, y: ellipse(x, y, cx, 690, 228, 34), (305, 650, 775, 730), COFFEE_RIM)
    canvas.paint(lambda x, y: ellipse(x, y, cx, 694, 214, 27), (320, 660, 760, 725), COFFEE)

    # The heart on the cup.
    canvas.paint(lambda x, y: heart(x, y, cx, 900, 190), (420, 780, 660, 1020), HEART)
    canvas.paint(lambda x, y: ellipse(x, y, cx - 48, 862, 20, 13), (500, 840, 560, 890), (255, 255, 255),
                 opacity=0.45)

    # Steam: three wavy strokes rising from the coffee.
    for base_x, phase, top_y in ((450.0, 0.0, 430.0), (540.0, 2.2, 380.0), (630.0, 4.1, 440.0)):
        points = []
        steps = 24
        for i in range(steps + 1):
            t = i / steps
            y = 620.0 - (620.0 - top_y) * t
            points.append((base_x + 22.0 * math.sin(phase + t * 2.6 * math.pi), y))

        def steam(x, y, pts=points):
            return min(segment(x, y, ax, ay, bx, by, 11.0) for (ax, ay), (bx, by) in zip(pts, pts[1:]))

        canvas.paint(steam, (base_x - 50, top_y - 20, base_x + 50, 640), STEAM, opacity=0.75)

    # Floating hearts.
    for hx, hy, size, opacity in ((230, 330, 80, 0.55), (860, 420, 110, 0.45), (800, 210, 56, 0.6),
                                  (300, 560, 46, 0.4), (860, 1320, 70, 0.35), (200, 1260, 90, 0.3)):
        canvas.paint(lambda x, y, hx=hx, hy=hy, size=size: heart(x, y, hx, hy, size),
                     (hx - size, hy - size, hx + size, hy + size), HEART, opacity=opacity)
    return canvas


# --- Files ----------------------------------------------------------------------------------------


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def filtered_scanlines(canvas):
    """Each row with the PNG filter (none, sub or up) whose output looks most compressible."""
    out = bytearray()
    previous = bytes(canvas.width * 4)
    for row in canvas.rows:
        row = bytes(row)
        sub = bytes((row[i] - (row[i - 4] if i >= 4 else 0)) & 0xFF for i in range(len(row)))
        up = bytes((a - b) & 0xFF for a, b in zip(row, previous))
        candidates = [(0, row), (1, sub), (2, up)]

        def cost(data):
            return sum(v if v < 128 else 256 - v for v in data)

        kind, data = min(candidates, key=lambda c: cost(c[1]))
        out.append(kind)
        out += data
        previous = row
    return bytes(out)


def png_bytes(canvas, dpi=None, xmp=None):
    chunks = [png_chunk(b"IHDR", struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0))]
    if dpi:
        per_metre = int(round(dpi / 0.0254))
        chunks.append(png_chunk(b"pHYs", struct.pack(">IIB", per_metre, per_metre, 1)))
    if xmp:
        # Keyword, no compression, empty language tag and translated keyword, UTF-8 text.
        chunks.append(png_chunk(b"iTXt", b"XML:com.adobe.xmp\0\0\0\0\0" + xmp.encode("utf-8")))
    chunks.append(png_chunk(b"IDAT", zlib.compress(filtered_scanlines(canvas), 9)))
    chunks.append(png_chunk(b"IEND", b""))
    return b"\x89PNG\r\n\x1a\n" + b"".join(chunks)


def recompress(png):
    """The same picture, losslessly smaller: zopflipng tries every filter strategy with
    a stronger deflate, and may store fewer channels where that loses nothing."""
    zopflipng = shutil.which("zopflipng")
    if zopflipng is None:
        sys.exit("make_resources.py: zopflipng not found (apt-get install zopfli)")
    with tempfile.TemporaryDirectory() as folder:
        source, target = Path(folder, "in.png"), Path(folder, "out.png")
        source.write_bytes(png)
        subprocess.run([zopflipng, "-y", "-m", "--keepchunks=pHYs,iTXt", str(source), str(target)], check=True,
                       stdout=subprocess.DEVNULL)
        smaller = target.read_bytes()
    return smaller if len(smaller) < len(png) else png


def bmp_icon_image(canvas):
    """A 32-bit BGRA DIB, bottom-up, followed by the 1-bit mask (set where fully transparent)."""
    size = canvas.width
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(canvas.rows):
        for x in range(size):
            r, g, b, a = row[x * 4:x * 4 + 4]
            pixels += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x in range(size):
            if row[x * 4 + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def ico_bytes(images):
    """images: (size, encoded image) in ascending size."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        side = size if size < 256 else 0  # 0 stands for 256 and above
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return directory + entries + data


XMP_PACKET = """<?xpacket begin="\ufeff" id="W5M0MpCehiHzreSzNTczkc9d"?>
<x:xmpmeta xmlns:x="adobe:ns:meta/">
 <rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
  <rdf:Description rdf:about=""
    xmlns:dc="http://purl.org/dc/elements/1.1/"
    xmlns:tiff="http://ns.adobe.com/tiff/1.0/">
   <dc:title><rdf:Alt><rdf:li xml:lang="x-default">Tallyra support card</rdf:li></rdf:Alt></dc:title>
   <dc:format>image/png</dc:format>
   <tiff:ImageWidth>1080</tiff:ImageWidth>
   <tiff:ImageLength>1503</tiff:ImageLength>
   <tiff:XResolution>300/1</tiff:XResolution>
   <tiff:YResolution>300/1</tiff:YResolution>
   <tiff:ResolutionUnit>2</tiff:ResolutionUnit>
  </rdf:Description>
 </rdf:RDF>
</x:xmpmeta>
<?xpacket end="r"?>"""


def main():
    images = []
    for size in ICON_SIZES:
        canvas = draw_icon(size)
        images.append((size, bmp_icon_image(canvas) if size in BMP_ICON_SIZES else recompress(png_bytes(canvas))))
    (HERE / "tallyra.ico").write_bytes(ico_bytes(images))
    (HERE / "support.png").write_bytes(recompress(png_bytes(draw_support_card(), dpi=SUPPORT_DPI, xmp=XMP_PACKET)))


def write_hicolor(folder):
    for size in HICOLOR_SIZES:
        target = Path(folder) / f"{size}x{size}" / "apps" / "tallyra.png"
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(png_bytes(draw_icon(size)))


if __name__ == "__main__":
    import sys
    if len(sys.argv) == 3 and sys.argv[1] == "--hicolor":
        write_hicolor(sys.argv[2])
    else:
        main()
