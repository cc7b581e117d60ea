"""A small rasteriser for the program's images: shapes, coverage sampling, file writers.

Coordinates are pixels: pixel (i, j) covers [i, i+1) x [j, j+1). Each shape answers
whether a point lies inside it; a canvas samples every pixel at ss x ss points, so edges are
smooth with ss > 1 (icons) and crisp with ss = 1 (tool-bar pixel art, sampled at the centre).
"""

import math
import struct
import zlib


# --- Shapes -------------------------------------------------------------------------------


class Shape:
    def bbox(self):
        raise NotImplementedError

    def inside(self, x, y):
        raise NotImplementedError

    def __or__(self, other):
        return Union(self, other)

    def __sub__(self, other):
        return Difference(self, other)

    def __and__(self, other):
        return Intersection(self, other)


class Rect(Shape):
    def __init__(self, x0, y0, x1, y1):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1

    def bbox(self):
        return self.x0, self.y0, self.x1, self.y1

    def inside(self, x, y):
        return self.x0 <= x < self.x1 and self.y0 <= y < self.y1


class RoundRect(Shape):
    def __init__(self, x0, y0, x1, y1, r):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)

    def bbox(self):
        return self.x0, self.y0, self.x1, self.y1

    def inside(self, x, y):
        if not (self.x0 <= x < self.x1 and self.y0 <= y < self.y1):
            return False
        r = self.r
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Ellipse(Shape):
    def __init__(self, cx, cy, rx, ry=None):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, rx if ry is None else ry

    def bbox(self):
        return self.cx - self.rx, self.cy - self.ry, self.cx + self.rx, self.cy + self.ry

    def inside(self, x, y):
        dx = (x - self.cx) / self.rx
        dy = (y - self.cy) / self.ry
        return dx * dx + dy * dy <= 1.0


def in_arc(x, y, cx, cy, a0, a1):
    """Angle of (x, y) round (cx, cy) lies clockwise from a0 to a1 (degrees, y down)."""
    a = math.degrees(math.atan2(y - cy, x - cx)) % 360
    a0 %= 360
    a1 %= 360
    return a0 <= a <= a1 if a0 <= a1 else a >= a0 or a <= a1


class Ring(Shape):
    """Annulus between r_in and r_out, optionally only the arc from a0 to a1 clockwise."""

    def __init__(self, cx, cy, r_out, r_in, a0=None, a1=None):
        self.cx, self.cy, self.r_out, self.r_in, self.a0, self.a1 = cx, cy, r_out, r_in, a0, a1

    def bbox(self):
        r = self.r_out
        return self.cx - r, self.cy - r, self.cx + r, self.cy + r

    def inside(self, x, y):
        d = (x - self.cx) ** 2 + (y - self.cy) ** 2
        if not (self.r_in**2 <= d <= self.r_out**2):
            return False
        return self.a0 is None or in_arc(x, y, self.cx, self.cy, self.a0, self.a1)


class Sector(Shape):
    """Pie slice of a circle from a0 to a1 clockwise."""

    def __init__(self, cx, cy, r, a0, a1):
        self.ring = Ring(cx, cy, r, 0, a0, a1)

    def bbox(self):
        return self.ring.bbox()

    def inside(self, x, y):
        return self.ring.inside(x, y)


