#!/usr/bin/env python3
"""Draws the backup window's skin (skin.bmp) and the application icon (OmbrivoBeta.ico).

Standard library only and fully deterministic: every shape is rasterised by counting
samples on a fixed grid, so running the script again writes byte-identical files.
Usage: python3 make_resources.py [output directory, default: this script's directory]
"""

import math
import os
import struct
import sys

# ---------------------------------------------------------------------------------------------
# Rasteriser: shapes answer "is this point inside?"; coverage is the share of a pixel's
# sample grid that is inside. Coordinates are continuous: pixel (i, j) spans [i, i+1) x [j, j+1).


class Canvas:
    """Premultiplied RGBA pixels, colour channels 0..255, alpha 0..1."""

    def __init__(self, width, height, rgb=None):
        self.width, self.height = width, height
        n = width * height
        alpha = 1.0 if rgb else 0.0
        rgb = rgb or (0, 0, 0)
        self.r, self.g, self.b = [float(rgb[0])] * n, [float(rgb[1])] * n, [float(rgb[2])] * n
        self.a = [alpha] * n

    def fill_rect(self, x0, y0, x1, y1, rgb):
        """Fills the pixels x0..x1, y0..y1 (inclusive) with an opaque colour."""
        for y in range(y0, y1 + 1):
            for i in range(y * self.width + x0, y * self.width + x1 + 1):
                self.r[i], self.g[i], self.b[i], self.a[i] = float(rgb[0]), float(rgb[1]), \
                    float(rgb[2]), 1.0

    def blend(self, x, y, rgb, alpha):
        i = y * self.width + x
        keep = 1.0 - alpha
        self.r[i] = rgb[0] * alpha + self.r[i] * keep
        self.g[i] = rgb[1] * alpha + self.g[i] * keep
        self.b[i] = rgb[2] * alpha + self.b[i] * keep
        self.a[i] = alpha + self.a[i] * keep

    def paint(self, shape, rgb, opacity=1.0, samples=6):
        x0, y0, x1, y1 = shape.bbox()
        for y in range(max(0, math.floor(y0)), min(self.height, math.ceil(y1))):
            for x in range(max(0, math.floor(x0)), min(self.width, math.ceil(x1))):
                cover = coverage(shape, x, y, samples)
                if cover:
                    self.blend(x, y, rgb, cover * opacity)

    def rgba(self, x, y):
        """The pixel as straight (not premultiplied) 8-bit RGBA."""
        i = y * self.width + x
        a = self.a[i]
        if a <= 0.0:
            return (0, 0, 0, 0)
        return (to_byte(self.r[i] / a), to_byte(self.g[i] / a), to_byte(self.b[i] / a),
                to_byte(a * 255.0))


def to_byte(v):
    return max(0, min(255, int(v + 0.5)))


def coverage(shape, x, y, samples):
    inside = 0
    for sy in range(samples):
        py = y + (sy + 0.5) / samples
        for sx in range(samples):
            if shape.contains(x + (sx + 0.5) / samples, py):
                inside += 1
    return inside / (samples * samples)


class Rect:
    def __init__(self, x0, y0, x1, y1, radius=0.0):
        self.x0, self.y0, self.x1, self.y1, self.radius = x0, y0, x1, y1, radius

    def bbox(self):
        return (self.x0, self.y0, self.x1, self.y1)

    def contains(self, x, y):
        if not (self.x0 <= x < self.x1 and self.y0 <= y < self.y1):
            return False
        r = self.radius
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Stroke:
    """Polylines drawn with a round pen of the given width."""

    def __init__(self, polylines, width):
        self.half = width / 2.0
        self.segments = []
        for line in polylines:
            if len(line) == 1:
                line = [line[0], line[0]]
            self.segments += list(zip(line, line[1:]))
        xs = [p[0] for s in self.segments for p in s]
        ys = [p[1] for s in self.segments for p in s]
        h = self.half
        self.box = (min(xs) - h, min(ys) - h, max(xs) + h, max(ys) + h)

    def bbox(self):
        return self.box

    def contains(self, x, y):
        limit = self.half * self.half
        for (ax, ay), (bx, by) in self.segments:
            dx, dy = bx - ax, by - ay
            length = dx * dx + dy * dy
            t = 0.0
            if length != 0.0:
                t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
            ex, ey = ax + t * dx - x, ay + t * dy - y
            if ex * ex + ey * ey <= limit:
                return True
        return False


class Difference:
    def __init__(self, outer, inner):
        self.outer, self.inner = outer, inner

    def bbox(self):
        return self.outer.bbox()

    def contains(self, x, y):
        return self.outer.contains(x, y) and not self.inner.contains(x, y)


