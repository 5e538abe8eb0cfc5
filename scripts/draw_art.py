#!/usr/bin/env python3
"""Draws LINKSCOUT's artwork and writes it to src/shell/resources/art/.

Files written:
  news.ico   window icon: a newspaper under a magnifying glass
  lv.ico     news list, new headline: bright sheet with a red dot
  lvnon.ico  news list, opened headline: pale sheet with a green tick
  lvck.ico   news list, keyword headline: highlighted sheet with a gold star
  lvck2.ico  news list, keyword headline opened: the same, pale
  old.ico    news list, headline from an earlier check: aged, muted sheet
  about.bmp  title picture of the about box, 243 x 231, 8 bits per pixel

Every icon holds 16x16, 20x20, 24x24 and 32x32 images, 32 bits BGRA with an
AND mask, so the list and the window stay crisp at 100, 125, 150 and 200 %.
The 16x16 images use only the sixteen standard VGA colours: the news list's
image list is 4-bit at 100 %, and in that palette the pictures come through
unchanged. The 20 and 24 pixel images are the 32 pixel drawing scaled down
by area, with soft edges in the alpha channel.

Standard library only; the output is the same bytes on every run.

Usage: scripts/draw_art.py [output directory]
"""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.join(HERE, '..', 'src', 'shell', 'resources', 'art')


def rgb(text):
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16))


# The sixteen VGA colours, the palette of the 16x16 images.
VGA = {
    'black': rgb('000000'), 'maroon': rgb('800000'), 'green': rgb('008000'),
    'olive': rgb('808000'), 'navy': rgb('000080'), 'purple': rgb('800080'),
    'teal': rgb('008080'), 'silver': rgb('C0C0C0'), 'grey': rgb('808080'),
    'red': rgb('FF0000'), 'lime': rgb('00FF00'), 'yellow': rgb('FFFF00'),
    'blue': rgb('0000FF'), 'fuchsia': rgb('FF00FF'), 'aqua': rgb('00FFFF'),
    'white': rgb('FFFFFF'),
}


# ---------------------------------------------------------------------------
# Canvas