class Polygon(Shape):
    def __init__(self, points):
        self.points = list(points)

    def bbox(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return min(xs), min(ys), max(xs), max(ys)

    def inside(self, x, y):
        result = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result


class Line(Shape):
    """A stroke of width w between two points with round (or square with butt=True) ends."""

    def __init__(self, x0, y0, x1, y1, w, butt=False):
        self.x0, self.y0, self.x1, self.y1, self.w, self.butt = x0, y0, x1, y1, w, butt

    def bbox(self):
        h = self.w / 2 + 1
        return (min(self.x0, self.x1) - h, min(self.y0, self.y1) - h,
                max(self.x0, self.x1) + h, max(self.y0, self.y1) + h)

    def inside(self, x, y):
        dx, dy = self.x1 - self.x0, self.y1 - self.y0
        length2 = dx * dx + dy * dy
        t = 0.0 if length2 == 0 else ((x - self.x0) * dx + (y - self.y0) * dy) / length2
        if self.butt and (t < 0 or t > 1):
            return False
        t = min(max(t, 0.0), 1.0)
        px, py = self.x0 + t * dx, self.y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (self.w / 2) ** 2


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes

    def bbox(self):
        boxes = [s.bbox() for s in self.shapes]
        return (min(b[0] for b in boxes), min(b[1] for b in boxes),
                max(b[2] for b in boxes), max(b[3] for b in boxes))

    def inside(self, x, y):
        return any(s.inside(x, y) for s in self.shapes)


class Difference(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b

    def bbox(self):
        return self.a.bbox()

    def inside(self, x, y):
        return self.a.inside(x, y) and not self.b.inside(x, y)


class Intersection(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b

    def bbox(self):
        return self.a.bbox()

    def inside(self, x, y):
        return self.a.inside(x, y) and self.b.inside(x, y)


class Glyphs(Shape):
    """Text in a pixel font: each set font pixel is a square of side `scale` (or a round
    dot of that pitch with dots=True)."""

    def __init__(self, font, text, x, y, scale=1.0, spacing=1, dots=False):
        self.cells = set()
        self.scale = scale
        self.dots = dots
        column = 0
        for ch in text:
            rows = font[ch]
            for j, row in enumerate(rows):
                for i, c in enumerate(row):
                    if c == "#":
                        self.cells.add((column + i, j))
            column += len(rows[0]) + spacing
        self.x0, self.y0 = x, y
        self.x1 = x + (column - spacing) * scale
        self.y1 = y + len(font[text[0]]) * scale if text else y

    def bbox(self):
        return self.x0, self.y0, self.x1, self.y1

    def inside(self, x, y):
        s = self.scale
        k = math.floor((x - self.x0) / s)
        l = math.floor((y - self.y0) / s)
        if (k, l) not in self.cells:
            return False
        if not self.dots:
            return True
        cx = self.x0 + (k + 0.5) * s
        cy = self.y0 + (l + 0.5) * s
        r = s * 0.42
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def text_width(font, text, scale=1, spacing=1):
    width = sum((len(font[ch][0]) + spacing) * scale for ch in text)
    return width - spacing * scale if text else 0


# --- Canvas ---------------------------------------------------------------------------------


class Canvas:
    """RGBA image with premultiplied float channels, painted with shapes."""

    def __init__(self, w, h, ss=8, background=None):
        self.w, self.h, self.ss = w, h, ss
        if background is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            r, g, b = background
            self.px = [[r / 255, g / 255, b / 255, 1.0] for _ in range(w * h)]

    def fill(self, shape, color, alpha=1.0):
        """Paints shape in color (r, g, b 0..255) over what is there."""
        x0, y0, x1, y1 = shape.bbox()
        i0, j0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        i1, j1 = min(self.w, int(math.ceil(x1)) + 1), min(self.h, int(math.ceil(y1)) + 1)
        ss = self.ss
        offsets = [(k + 0.5) / ss for k in range(ss)]
        r, g, b = (c / 255 for c in color)
        for j in range(j0, j1):
            for i in range(i0, i1):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape.inside(i + ox, j + oy):
                            hits += 1
                if hits == 0:
                    continue
                a = alpha * hits / (ss * ss)
                p = self.px[j * self.w + i]
                k = 1 - a
                p[0] = r * a + p[0] * k
                p[1] = g * a + p[1] * k
                p[2] = b * a + p[2] * k
                p[3] = a + p[3] * k

    def gradient_fill(self, shape, top, bottom, alpha=1.0):
        """Paints shape with a vertical gradient over its bounding box."""
        x0, y0, x1, y1 = shape.bbox()
        j0, j1 = max(0, int(math.floor(y0))), min(self.h, int(math.ceil(y1)) + 1)
        span = max(1.0, y1 - y0)
        for j in range(j0, j1):
            t = min(max((j + 0.5 - y0) / span, 0.0), 1.0)
            color = tuple(top[c] + (bottom[c] - top[c]) * t for c in range(3))
            self.fill(shape & Rect(x0 - 1, j, x1 + 1, j + 1), color, alpha)

    def blit(self, other, x, y):
        """Paints another canvas over this one at (x, y)."""
        for j in range(other.h):
            for i in range(other.w):
                tx, ty = x + i, y + j
                if not (0 <= tx < self.w and 0 <= ty < self.h):
                    continue
                s = other.px[j * other.w + i]
                d = self.px[ty * self.w + tx]
                k = 1 - s[3]
                for c in range(4):
                    d[c] = s[c] + d[c] * k

    def rgba(self):
        """Straight (not premultiplied) 8-bit RGBA rows, top first."""
        rows = []
        for j in range(self.h):
            row = []
            for i in range(self.w):
                r, g, b, a = self.px[j * self.w + i]
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(min(255, int(round(c / a * 255))) for c in (r, g, b))
                           + (min(255, int(round(a * 255))),))
            rows.append(row)
        return rows

    def rgb(self):
        """Opaque 8-bit RGB rows (the canvas must have an opaque background)."""
        return [[p[:3] for p in row] for row in self.rgba()]


# --- File writers ---------------------------------------------------------------------------


def _dib_32(rows):
    """BITMAPINFOHEADER + 32-bit BGRA pixels + AND mask, as an icon or cursor image."""
    h, w = len(rows), len(rows[0])
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    # The mask says "transparent" where the alpha channel does; it serves renderers
    # that ignore alpha.
    mask = bytearray()
    stride = ((w + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(stride)
        for i, p in enumerate(row):
            if p[3] < 128:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def write_icon_file(path, images, hotspot=None):
    """Writes an .ico (or a .cur when hotspot=(x, y) is given) holding RGBA images."""
    kind = 1 if hotspot is None else 2
    blobs = [_dib_32(rows) for rows in images]
    out = bytearray(struct.pack("<HHH", 0, kind, len(images)))
    offset = 6 + 16 * len(images)
    for rows, blob in zip(images, blobs):
        h, w = len(rows), len(rows[0])
        if hotspot is None:
            planes, bits = 1, 32
        else:
            planes, bits = hotspot
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, planes, bits, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


def write_bmp_24(path, rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        data += line
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + data)


def write_bmp_8(path, rows):
    """8-bit bitmap with a colour table of exactly the colours used (at most 256)."""
    h, w = len(rows), len(rows[0])
    palette = []
    index = {}
    for row in rows:
        for p in row:
            if p not in index:
                index[p] = len(palette)
                palette.append(p)
    if len(palette) > 256:
        raise ValueError("%s: %d colours, a colour table holds 256" % (path, len(palette)))
    stride = (w + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(index[p] for p in row)
        line += bytes(stride - len(line))
        data += line
    table = bytearray()
    for r, g, b in palette:
        table += bytes((b, g, r, 0))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(data), 2835, 2835,
                       len(palette), 0)
    offset = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + bytes(table) + data)


def png_bytes(rows):
    """RGBA rows as a PNG file's bytes."""
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for p in row:
            raw += bytes(p if len(p) == 4 else tuple(p) + (255,))

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    return png + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def write_png(path, rows):
    with open(path, "wb") as f:
        f.write(png_bytes(rows))