class Intersection:
    def __init__(self, first, second):
        self.first, self.second = first, second

    def bbox(self):
        a, b = self.first.bbox(), self.second.bbox()
        return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))

    def contains(self, x, y):
        return self.first.contains(x, y) and self.second.contains(x, y)


def arc(cx, cy, rx, ry, a0, a1, steps_per_turn=72):
    """Points of an elliptic arc; angles in degrees, counter-clockwise as seen on screen."""
    n = max(2, math.ceil(abs(a1 - a0) / 360.0 * steps_per_turn))
    points = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        points.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return points


# ---------------------------------------------------------------------------------------------
# Type: a small geometric sans drawn as pen strokes. A Latin glyph is a function of the pen's
# half width h (in units of the cap height, y = 0 at the cap line, 1 at the baseline) that
# returns its width and its centre lines. CJK glyphs are drawn on a pixel grid of CJK_GRID.

XH = 0.74          # x-height
XT = 1.0 - XH      # y of the x-height line


def bowl(h):
    r = XH / 2.0
    return arc(r, 1.0 - r, r - h, r - h, 0, 360)


def arch(left, right, h):
    rx = (right - left) / 2.0
    ry = min(rx, 0.32)
    cy = XT + h + ry
    return [(left, 1.0 - h)] + arc(left + rx, cy, rx, ry, 180, 0) + [(right, 1.0 - h)]


def bowl_right(x_stem, top, bottom, right):
    r = (bottom - top) / 2.0
    x = right - r
    return [(x_stem, top), (x, top)] + arc(x, top + r, r, r, 90, -90) + [(x_stem, bottom)]


LATIN = {
    " ": lambda h: (0.30, []),
    "O": lambda h: (1.0, [arc(0.5, 0.5, 0.5 - h, 0.5 - h, 0, 360)]),
    "o": lambda h: (XH, [bowl(h)]),
    "b": lambda h: (XH, [[(h, h), (h, 1.0 - h)], bowl(h)]),
    "a": lambda h: (XH, [[(XH - h, XT + h), (XH - h, 1.0 - h)], bowl(h)]),
    "e": lambda h: (XH, [[(h, 1.0 - XH / 2), (XH - h, 1.0 - XH / 2)],
                         arc(XH / 2, 1.0 - XH / 2, XH / 2 - h, XH / 2 - h, 0, 318)]),
    "r": lambda h: (0.46, [[(h, XT + h), (h, 1.0 - h)],
                           arc(XH / 2, 1.0 - XH / 2, XH / 2 - h, XH / 2 - h, 180, 78)]),
    "i": lambda h: (2 * h, [[(h, XT + h), (h, 1.0 - h)], [(h, XT - 2.6 * h)]]),
    "m": lambda h: (1.08, [[(h, XT + h), (h, 1.0 - h)], arch(h, 0.54, h), arch(0.54, 1.08 - h, h)]),
    "v": lambda h: (0.66, [[(0.8 * h, XT + h), (0.33, 1.0 - h), (0.66 - 0.8 * h, XT + h)]]),
    "t": lambda h: (0.40, [[(0.17, 0.08 + h), (0.17, 1.0 - h)], [(h, XT + h), (0.40 - h, XT + h)]]),
    "B": lambda h: (0.66, [[(h, h), (h, 1.0 - h)], bowl_right(h, h, 0.47, 0.61 - h),
                           bowl_right(h, 0.47, 1.0 - h, 0.66 - h)]),
    "U": lambda h: (0.80, [[(h, h), (h, 0.6)] + arc(0.4, 0.6, 0.4 - h, 0.4 - h, 180, 360)
                           + [(0.8 - h, h)]]),
}
LATIN_TRACKING = 0.13  # space after each glyph, in cap heights