class Canvas:
    """A picture of RGB pixels; None is a transparent pixel."""

    def __init__(self, width, height, fill=None):
        self.w = width
        self.h = height
        self.px = [fill] * (width * height)

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y * self.w + x]
        return None

    def set(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.rect(x0, y0, x1, y0, colour)
        self.rect(x0, y1, x1, y1, colour)
        self.rect(x0, y0, x0, y1, colour)
        self.rect(x1, y0, x1, y1, colour)

    def disc(self, cx, cy, radius, colour):
        """Fills the pixels whose centres lie within radius of (cx, cy)."""
        r2 = radius * radius
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                if dx * dx + dy * dy <= r2:
                    self.set(x, y, colour)

    def polygon(self, points, colour):
        """Fills the pixels whose centres lie inside the polygon (even-odd)."""
        ys = [p[1] for p in points]
        xs = [p[0] for p in points]
        for y in range(int(min(ys)) - 1, int(max(ys)) + 2):
            for x in range(int(min(xs)) - 1, int(max(xs)) + 2):
                if inside(points, x + 0.5, y + 0.5):
                    self.set(x, y, colour)

    def bar(self, x0, y0, x1, y1, half, colour):
        """A straight stroke from (x0, y0) to (x1, y1), half its width wide
        on either side, with square ends."""
        dx, dy = x1 - x0, y1 - y0
        length = (dx * dx + dy * dy) ** 0.5
        nx, ny = -dy / length * half, dx / length * half
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                      (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], colour)

    def grid(self, x0, y0, rows, colours):
        """Paints rows of characters; '.' and spaces leave pixels alone."""
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch not in '. ':
                    self.set(x0 + x, y0 + y, colours[ch])

    def blit(self, other, x0, y0, scale=1):
        for y in range(other.h * scale):
            for x in range(other.w * scale):
                c = other.px[(y // scale) * other.w + x // scale]
                if c is not None:
                    self.set(x0 + x, y0 + y, c)

    def copy(self):
        c = Canvas(self.w, self.h)
        c.px = list(self.px)
        return c


def inside(points, x, y):
    result = False
    n = len(points)
    for i in range(n):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
        if (ay > y) != (by > y):
            if x < ax + (y - ay) * (bx - ax) / (by - ay):
                result = not result
    return result


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def star_points(cx, cy, outer, inner):
    """A five-pointed star, one point straight up."""
    pts = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / 5
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    # Rounded to quarter pixels so that the same drawing comes out everywhere.
    return [(round(x * 4) / 4, round(y * 4) / 4) for x, y in pts]


# ---------------------------------------------------------------------------
# The news list sheets

# 16x16 sheet, by role: o outline, f paper, d folded corner, h headline,
# t text line, b keyword highlight behind the headline.
SHEET16 = [
    '..oooooooo......',
    '..offffffoo.....',
    '..offffffodo....',
    '..offffffoddo...',
    '..offffffooooo..',
    '..obbbbbbbbbbo..',
    '..obhhhhhhhbbo..',
    '..obbbbbbbbbbo..',
    '..offffffffffo..',
    '..oftttttttffo..',
    '..offffffffffo..',
    '..ofttttttfffo..',
    '..offffffffffo..',
    '..oftttttttffo..',
    '..offffffffffo..',
    '..oooooooooooo..',
]

# 16x16 badges, drawn over the bottom right corner.
DOT16 = [          # at (9, 9)
    '..kkk..',
    '.krrrk.',
    'krwrrrk',
    'krrrrrk',
    'krrrrrk',
    '.krrrk.',
    '..kkk..',
]
TICK16 = [         # at (8, 9)
    '.......k',
    '......kk',
    'k....kk.',
    'kk..kk..',
    '.kkkk...',
    '..kk....',
    '........',
]
STAR16 = [         # at (7, 7)
    '....k....',
    '...kyk...',
    'kkkkyykkk',
    'kyyyyyyyk',
    '.kyyyyyk.',
    '..kyyyk..',
    '.kyykyyk.',
    '.kykkkyk.',
    '.kk...kk.',
]

# Colours by role for each list icon. 16: VGA names; 32: hex.
THEMES = {
    'lv': {
        16: dict(o='navy', f='white', d='silver', h='blue', t='grey', b='white'),
        32: dict(o='1F3F73', f='FFFFFF', f2='E8EFFA', d='C5D3EA', h='1E5FC8',
                 t='8E9FBA', b=None),
        'badge': 'dot',
    },
    'lvnon': {
        16: dict(o='grey', f='white', d='silver', h='silver', t='silver', b='white'),
        32: dict(o='8C9096', f='F4F4F5', f2='E2E3E6', d='C9CBCF', h='B3B7BD',
                 t='C9CCD0', b=None),
        'badge': 'tick',
    },
    'lvck': {
        16: dict(o='navy', f='white', d='silver', h='red', t='grey', b='yellow'),
        32: dict(o='1F3F73', f='FFFFFF', f2='E8EFFA', d='C5D3EA', h='C02A10',
                 t='8E9FBA', b='FFE14D'),
        'badge': 'star',
    },
    'lvck2': {
        16: dict(o='grey', f='white', d='silver', h='grey', t='silver', b='silver'),
        32: dict(o='8C9096', f='F4F4F5', f2='E2E3E6', d='C9CBCF', h='A0A4AA',
                 t='C9CCD0', b='E6E0C4'),
        'badge': 'star2',
    },
    'old': {
        16: dict(o='olive', f='white', d='silver', h='olive', t='silver', b='white'),
        32: dict(o='857C5C', f='F7F3E3', f2='E9E2C9', d='D3CAA8', h='8F8663',
                 t='C2BA9C', b=None),
        'badge': None,
    },
}

BADGES16 = {
    'dot': (DOT16, 9, 9, dict(k='maroon', r='red', w='white')),
    'tick': (TICK16, 8, 9, dict(k='green')),
    'star': (STAR16, 7, 7, dict(k='maroon', y='yellow')),
    'star2': (STAR16, 7, 7, dict(k='grey', y='white')),
}


def halo(c, grid, x0, y0, paper):
    """Paints paper round a badge wherever the sheet lies under it, so the
    badge stands free of the lines and the edge."""
    def badge(x, y):
        gx, gy = x - x0, y - y0
        return 0 <= gy < len(grid) and 0 <= gx < len(grid[0]) \
            and grid[gy][gx] != '.'
    for y in range(y0 - 1, y0 + len(grid) + 1):
        for x in range(x0 - 1, x0 + len(grid[0]) + 1):
            if not badge(x, y) and c.get(x, y) is not None and any(
                    badge(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                c.set(x, y, paper)


def sheet16(name):
    look = THEMES[name]
    theme = {k: VGA[v] for k, v in look[16].items()}
    c = Canvas(16, 16)
    c.grid(0, 0, SHEET16, theme)
    if look['badge']:
        grid, x0, y0, colours = BADGES16[look['badge']]
        halo(c, grid, x0, y0, theme['f'])
        c.grid(x0, y0, grid, {k: VGA[v] for k, v in colours.items()})
    return c


def sheet32(name):
    look = THEMES[name]
    t = {k: (rgb(v) if v else None) for k, v in look[32].items()}
    c = Canvas(32, 32)
    x0, y0, x1, y1, fold = 4, 1, 27, 30, 8
    # Paper, lighter at the top.
    for y in range(y0, y1 + 1):
        c.rect(x0, y, x1, y, mix(t['f'], t['f2'], (y - y0) / (y1 - y0)))
    # Cut off the corner and fold it down.
    for y in range(y0, y0 + fold):
        for x in range(x1 - fold + 1 + (y - y0), x1 + 1):
            c.set(x, y, None)
    c.frame(x0, y0, x1, y1, t['o'])
    for y in range(y0, y0 + fold + 1):
        for x in range(x1 - fold + 1 + (y - y0), x1 + 1):
            c.set(x, y, None)
    fx = x1 - fold       # the fold's left edge
    fy = y0 + fold       # the fold's bottom edge
    for i in range(fold + 1):
        c.set(fx + i, y0 + i, t['o'])            # the cut
        for y in range(y0 + i + 1, fy):
            c.set(fx + i, y, t['d'])             # the folded flap
    c.rect(fx, y0, fx, fy, t['o'])
    c.rect(fx, fy, x1, fy, t['o'])
    c.rect(x1, fy, x1, y1, t['o'])
    # A soft shadow under the flap.
    shade = mix(t['f'], t['d'], 0.55)
    c.rect(fx - 1, y0 + 1, fx - 1, fy, shade)
    c.rect(fx, fy + 1, x1 - 1, fy + 1, shade)
    # Keyword highlight and headline.
    if t['b']:
        c.rect(x0 + 2, 11, x1 - 2, 16, t['b'])
    c.rect(x0 + 4, 12, x1 - 5, 15, t['h'])
    # Body text.
    for y, right in ((19, x1 - 4), (22, x1 - 8), (25, x1 - 4), (28, x1 - 10)):
        c.rect(x0 + 4, y, right, y + 1, t['t'])
    # Lines on the upper part, left of the fold.
    c.rect(x0 + 4, 5, fx - 3, 6, t['t'])
    c.rect(x0 + 4, 8, fx - 6, 8, t['t'])
    lines = {t['h'], t['t']}
    badge = look['badge']
    if badge:
        b = Canvas(32, 32)
        if badge == 'dot':
            b.disc(24.5, 24.5, 6.8, rgb('8E0E0E'))
            b.disc(24.5, 24.5, 5.6, rgb('E02828'))
            b.disc(24.0, 24.0, 4.5, rgb('F04A3C'))
            b.disc(22.3, 22.0, 1.6, rgb('FFC0B0'))
        elif badge == 'tick':
            pts = [(18.0, 24.0), (22.5, 28.5), (31.0, 18.0)]
            b.bar(*pts[0], *pts[1], 2.9, rgb('14561E'))
            b.bar(*pts[1], *pts[2], 2.9, rgb('14561E'))
            b.bar(*pts[0], *pts[1], 1.6, rgb('2FAE45'))
            b.bar(*pts[1], *pts[2], 1.6, rgb('2FAE45'))
        else:
            rim, body, light = (('9A5C00', 'FFC21A', 'FFEB8A') if badge == 'star'
                                else ('7E7F84', 'C8C9CC', 'E8E8EA'))
            b.polygon(star_points(23.5, 24.0, 8.6, 3.8), rgb(rim))
            b.polygon(star_points(23.5, 24.0, 6.6, 2.7), rgb(body))
            b.polygon(star_points(23.5, 23.4, 3.0, 1.4), rgb(light))
        # Keep the text clear of the badge by a pixel.
        for y in range(32):
            for x in range(32):
                if b.get(x, y) is None and c.get(x, y) in lines:
                    if any(b.get(x + dx, y + dy) is not None
                           for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                        c.set(x, y, t['f2'])
        c.blit(b, 0, 0)
    return c


# ---------------------------------------------------------------------------
# The window icon: a newspaper under a magnifying glass

# 16x16 newspaper, by role: o outline, f paper, s back page, m masthead,
# p picture, t text.
PAPER16 = [
    '................',
    'ooooooooooooo...',
    'offfffffffffos..',
    'ofmmmmmmmmmfos..',
    'ofmmmmmmmmmfos..',
    'offfffffffffos..',
    'ofpppftttttfos..',
    'ofpppfffffffos..',
    'ofpppftttttfos..',
    'offfffffffffos..',
    'oftttttttttfos..',
    'offfffffffffos..',
    'oftttttttttfos..',
    'offfffffffffos..',
    'ooooooooooooos..',
    '.sssssssssssss..',
]
LENS16 = [         # at (6, 6): k rim, c glass, w glint, g handle
    '..kkkk....',
    '.kcccck...',
    'kcwwccck..',
    'kcwcccck..',
    'kcccccck..',
    'kcccccck..',
    '.kcccckk..',
    '..kkkkkgg.',
    '......gggg',
    '.......ggg',
]


def news16():
    c = Canvas(16, 16)
    c.grid(0, 0, PAPER16, {k: VGA[v] for k, v in dict(
        o='black', f='white', s='grey', m='navy', p='teal', t='grey').items()})
    c.grid(6, 6, LENS16, {k: VGA[v] for k, v in
                          dict(k='black', c='aqua', w='white', g='maroon').items()})
    return c


def news32():
    c = Canvas(32, 32)
    ink = rgb('1A2233')
    # Back page, then the front page.
    c.rect(3, 4, 27, 29, rgb('9AA3B0'))
    c.rect(1, 2, 25, 27, ink)
    for y in range(3, 27):
        c.rect(2, y, 24, y, mix(rgb('FFFFFF'), rgb('E6EAF0'), (y - 3) / 23))
    # Masthead.
    c.rect(4, 4, 22, 8, rgb('1C3F86'))
    c.rect(5, 6, 21, 6, rgb('6F8FD0'))
    c.rect(4, 10, 22, 10, rgb('8A93A3'))
    # A picture in the left column, text beside and below.
    c.rect(4, 12, 11, 18, rgb('4D8FB8'))
    c.polygon([(4, 19), (7.5, 14.5), (10, 17), (12, 15), (12, 19)], rgb('2E6A45'))
    c.disc(9.5, 14.5, 1.3, rgb('FFE07A'))
    line = rgb('8E97A6')
    for y in (12, 14, 16, 18):
        c.rect(13, y, 22, y, line)
    for y in (21, 23, 25):
        c.rect(4, y, 22 - (4 if y == 25 else 0), y, line)
    # Magnifying glass: handle first, then the rim and the glass.
    c.bar(25.0, 25.0, 30.2, 30.2, 2.2, rgb('4A2A12'))
    c.bar(25.3, 25.3, 29.8, 29.8, 1.2, rgb('9C5B2A'))
    c.disc(20.0, 20.0, 8.0, ink)
    c.disc(20.0, 20.0, 6.6, rgb('7A8596'))
    c.disc(20.0, 20.0, 5.6, rgb('BFE8F6'))
    c.disc(20.6, 20.6, 4.4, rgb('A6DDF0'))
    c.disc(17.9, 17.7, 1.7, rgb('FFFFFF'))
    return c


# ---------------------------------------------------------------------------
# Scaling

def downscale(c, size):
    """The canvas scaled to size x size by area averaging. A pixel is
    (r, g, b, alpha) where the source was partly transparent, None where it
    was wholly so."""
    out = Canvas(size, size)
    step = c.w / size
    for ty in range(size):
        for tx in range(size):
            acc = [0.0, 0.0, 0.0]
            cover = area = 0.0
            y = ty * step
            while y < (ty + 1) * step - 1e-9:
                sy = int(y)
                hy = min(sy + 1, (ty + 1) * step) - y
                x = tx * step
                while x < (tx + 1) * step - 1e-9:
                    sx = int(x)
                    hx = min(sx + 1, (tx + 1) * step) - x
                    w = hx * hy
                    area += w
                    p = c.get(sx, sy)
                    if p is not None:
                        cover += w
                        for i in range(3):
                            acc[i] += p[i] * w
                    x += hx
                y += hy
            alpha = round(255 * cover / area)
            if alpha == 0:
                continue
            colour = tuple(round(v / cover) for v in acc)
            out.set(tx, ty, colour if alpha == 255 else colour + (alpha,))
    return out


def sizes(small, large):
    """The four images of an icon: the hand-drawn 16 and 32, and 20 and 24
    scaled from the 32."""
    return [small, downscale(large, 20), downscale(large, 24), large]


# ---------------------------------------------------------------------------
# File formats

def ico(images):
    """An .ico file of the given canvases, 32-bit BGRA with AND masks."""
    head = struct.pack('<HHH', 0, 1, len(images))
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for c in images:
        xor = bytearray()
        mask_stride = ((c.w + 31) // 32) * 4
        mask = bytearray()
        for y in range(c.h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(c.w):
                p = c.get(x, y)
                if p is None:
                    xor += b'\0\0\0\0'
                    bits[x // 8] |= 0x80 >> (x % 8)
                else:
                    xor += bytes((p[2], p[1], p[0], p[3] if len(p) > 3 else 255))
            mask += bits
        info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h * 2, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + bytes(xor) + bytes(mask)
        entries += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, 1, 32,
                               len(blob), offset)
        blobs += blob
        offset += len(blob)
    return head + entries + blobs


def bmp8(c):
    """An uncompressed 8-bit BMP with a 256-entry palette."""
    colours = sorted(set(c.px))
    if len(colours) > 256:
        raise SystemExit('about.bmp: %d colours, more than 256' % len(colours))
    index = {col: i for i, col in enumerate(colours)}
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in colours)
    palette += b'\0' * (1024 - len(palette))
    stride = (c.w + 3) & ~3
    pixels = bytearray()
    for y in range(c.h - 1, -1, -1):
        row = bytes(index[c.px[y * c.w + x]] for x in range(c.w))
        pixels += row + b'\0' * (stride - c.w)
    info = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 8, 0, len(pixels),
                       2835, 2835, 256, 0)
    start = 14 + len(info) + len(palette)
    head = struct.pack('<2sIHHI', b'BM', start + len(pixels), 0, 0, start)
    return head + info + palette + bytes(pixels)


# ---------------------------------------------------------------------------
# The about box picture

# A 5x7 block font, each glyph as seven rows of five bits.
FONT = {
    'A': '01110 10001 10001 11111 10001 10001 10001',
    'B': '11110 10001 10001 11110 10001 10001 11110',
    'C': '01111 10000 10000 10000 10000 10000 01111',
    'D': '11110 10001 10001 10001 10001 10001 11110',
    'E': '11111 10000 10000 11110 10000 10000 11111',
    'F': '11111 10000 10000 11110 10000 10000 10000',
    'G': '01111 10000 10000 10011 10001 10001 01111',
    'H': '10001 10001 10001 11111 10001 10001 10001',
    'I': '11111 00100 00100 00100 00100 00100 11111',
    'J': '00111 00001 00001 00001 00001 10001 01110',
    'K': '10001 10010 10100 11000 10100 10010 10001',
    'L': '10000 10000 10000 10000 10000 10000 11111',
    'M': '10001 11011 10101 10101 10001 10001 10001',
    'N': '10001 11001 10101 10011 10001 10001 10001',
    'O': '01110 10001 10001 10001 10001 10001 01110',
    'P': '11110 10001 10001 11110 10000 10000 10000',
    'Q': '01110 10001 10001 10001 10101 10010 01101',
    'R': '11110 10001 10001 11110 10100 10010 10001',
    'S': '01111 10000 10000 01110 00001 00001 11110',
    'T': '11111 00100 00100 00100 00100 00100 00100',
    'U': '10001 10001 10001 10001 10001 10001 01110',
    'V': '10001 10001 10001 10001 10001 01010 00100',
    'W': '10001 10001 10001 10101 10101 10101 01010',
    'X': '10001 10001 01010 00100 01010 10001 10001',
    'Y': '10001 10001 01010 00100 00100 00100 00100',
    'Z': '11111 00001 00010 00100 01000 10000 11111',
    '0': '01110 10001 10011 10101 11001 10001 01110',
    '1': '00100 01100 00100 00100 00100 00100 01110',
    '2': '01110 10001 00001 00010 00100 01000 11111',
    '3': '11110 00001 00001 01110 00001 00001 11110',
    '4': '00010 00110 01010 10010 11111 00010 00010',
    '5': '11111 10000 11110 00001 00001 10001 01110',
    '6': '00110 01000 10000 11110 10001 10001 01110',
    '7': '11111 00001 00010 00100 01000 01000 01000',
    '8': '01110 10001 10001 01110 10001 10001 01110',
    '9': '01110 10001 10001 01111 00001 00010 01100',
    '.': '00000 00000 00000 00000 00000 01100 01100',
    '-': '00000 00000 00000 11111 00000 00000 00000',
    ' ': '00000 00000 00000 00000 00000 00000 00000',
}


def text_width(text, scale, gap):
    return len(text) * 5 * scale + (len(text) - 1) * gap


def draw_text(c, x0, y0, text, scale, gap, colour_at):
    """Draws text; colour_at(row) gives the colour for a pixel row of the
    glyph cell, 0 at its top."""
    x = x0
    for ch in text:
        rows = FONT[ch].split()
        for gy, bits in enumerate(rows):
            for gx, bit in enumerate(bits):
                if bit == '1':
                    for sy in range(scale):
                        col = colour_at(gy * scale + sy)
                        c.rect(x + gx * scale, y0 + gy * scale + sy,
                               x + gx * scale + scale - 1, y0 + gy * scale + sy, col)
        x += 5 * scale + gap


def about():
    W, H = 243, 231
    c = Canvas(W, H)
    top, bottom = rgb('163A6E'), rgb('0A1A33')
    for y in range(H):
        # Thirty-two bands: a smooth fall that stays within the palette.
        c.rect(0, y, W - 1, y, mix(top, bottom, (y * 32 // H) / 31))
    c.frame(0, 0, W - 1, H - 1, rgb('5C7FB3'))
    c.frame(1, 1, W - 2, H - 2, rgb('0A1A33'))

    # The window icon, doubled, on a soft round light.
    cx, cy = 121.5, 46.0
    for i, col in enumerate((rgb('1E4A86'), rgb('23548F'), rgb('295E99'))):
        c.disc(cx, cy, 42 - i * 6, col)
    c.blit(news32(), 90, 14, 2)

    # Signal arcs either side of the icon: the scout listens for news.
    arc = rgb('7FB2F0')
    for side in (-1, 1):
        for r in (45, 53):
            for step in range(-30, 31):
                a = math.radians(step)
                x = cx + side * r * math.cos(a)
                y = cy + r * math.sin(a)
                c.rect(int(x) - 1, int(y) - 1, int(x), int(y), arc)

    # The name, in block letters with a drop shadow.
    name = 'LINKSCOUT'
    scale, gap = 4, 4
    tw = text_width(name, scale, gap)
    tx, ty = (W - tw) // 2, 100
    draw_text(c, tx + 3, ty + 3, name, scale, gap, lambda r: rgb('050D1A'))
    light, deep = rgb('FFFFFF'), rgb('A9CCF5')
    draw_text(c, tx, ty, name, scale, gap, lambda r: mix(light, deep, r / 27))

    # An accent rule and the byline.
    c.rect(tx, ty + 37, tx + tw - 1, ty + 38, rgb('F29A2E'))
    sub = 'HEADLINE WATCHER'
    sw = text_width(sub, 2, 2)
    draw_text(c, (W - sw) // 2, ty + 45, sub, 2, 2, lambda r: rgb('BFD4EE'))

    # A little news list: three rows with the list icons.
    px0, px1, row_h = tx, tx + tw - 1, 17
    py0 = 171
    py1 = py0 + 3 * row_h
    c.rect(px0 - 1, py0 - 1, px1 + 1, py1 + 1, rgb('5C7FB3'))
    c.rect(px0, py0, px1, py1, rgb('FFFFFF'))
    rows = (('lv', rgb('22324F'), 96), ('lvck', rgb('22324F'), 118),
            ('lvnon', rgb('9AA3B0'), 84))
    for i, (icon, ink, length) in enumerate(rows):
        y = py0 + 1 + i * row_h
        if i == 1:
            c.rect(px0, y - 1, px1, y + row_h - 1, rgb('E3ECF8'))
        c.blit(sheet16(icon), px0 + 2, y)
        c.rect(px0 + 22, y + 7, px0 + 22 + length, y + 8, ink)
        c.rect(px1 - 46, y + 7, px1 - 8, y + 8, rgb('B3BCC9'))
    return c


# ---------------------------------------------------------------------------

def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    files = {'news.ico': ico(sizes(news16(), news32()))}
    for name in ('lv', 'lvnon', 'lvck', 'lvck2', 'old'):
        files[name + '.ico'] = ico(sizes(sheet16(name), sheet32(name)))
    files['about.bmp'] = bmp8(about())
    for name in sorted(files):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(files[name])
        print('%-10s %6d bytes' % (name, len(files[name])))


if __name__ == '__main__':
    main()