CJK_GRID = 15
CJK = {
    # 盘: the boat above, the dish below.
    "盘": [[(6.5, 0), (5.2, 1.4)],
          [(4, 1.5), (4, 5), (3, 7)], [(4, 1.5), (10.5, 1.5), (10.5, 6.5), (9.6, 5.8)],
          [(6.4, 2.6), (7.4, 3.4)], [(1, 4), (13, 4)], [(6.4, 5), (7.4, 5.9)],
          [(2.5, 8.5), (2.5, 13)], [(2.5, 8.5), (11.5, 8.5), (11.5, 13)],
          [(5.5, 8.5), (5.5, 13)], [(8.5, 8.5), (8.5, 13)], [(0.5, 13), (13.5, 13)]],
    # 备: the walking strokes above, the field below.
    "备": [[(6, 0), (2.5, 3.2)],
          [(4.6, 1.6), (10.8, 1.6), (7.8, 4.3), (2.5, 6.6)],
          [(5.4, 3.3), (8.8, 5.4), (13.5, 6.6)],
          [(3, 8), (3, 14)], [(3, 8), (11, 8), (11, 14)], [(3, 11), (11, 11)],
          [(7, 8), (7, 14)], [(3, 14), (11, 14)]],
    # 份: the standing person, then 分 (the splitting strokes over the knife).
    "份": [[(4.2, 0), (0.5, 5.8)], [(2.5, 3.4), (2.5, 14)],
          [(8.2, 0.8), (5, 5.4)], [(10, 0.8), (13.8, 5.4)],
          [(6.2, 7), (12.5, 7), (12.5, 12.8), (11, 14)],
          [(9.3, 7), (8.9, 10.6), (5.4, 14)]],
}


def draw_text(canvas, text, x, baseline, cap, pen, rgb, cjk_top, cjk_pen):
    """Draws text with its Latin glyphs cap px high and its CJK glyphs from row cjk_top."""
    previous = None
    for ch in text:
        if ch in CJK:
            if previous is not None and previous not in CJK:
                x += 0.15 * cap  # a Latin letter needs more room before a CJK glyph
            ox, oy = round(x) + 0.5, cjk_top + 0.5
            lines = [[(ox + gx, oy + gy) for gx, gy in line] for line in CJK[ch]]
            canvas.paint(Stroke(lines, cjk_pen), rgb)
            x = round(x) + CJK_GRID + 1
        else:
            width, lines = LATIN[ch](pen / 2.0 / cap)
            lines = [[(x + px * cap, baseline - cap + py * cap) for px, py in line]
                     for line in lines]
            if lines:
                canvas.paint(Stroke(lines, pen), rgb)
            x += (width + LATIN_TRACKING) * cap
        previous = ch


# ---------------------------------------------------------------------------------------------
# The skin: 433 x 516 px. The window shows its top-left 429 x 510 px.

SKIN_W, SKIN_H = 433, 516
GROUND = (234, 234, 234)
BADGE = (0, 168, 236)
TITLE_BLUE = (78, 165, 252)
TITLE_GREY = (143, 143, 143)
PANEL = (255, 255, 255)
PANEL_EDGE = (218, 218, 218)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
FAMILY_NAME = "Ombrivo"
PRODUCT_NAME = "OmbrivoBeta U盘备份"


def draw_badge(canvas):
    canvas.fill_rect(16, 16, 61, 61, BADGE)
    # A monitor: screen outline, neck and foot, centred on the badge.
    screen = Rect(24, 23, 54, 45, radius=2.5)
    canvas.paint(Difference(screen, Rect(27, 26, 51, 42, radius=0.8)), WHITE)
    canvas.paint(Rect(36, 45, 42, 50), WHITE)
    canvas.paint(Rect(30, 49, 48, 52, radius=1.5), WHITE)
    # The check mark on the screen.
    canvas.paint(Stroke([[(32.2, 34.0), (37.0, 38.6), (45.8, 29.6)]], 3.0), WHITE)


def make_skin():
    canvas = Canvas(SKIN_W, SKIN_H, GROUND)
    draw_badge(canvas)
    draw_text(canvas, FAMILY_NAME, 74.0, 37.0, 17.0, 2.7, TITLE_BLUE, 0, 0)
    draw_text(canvas, PRODUCT_NAME, 74.5, 57.0, 10.5, 1.45, TITLE_GREY, 43, 1.15)
    # The panel the controls sit on, with a hairline just outside it.
    canvas.fill_rect(15, 76, 415, 498, PANEL_EDGE)
    canvas.fill_rect(16, 77, 414, 497, PANEL)
    canvas.fill_rect(SKIN_W - 2, 0, SKIN_W - 1, SKIN_H - 1, BLACK)
    canvas.fill_rect(0, SKIN_H - 2, SKIN_W - 1, SKIN_H - 1, BLACK)
    return canvas


def bmp_bytes(canvas):
    """A 32-bit BI_RGB bottom-up bitmap file; the fourth byte of each pixel is reserved (0)."""
    rows = []
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for x in range(canvas.width):
            r, g, b, _ = canvas.rgba(x, y)
            row += bytes((b, g, r, 0))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 32, 0, len(pixels),
                       3780, 3780, 0, 0)  # 3780 px/m = 96 dpi
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


# ---------------------------------------------------------------------------------------------
# The icon: a dark screen in a slate bezel, crossed by a green pulse line.

BEZEL = (58, 66, 78)
BEZEL_LIGHT = (96, 106, 120)
SCREEN_TOP = (14, 26, 30)
SCREEN_BOTTOM = (6, 14, 18)
GRID = (24, 58, 44)
PULSE = (64, 232, 112)
PULSE_GLOW = (40, 200, 90)
PULSE_POINTS = [(0.00, 0.56), (0.30, 0.56), (0.38, 0.42), (0.47, 0.78), (0.58, 0.20),
                (0.67, 0.56), (1.00, 0.56)]


def icon_geometry(size):
    """Body, screen and pen width for one icon size, snapped to whole pixels."""
    inset = {16: 0, 32: 1, 48: 2}[size]
    bezel = {16: 2, 32: 3, 48: 4}[size]
    body = Rect(inset, inset, size - inset, size - inset, radius=size * 0.14)
    screen = Rect(inset + bezel, inset + bezel, size - inset - bezel, size - inset - bezel,
                  radius=size * 0.05)
    pen = {16: 1.6, 32: 2.4, 48: 3.2}[size]
    return body, screen, pen


def pulse_points(screen, pen):
    """The pulse polyline, running past both sides of the screen so clipping squares it off."""
    x0, y0, x1, y1 = screen.bbox()
    flat = PULSE_POINTS[0][1]
    base = math.floor(y0 + (y1 - y0) * flat) + 0.5  # crisp flat runs
    return [(x0 - pen + (x1 - x0 + 2 * pen) * px, base if py == flat else y0 + (y1 - y0) * py)
            for px, py in PULSE_POINTS]


def render_icon(size):
    canvas = Canvas(size, size)
    body, screen, pen = icon_geometry(size)
    canvas.paint(body, BEZEL, samples=8)
    x0, y0, x1, y1 = body.bbox()
    canvas.paint(Difference(body, Rect(x0, y0 + 1, x1, y1, radius=body.radius)), BEZEL_LIGHT,
                 samples=8)
    sx0, sy0, sx1, sy1 = screen.bbox()
    for row in range(int(sy0), int(math.ceil(sy1))):
        t = (row - sy0) / max(1.0, sy1 - sy0 - 1)
        shade = tuple(a + (b - a) * t for a, b in zip(SCREEN_TOP, SCREEN_BOTTOM))
        canvas.paint(Intersection(screen, Rect(sx0, row, sx1, row + 1)), shade, samples=8)
    if size >= 32:
        step = size // 8
        lines = [[(x + 0.5, sy0), (x + 0.5, sy1)] for x in range(int(sx0) + step, int(sx1), step)]
        lines += [[(sx0, y + 0.5), (sx1, y + 0.5)] for y in range(int(sy0) + step, int(sy1), step)]
        canvas.paint(Intersection(screen, Stroke(lines, 1.0)), GRID, opacity=0.55, samples=4)
    points = pulse_points(screen, pen)
    if size >= 32:
        glow = Stroke([points], pen * 2.4)
        canvas.paint(Intersection(screen, glow), PULSE_GLOW, opacity=0.28, samples=8)
    canvas.paint(Intersection(screen, Stroke([points], pen)), PULSE, samples=8)
    return canvas


def opaque_mask(canvas):
    """The AND mask's view of the image: opaque where alpha is at least one half."""
    return [[canvas.rgba(x, y)[3] >= 128 for x in range(canvas.width)]
            for y in range(canvas.height)]


def box_mean(box):
    total = sum(w for _, w in box)
    return [sum(c[k] * w for c, w in box) / total for k in range(3)]


def box_error(box):
    """Weighted squared distance of a box's colours from their mean."""
    mean = box_mean(box)
    return sum(w * sum((c[k] - mean[k]) ** 2 for k in range(3)) for c, w in box)


def best_split(box):
    """(error removed, lower part, upper part) for the cut of a box along one channel that
    leaves the least squared error, or None if the box holds a single colour."""
    def sse(weight, sums, squares):  # error of a part from its running sums
        return sum(squares[k] - sums[k] * sums[k] / weight for k in range(3))

    best = None
    for axis in range(3):
        ordered = sorted(box, key=lambda c: (c[0][axis], c[0]))
        all_w = sum(w for _, w in ordered)
        all_s = [sum(c[k] * w for c, w in ordered) for k in range(3)]
        all_q = [sum(c[k] * c[k] * w for c, w in ordered) for k in range(3)]
        w, s, q = 0, [0, 0, 0], [0, 0, 0]
        for cut in range(1, len(ordered)):
            colour, weight = ordered[cut - 1]
            w += weight
            for k in range(3):
                s[k] += colour[k] * weight
                q[k] += colour[k] * colour[k] * weight
            if colour[axis] == ordered[cut][0][axis]:
                continue
            rest = [all_s[k] - s[k] for k in range(3)], [all_q[k] - q[k] for k in range(3)]
            error = sse(w, s, q) + sse(all_w - w, *rest)
            if best is None or error < best[0]:
                best = (error, ordered[:cut], ordered[cut:])
    if best is None:
        return None
    return (box_error(box) - best[0], best[1], best[2])


def split_colours(weighted, count):
    """Splits the (colour, weight) list into at most count boxes, each time cutting the box
    whose best cut removes the most squared error; returns the boxes' mean colours."""
    boxes = [(sorted(weighted), best_split(sorted(weighted)))]
    while len(boxes) < count:
        splittable = [i for i, (_, split) in enumerate(boxes) if split]
        if not splittable:
            break
        i = max(splittable, key=lambda j: (boxes[j][1][0], -j))
        _, lower, upper = boxes[i][1]
        boxes[i:i + 1] = [(lower, best_split(lower)), (upper, best_split(upper))]
    return sorted(set(tuple(to_byte(v) for v in box_mean(box)) for box, _ in boxes))


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: (sum((palette[i][k] - rgb[k]) ** 2 for k in range(3)), i))


def indexed(canvas, mask, colours):
    """Palette (black first, for the transparent pixels) and index rows for a paletted image."""
    counts = {}
    for y in range(canvas.height):
        for x in range(canvas.width):
            if mask[y][x]:
                rgb = canvas.rgba(x, y)[:3]
                counts[rgb] = counts.get(rgb, 0) + 1
    chosen = split_colours(sorted(counts.items()), colours - 1)
    palette = [BLACK] + [c for c in chosen if c != BLACK]
    cache = {}
    rows = []
    for y in range(canvas.height):
        row = []
        for x in range(canvas.width):
            if not mask[y][x]:
                row.append(0)
                continue
            rgb = canvas.rgba(x, y)[:3]
            if rgb not in cache:
                cache[rgb] = nearest(palette, rgb)
            row.append(cache[rgb])
        rows.append(row)
    return palette + [BLACK] * (colours - len(palette)), rows


def monochrome(canvas, mask, size):
    """Black screen and white pulse, outlined in white so it reads on dark backgrounds too."""
    _, screen, pen = icon_geometry(size)
    pulse = Intersection(screen, Stroke([pulse_points(screen, pen)], pen))
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            edge = mask[y][x] and any(
                not (0 <= x + dx < size and 0 <= y + dy < size and mask[y + dy][x + dx])
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            row.append(1 if mask[y][x] and (edge or coverage(pulse, x, y, 4) >= 0.3) else 0)
        rows.append(row)
    return [BLACK, WHITE], rows


def pack_rows(rows, bits):
    """Bottom-up rows of bits-per-pixel values, each padded to 32 bits."""
    out = bytearray()
    for row in reversed(rows):
        packed = bytearray()
        acc, filled = 0, 0
        for v in row:
            acc = (acc << bits) | v
            filled += bits
            if filled == 8:
                packed.append(acc)
                acc, filled = 0, 0
        if filled:
            packed.append(acc << (8 - filled))
        packed += bytes(-len(packed) % 4)
        out += packed
    return bytes(out)


def icon_image(size, bits):
    canvas = render_icon(size)
    mask = opaque_mask(canvas)
    and_mask = pack_rows([[0 if m else 1 for m in row] for row in mask], 1)
    if bits == 32:
        xor = bytearray()
        for y in reversed(range(size)):
            for x in range(size):
                r, g, b, a = canvas.rgba(x, y)
                xor += bytes((b, g, r, a))
        palette = []
    else:
        if bits == 1:
            palette, rows = monochrome(canvas, mask, size)
        else:
            palette, rows = indexed(canvas, mask, 1 << bits)
        xor = pack_rows(rows, bits)
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(xor) + len(and_mask),
                       0, 0, 0, 0)
    return info + colour_table + bytes(xor) + and_mask


ICON_IMAGES = [(16, 8), (32, 1), (48, 4), (48, 8), (32, 8), (48, 32), (32, 32), (16, 32)]


def ico_bytes():
    images = [(size, bits, icon_image(size, bits)) for size, bits in ICON_IMAGES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        colours = (1 << bits) if bits < 8 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return bytes(out)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print(f"wrote {path} ({len(data)} bytes)")


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write(os.path.join(out_dir, "skin.bmp"), bmp_bytes(make_skin()))
    write(os.path.join(out_dir, "OmbrivoBeta.ico"), ico_bytes())


if __name__ == "__main__":
    main()
