#!/usr/bin/env python3
"""Draws Quillbook's artwork and its page-turn sound.

Run from the repository root:

    /usr/bin/python3 resources/make_artwork.py            # rewrite resources/
    /usr/bin/python3 resources/make_artwork.py --preview /tmp   # also write preview sheets

Needs Python 3 with Pillow; the sound uses the standard library only.  Every
output is a pure function of this file: running it twice gives the same bytes.
"""

import argparse
import hashlib
import io
import math
import os
import random
import struct
import sys
import wave

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))

# Colours the program paints around and over the artwork.
FACE = (230, 222, 172)       # button faces, picture-box buttons, the text boxes on the pages
WINDOW_BG = (220, 209, 160)  # the main window's own background
INK = (128, 64, 0)           # the text colour of the boxes

SS = 8  # supersampling factor for the small pictures


# --------------------------------------------------------------------------
# A tiny vector pen.  Coordinates are given in 1x pixel units whatever the
# output scale, so one drawing routine serves both the 1x and the @2x picture;
# the @2x picture is rasterised from the shapes, never enlarged from pixels.
# --------------------------------------------------------------------------

class Pen:
    def __init__(self, w, h, scale=1, ss=SS):
        self.scale = scale
        self.ss = ss
        self.k = scale * ss
        self.out_size = (round(w * scale), round(h * scale))
        self.im = Image.new("RGBA", (self.out_size[0] * ss, self.out_size[1] * ss), (0, 0, 0, 0))

    def xy(self, pts):
        # Pillow fills pixels whose centres are inside; shifting by half a
        # device pixel makes a shape from 0 to 13 cover exactly 13 pixels.
        return [(x * self.k - 0.5, y * self.k - 0.5) for x, y in pts]

    def _paint(self, fill, draw_fn):
        fill = tuple(fill)
        alpha = fill[3] if len(fill) == 4 else 255
        if alpha == 255:
            draw_fn(ImageDraw.Draw(self.im), fill[:3] + (255,))
            return
        # Translucent shapes are drawn opaque on their own layer first, so the
        # pieces of one shape (segments and round joins) do not stack up.
        layer = Image.new("RGBA", self.im.size, (0, 0, 0, 0))
        draw_fn(ImageDraw.Draw(layer), fill[:3] + (255,))
        layer.putalpha(layer.getchannel("A").point(lambda v: v * alpha // 255))
        self.im.alpha_composite(layer)

    def poly(self, pts, fill):
        self._paint(fill, lambda d, c: d.polygon(self.xy(pts), fill=c))

    def polys(self, shapes, fill):
        def go(d, c):
            for pts in shapes:
                d.polygon(self.xy(pts), fill=c)
        self._paint(fill, go)

    def rect(self, x0, y0, x1, y1, fill):
        self.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], fill)

    def ellipse(self, cx, cy, rx, ry, fill):
        self.poly(ellipse_pts(cx, cy, rx, ry), fill)

    def stroke(self, pts, width, fill, caps=True):
        self._paint(fill, lambda d, c: self._stroke(d, c, pts, width, caps))

    def _stroke(self, d, c, pts, width, caps):
        r = width / 2
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            dx, dy = x1 - x0, y1 - y0
            n = math.hypot(dx, dy)
            if n == 0:
                continue
            nx, ny = -dy / n * r, dx / n * r
            d.polygon(self.xy([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                               (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]), fill=c)
        joints = pts if caps else pts[1:-1]
        for x, y in joints:
            d.polygon(self.xy(ellipse_pts(x, y, r, r, 24)), fill=c)

    def gradient(self, pts, stops, axis, a0, a1):
        """Fills a polygon with a linear gradient running along x or y from a0 to a1."""
        w, h = self.im.size
        n = w if axis == "x" else h
        strip = []
        for i in range(n):
            pos = (i + 0.5) / self.k
            t = min(max((pos - a0) / (a1 - a0), 0.0), 1.0)
            strip.append(lerp_stops(stops, t))
        line = Image.new("RGBA", (n, 1) if axis == "x" else (1, n))
        line.putdata(strip)
        layer = line.resize((w, h), Image.NEAREST)
        self.composite(layer, clip=pts)

    def layer(self):
        sub = Pen.__new__(Pen)
        sub.scale, sub.ss, sub.k, sub.out_size = self.scale, self.ss, self.k, self.out_size
        sub.im = Image.new("RGBA", self.im.size, (0, 0, 0, 0))
        return sub

    def composite(self, layer, clip=None):
        img = layer.im if isinstance(layer, Pen) else layer
        if clip is not None:
            mask = Image.new("L", self.im.size, 0)
            ImageDraw.Draw(mask).polygon(self.xy(clip), fill=255)
            img = img.copy()
            img.putalpha(ImageChops.multiply(img.getchannel("A"), mask))
        self.im.alpha_composite(img)

    def result(self):
        return self.im.resize(self.out_size, Image.BOX)


def lerp(a, b, t):
    return a + (b - a) * t


def lerp_colour(c0, c1, t):
    c0 = tuple(c0) + ((255,) if len(c0) == 3 else ())
    c1 = tuple(c1) + ((255,) if len(c1) == 3 else ())
    return tuple(round(lerp(a, b, t)) for a, b in zip(c0, c1))


def lerp_stops(stops, t):
    if len(stops) == 2:
        return lerp_colour(stops[0], stops[1], t)
    seg = min(int(t * (len(stops) - 1)), len(stops) - 2)
    local = t * (len(stops) - 1) - seg
    return lerp_colour(stops[seg], stops[seg + 1], local)


def ellipse_pts(cx, cy, rx, ry, n=96):
    return [(cx + rx * math.cos(2 * math.pi * i / n), cy + ry * math.sin(2 * math.pi * i / n))
            for i in range(n)]


def arc_pts(cx, cy, r, a0, a1, n=40):
    """Points on a circle; angles in degrees, counter-clockwise as seen on screen."""
    return [(cx + r * math.cos(math.radians(lerp(a0, a1, i / n))),
             cy - r * math.sin(math.radians(lerp(a0, a1, i / n)))) for i in range(n + 1)]


def bezier(p0, p1, p2, p3, n=24):
    pts = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        pts.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return pts


def rrect_pts(x0, y0, x1, y1, r, n=12):
    pts = []
    for cx, cy, a0 in ((x1 - r, y0 + r, 0), (x0 + r, y0 + r, 90), (x0 + r, y1 - r, 180), (x1 - r, y1 - r, 270)):
        pts += arc_pts(cx, cy, r, a0, a0 + 90, n)
    return pts


def mirror_x(pts, axis):
    return [(2 * axis - x, y) for x, y in pts]


# --------------------------------------------------------------------------
# Button pictures
# --------------------------------------------------------------------------

STEEL_DARK = (44, 48, 60)
STEEL = (96, 104, 122)
STEEL_LIGHT = (178, 188, 204)
WOOD_DARK = (70, 34, 8)
WOOD = (150, 80, 26)
WOOD_LIGHT = (205, 135, 70)


def magnifier(p, cx, cy, r, ring, handle_end, handle_w):
    """A magnifying glass: steel ring, tinted lens with a glint, wooden handle."""
    hx, hy = handle_end
    ang = math.atan2(hy - cy, hx - cx)
    ux, uy = math.cos(ang), math.sin(ang)
    start = (cx + ux * (r + ring * 0.3), cy + uy * (r + ring * 0.3))
    collar_end = (cx + ux * (r + ring * 0.3 + handle_w * 0.55), cy + uy * (r + ring * 0.3 + handle_w * 0.55))
    # Handle: dark outline, wood, a highlight along its upper side.
    p.stroke([start, (hx, hy)], handle_w + 1.4, WOOD_DARK)
    p.stroke([collar_end, (hx, hy)], handle_w, WOOD)
    off = handle_w * 0.22
    p.stroke([(collar_end[0] + uy * off, collar_end[1] - ux * off),
              (hx + uy * off - ux * handle_w * 0.3, hy - ux * off - uy * handle_w * 0.3)],
             handle_w * 0.28, WOOD_LIGHT + (200,))
    p.stroke([start, collar_end], handle_w * 0.95, STEEL)
    # Lens behind the ring.
    p.ellipse(cx, cy, r, r, (200, 228, 246, 150))
    p.ellipse(cx - r * 0.12, cy - r * 0.12, r * 0.72, r * 0.72, (232, 246, 255, 90))
    # Ring: outline, steel, and a lighter inner bevel on the upper left.
    ring_pts = ellipse_pts(cx, cy, r + ring / 2, r + ring / 2)
    hole_pts = ellipse_pts(cx, cy, r - ring / 2, r - ring / 2)
    outline = p.layer()
    outline.ellipse(cx, cy, r + ring / 2 + 0.7, r + ring / 2 + 0.7, STEEL_DARK)
    _punch(outline, ellipse_pts(cx, cy, r - ring / 2 - 0.7, r - ring / 2 - 0.7))
    p.composite(outline)
    steel = p.layer()
    steel.poly(ring_pts, STEEL)
    steel.stroke(arc_pts(cx, cy, r, 100, 200, 24), ring * 0.45, STEEL_LIGHT)
    _punch(steel, hole_pts)
    p.composite(steel)
    # Glint on the glass.
    p.stroke(arc_pts(cx, cy, r * 0.62, 105, 165, 16), max(r * 0.16, 1.0), (255, 255, 255, 210))


def _punch(pen, pts):
    """Cuts a hole in a layer (alpha to zero inside the polygon)."""
    mask = Image.new("L", pen.im.size, 255)
    ImageDraw.Draw(mask).polygon(pen.xy(pts), fill=0)
    pen.im.putalpha(ImageChops.multiply(pen.im.getchannel("A"), mask))


def draw_search(scale):
    p = Pen(28, 28, scale)
    magnifier(p, 11.5, 11.5, 7.6, 2.6, (25.2, 25.2), 4.4)
    return p.result()


def sheet(p, x0, y0, x1, y1, lines, scale):
    p.rect(x0, y0, x1, y1, (112, 100, 76))
    p.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, (252, 250, 240))
    p.rect(x0 + 1, y0 + 1, x1 - 1, y0 + 2.5, (236, 232, 214))
    if lines:
        step = 3 if scale == 1 else 2
        y = y0 + 4.5
        while y < y1 - 2:
            right = x1 - 2.5 if int((y - y0) // step) % 3 != 2 else x1 - 5.5
            p.stroke([(x0 + 2.5, y), (right, y)], 1.0 if scale == 1 else 0.75, (120, 138, 170), caps=False)
            y += step


def draw_search_all(scale):
    p = Pen(28, 28, scale)
    sheet(p, 10, 1, 25, 19, False, scale)
    sheet(p, 6, 3, 21, 21, False, scale)
    sheet(p, 2, 5, 17, 24, True, scale)
    magnifier(p, 16.5, 15.5, 5.6, 2.2, (26.0, 25.6), 3.6)
    return p.result()


def draw_lips(scale):
    p = Pen(38, 23, scale)
    cx = 19.0
    left = (1.6, 11.6)
    # Upper lip: corner, rise to the left peak, dip into the cupid's bow.
    top_left = bezier(left, (6.5, 8.5), (10.5, 2.2), (14.6, 2.4)) + \
        bezier((14.6, 2.4), (16.6, 2.5), (17.6, 5.0), (cx, 5.4))[1:]
    top = top_left + mirror_x(top_left[::-1], cx)[1:]
    mouth_left = bezier(left, (7.0, 12.6), (12.0, 11.0), (cx, 12.8))
    mouth = mouth_left + mirror_x(mouth_left[::-1], cx)[1:]
    bottom_left = bezier(left, (6.0, 16.5), (11.5, 21.4), (cx, 21.4))
    bottom = bottom_left + mirror_x(bottom_left[::-1], cx)[1:]

    upper = top + mouth[::-1]
    lower = mouth + bottom[::-1]
    outline = (120, 10, 28)
    p.polys([upper, lower], outline)
    # Grow the outline a little outwards so it shows as a rim around the lips.
    p.stroke(top, 1.1, outline)
    p.stroke(bottom, 1.1, outline)
    p.gradient(upper, [(232, 70, 88), (196, 24, 48), (150, 12, 34)], "y", 2.0, 12.8)
    p.gradient(lower, [(170, 16, 38), (214, 36, 60), (186, 22, 46)], "y", 12.0, 21.6)
    # Soft shine on the lower lip and a touch on the upper lip.
    shine = p.layer()
    shine.ellipse(cx - 1.0, 16.4, 6.5, 1.9, (255, 255, 255, 150))
    shine.ellipse(cx + 5.5, 16.8, 2.2, 0.9, (255, 255, 255, 110))
    shine.ellipse(12.5, 6.4, 2.4, 1.0, (255, 230, 235, 120))
    shine.ellipse(25.5, 6.4, 2.4, 1.0, (255, 230, 235, 120))
    p.composite(shine)
    # The line where the lips meet, darker in the middle.
    p.stroke(mouth, 1.3, (96, 6, 22))
    p.stroke(mouth[len(mouth) // 3: 2 * len(mouth) // 3], 1.6, (74, 2, 16))
    return p.result()


def closed_book(p, cover, cover_dark, cover_light, spine_band):
    """An upright closed book seen from the front, pages showing at the right and bottom."""
    # Back cover peeks out under the page block.
    p.rect(5, 3, 29, 31, cover_dark)
    # Page block.
    p.rect(6, 4, 28, 30, (120, 104, 70))
    p.rect(6, 4, 27, 29, (248, 242, 218))
    for y in (25.5, 27.5):
        p.stroke([(8, y), (27, y)], 0.6, (196, 182, 140), caps=False)
    for x in (24.5, 26.5):
        p.stroke([(x, 5), (x, 27)], 0.6, (196, 182, 140), caps=False)
    # Front cover with a soft light from the upper left.
    p.rect(2, 1, 25, 28, (40, 28, 30))
    inner = [(3, 2), (24, 2), (24, 27), (3, 27)]
    p.gradient(inner, [cover_light, cover, cover_dark], "x", 3, 26)
    # Spine side of the cover, with two raised bands.
    p.rect(3, 2, 7, 27, cover_dark)
    p.rect(6.2, 2, 7, 27, tuple(min(255, c + 30) for c in cover_dark))
    for y in (5, 22):
        p.rect(3, y, 7, y + 1.5, spine_band)
    # A faint highlight along the top of the cover.
    p.rect(7, 2, 24, 3, cover_light + (140,))


def question_mark(p, cx, top, size, fill, edge):
    r = size * 0.30
    cy = top + r + size * 0.06
    hook = arc_pts(cx, cy, r, 165, -50, 28)
    end = hook[-1]
    stem_top = (cx, cy + r + size * 0.08)
    stem_bot = (cx, cy + r + size * 0.24)
    path = hook + bezier(end, (end[0] - r * 0.45, end[1] + r * 0.35), (cx, stem_top[1] - r * 0.4), stem_top, 10)[1:] + [stem_bot]
    dot = (cx, cy + r + size * 0.43)
    w = size * 0.17
    p.stroke(path, w + 1.4, edge)
    p.ellipse(dot[0], dot[1], w * 0.72 + 0.7, w * 0.72 + 0.7, edge)
    p.stroke(path, w, fill)
    p.ellipse(dot[0], dot[1], w * 0.72, w * 0.72, fill)
    # Light catching the upper left of the hook.
    p.stroke(arc_pts(cx, cy, r + w * 0.18, 150, 100, 10), w * 0.3, (255, 252, 200, 200), caps=True)


def draw_help(scale):
    p = Pen(32, 32, scale)
    closed_book(p, (118, 52, 168), (70, 26, 108), (160, 100, 206), (222, 186, 74))
    question_mark(p, 15.5, 4.0, 17.5, (255, 214, 28), (92, 56, 0))
    return p.result()


def draw_about(scale):
    p = Pen(32, 32, scale)
    closed_book(p, (40, 136, 62), (18, 78, 34), (98, 184, 112), (222, 186, 74))
    gold, gold_dark = (236, 198, 84), (150, 112, 30)
    # A gilt title label and a small emblem below it.
    p.rect(10, 6, 21, 13, gold_dark)
    p.rect(10.8, 6.8, 20.2, 12.2, (26, 96, 44))
    p.rect(10.8, 6.8, 20.2, 7.6, gold)
    p.stroke([(12.5, 9.0), (18.5, 9.0)], 0.8, gold, caps=False)
    p.stroke([(12.5, 10.8), (17.0, 10.8)], 0.8, gold, caps=False)
    diamond = [(15.5, 16.2), (19.0, 19.7), (15.5, 23.2), (12.0, 19.7)]
    p.poly(diamond, gold_dark)
    p.poly([(15.5, 17.2), (18.0, 19.7), (15.5, 22.2), (13.0, 19.7)], gold)
    p.poly([(15.5, 17.2), (18.0, 19.7), (15.5, 19.7), (13.0, 19.7)], (252, 230, 150))
    return p.result()


def small_square(w, h, scale):
    p = Pen(w, h, scale)
    p.rect(0, 0, w, h, (78, 38, 8))
    p.rect(1, 1, w - 1, h - 1, (206, 132, 64))          # light bevel, top and left
    p.rect(2, 2, w - 1, h - 1, (110, 56, 14))           # dark bevel, bottom and right
    p.gradient([(2, 2), (w - 2, 2), (w - 2, h - 2), (2, h - 2)],
               [(176, 100, 38), (148, 78, 24)], "y", 2, h - 2)
    return p


def draw_close(scale):
    p = small_square(13, 13, scale)
    a, b = 3.9, 9.1
    w = 1.9 if scale == 1 else 1.6
    p.stroke([(a, a), (b, b)], w + 0.9, (90, 44, 8, 170))
    p.stroke([(b, a), (a, b)], w + 0.9, (90, 44, 8, 170))
    p.stroke([(a, a), (b, b)], w, (250, 238, 204))
    p.stroke([(b, a), (a, b)], w, (250, 238, 204))
    return p.result()


def draw_hide(scale):
    p = small_square(14, 13, scale)
    p.rect(3, 6, 11, 9, (90, 44, 8))
    p.rect(3.5, 6.5, 10.5, 8.5, (250, 238, 204)) if scale == 2 else p.rect(3, 6, 11, 8, (250, 238, 204))
    return p.result()


# --------------------------------------------------------------------------
# The Help window's pictures: the main window's close and hide buttons, and
# the tray icon with its menu open.  Built from the drawings above; the menu
# text is set in AR PL UMing TW (Debian: fonts-arphic-uming) at the output
# size, never supersampled, so it stays as crisp as a real menu.
# --------------------------------------------------------------------------

UMING = "/usr/share/fonts/truetype/arphic/uming.ttc"
UMING_TW = 2  # the face's index in the collection


def draw_help_buttons(scale):
    p = Pen(51, 33, scale)
    p.rect(0, 0, 51, 33, WINDOW_BG)
    p.rect(6, 7, 45, 26, FACE)
    img = p.result()
    img.alpha_composite(draw_close(scale), (11 * scale, 10 * scale))
    img.alpha_composite(draw_hide(scale), (27 * scale, 10 * scale))
    return img


def draw_help_tray(scale):
    p = Pen(135, 64, scale)
    p.rect(0, 0, 135, 64, (196, 204, 214))            # the desktop
    p.rect(0, 46, 135, 64, (52, 56, 66))              # the panel along the bottom
    p.rect(0, 46, 135, 47, (96, 102, 116))
    p.rect(24, 1, 112, 45, (120, 120, 128))           # the menu's frame and shadow
    p.rect(25, 2, 111, 44, (250, 248, 242))
    p.rect(26, 4, 110, 22, (60, 104, 176))            # the entry under the pointer
    img = p.result()
    img.alpha_composite(draw_icon(16, scale), (94 * scale, 47 * scale))
    # The pointer on the icon, tip up and to the left.
    arrow = [(0, 0), (0, 11), (3, 8.5), (5.5, 13), (7.5, 12), (5, 7.6), (9, 7.6)]
    pointer = Pen(135, 64, scale)
    pointer.poly([(x + 106.5, y + 52.5) for x, y in arrow], (20, 20, 20))
    pointer.poly([(x * 0.72 + 107.3, y * 0.72 + 54.2) for x, y in arrow], (255, 255, 255))
    img.alpha_composite(pointer.result())
    d = ImageDraw.Draw(img)
    font = ImageFont.truetype(UMING, 12 * scale, index=UMING_TW)
    d.text((34 * scale, 7 * scale), "顯示字典", font=font, fill=(255, 255, 255, 255))
    d.text((34 * scale, 27 * scale), "離開", font=font, fill=(24, 24, 24, 255))
    return img


# --------------------------------------------------------------------------
# The application icon: an open book with a quill.
# --------------------------------------------------------------------------

ICON_EDGE = (150, 128, 84)
PAPER, PAPER_SHADE = (252, 246, 222), (214, 198, 150)
TEXT_GREY = (132, 116, 96)
COVER_DARK, COVER = (70, 34, 10), (136, 68, 20)


def open_book_32(p):
    """The open book of the 32-pixel icon, pages curling up from the gutter."""
    spine = 16.0
    cov_left = [(spine, 27.5)] + bezier((spine, 27.5), (11, 25.5), (6, 25.8), (0.8, 27.2), 12)[1:] + \
        [(0.8, 10.5), (4.0, 10.0), (spine, 12.0)]
    p.poly(cov_left + mirror_x(cov_left[::-1], spine), COVER_DARK)
    inner_cover = [(spine, 26.4)] + bezier((spine, 26.4), (11, 24.4), (6, 24.8), (1.8, 26.0), 12)[1:] + \
        [(1.8, 11.5), (spine, 13.0)]
    p.poly(inner_cover + mirror_x(inner_cover[::-1], spine), COVER)

    def page(dy, dx):
        top = bezier((spine, 8.4 + dy), (12.0, 5.2 + dy), (6.5, 4.6 + dy), (2.8 - dx, 6.6 + dy), 16)
        bottom = bezier((2.8 - dx, 23.6 + dy), (7.0, 21.6 + dy), (12.0, 22.4 + dy), (spine, 25.4 + dy), 16)
        return top + bottom

    # Page stack edges at the outer sides and bottom.
    for k in (2, 1):
        lp = page(k * 0.9, k * 0.6)
        p.polys([lp, mirror_x(lp, spine)], ICON_EDGE)
        lp = page(k * 0.9 - 0.45, k * 0.6 - 0.3)
        p.polys([lp, mirror_x(lp, spine)], (236, 226, 190))
    left = page(0, 0)
    p.polys([left, mirror_x(left, spine)], ICON_EDGE)
    shrink = page(0, -0.7)
    p.gradient(shrink, [PAPER, PAPER, PAPER_SHADE], "x", 3.0, spine)
    p.gradient(mirror_x(shrink, spine), [PAPER_SHADE, PAPER, PAPER], "x", spine, 29.0)
    # Straight print lines stay sharp at this size; curved ones smear.
    lines = p.layer()
    for i, y in enumerate((9.5, 12.5, 15.5, 18.5)):
        right = 13.5 if i != 3 else 10.5
        lines.rect(4.5, y - 0.5, right, y + 0.5, TEXT_GREY)
        lines.rect(2 * spine - right, y - 0.5, 27.5, y + 0.5, TEXT_GREY)
    p.composite(lines, clip=shrink)
    p.composite(lines, clip=mirror_x(shrink, spine))
    p.stroke([(spine, 8.6), (spine, 25.6)], 1.0, (120, 92, 56))


def open_book_16(p):
    """The 16-pixel book: drawn on the pixel grid so its edges stay crisp."""
    fine = p.scale >= 2
    p.rect(0, 5, 16, 15, COVER_DARK)
    p.rect(1, 6, 15, 14, COVER)
    p.rect(1, 3.5, 15, 14, ICON_EDGE)
    p.rect(1, 13, 15, 13.5 if fine else 14, (236, 226, 190))
    # Pages, sinking by a pixel where they meet the gutter.
    left = [(2, 4), (3, 3), (6, 3), (7, 4), (8, 4), (8, 13), (2, 13)]
    right = mirror_x(left, 8)
    p.polys([left, right], PAPER)
    p.rect(7, 4, 8, 13, PAPER_SHADE)
    p.rect(8, 4, 9, 13, (196, 176, 126))
    rows = (5, 7, 9, 11) if not fine else (5, 6.5, 8, 9.5, 11)
    h = 1 if not fine else 0.5
    for i, y in enumerate(rows):
        p.rect(3, y, 6 if i != len(rows) - 1 else 5, y + h, TEXT_GREY)
        p.rect(10, y, 13 if i != 1 else 12, y + h, TEXT_GREY)


def quill(p, nib, tip, width, fine):
    """A white goose quill, nib down towards the gutter."""
    dx, dy = tip[0] - nib[0], tip[1] - nib[1]
    n = math.hypot(dx, dy)
    ux, uy = dx / n, dy / n          # along the shaft
    vx, vy = uy, -ux                 # across it (to the lower right)

    def at(t, s):
        return (nib[0] + ux * n * t + vx * s, nib[1] + uy * n * t + vy * s)

    def bulge(t, t0, t1, w, power):
        return w * max(0.0, math.sin(math.pi * (t - t0) / (t1 - t0))) ** power

    steps = 16
    out_r = [lerp(0.28, 1.0, i / steps) for i in range(steps + 1)]
    out_l = [lerp(1.0, 0.34, i / steps) for i in range(1, steps + 1)]
    vane = [at(t, bulge(t, 0.28, 1.02, width, 0.7)) for t in out_r] + \
        [at(t, -bulge(t, 0.34, 1.02, width * 0.66, 0.8)) for t in out_l]
    outline = (70, 70, 84) if width > 3 else (96, 96, 112)
    p.poly(vane, outline)
    grow = p.layer()
    grow.stroke(vane + vane[:1], 1.0 if width > 3 else 0.6, outline)
    p.composite(grow)
    edge = 0.75 if width > 3 else 0.55
    in_r = [lerp(0.31, 0.97, i / steps) for i in range(steps + 1)]
    in_l = [lerp(0.97, 0.37, i / steps) for i in range(1, steps + 1)]
    inner = [at(t, max(0.0, bulge(t, 0.28, 1.02, width, 0.7) - edge)) for t in in_r] + \
        [at(t, -max(0.0, bulge(t, 0.34, 1.02, width * 0.66, 0.8) - edge)) for t in in_l]
    p.poly(inner, (250, 250, 246))
    # Shade on the lower side of the vane, a few barb notches.
    p.poly([at(t, max(0.0, bulge(t, 0.28, 1.02, width, 0.7) - edge)) for t in in_r] +
           [at(t, 0.5) for t in in_r[::-1]], (204, 210, 226))
    if fine:
        for t in (0.5, 0.66, 0.8):
            p.stroke([at(t, 0.3), at(t - 0.05, bulge(t - 0.05, 0.28, 1.02, width, 0.7))], 0.6, outline, caps=False)
    p.stroke([at(0.05, 0), at(0.97, 0)], 0.9, (120, 110, 96))
    p.poly([at(-0.02, 0), at(0.12, width * 0.3), at(0.16, 0), at(0.12, -width * 0.3)], (40, 36, 44))


def draw_icon(size, scale):
    p = Pen(size, size, scale)
    if size == 32:
        open_book_32(p)
        quill(p, (17.5, 24.0), (30.6, 1.2), 3.6, True)
    else:
        open_book_16(p)
        quill(p, (9.3, 11.6), (15.4, 0.6), 2.2, scale >= 2)
    return p.result()


# --------------------------------------------------------------------------
# The About window's mascot: an owl reading an open book, a quill in its wing.
# --------------------------------------------------------------------------

OWL_DARK, OWL, OWL_LIGHT = (92, 56, 24), (150, 98, 52), (196, 142, 84)
OWL_BELLY, OWL_DISC = (232, 206, 156), (240, 222, 184)
OWL_AMBER, OWL_BEAK = (236, 164, 32), (226, 136, 30)


def draw_mascot(scale):
    p = Pen(100, 108, scale)
    p.ellipse(50, 103, 30, 3.6, (60, 40, 20, 70))
    # Feet under the body.
    for x in (40, 60):
        for dx in (-3.2, 0, 3.2):
            p.ellipse(x + dx, 100.5, 2.2, 2.6, OWL_BEAK)
    # Body and head, lit from the upper left.
    body = ellipse_pts(50, 66, 31, 34)
    p.poly(ellipse_pts(50, 66, 32.2, 35.2), OWL_DARK)
    p.gradient(body, [OWL_LIGHT, OWL, OWL_DARK], "x", 19, 81)
    head = ellipse_pts(50, 38, 30, 25)
    p.poly(ellipse_pts(50, 38, 31.2, 26.2), OWL_DARK)
    p.gradient(head, [OWL_LIGHT, OWL, OWL_DARK], "x", 20, 80)
    # Ear tufts.
    for side in (1, -1):
        tuft = [(50 - side * 16, 17), (50 - side * 27, 2.5), (50 - side * 28, 21)]
        p.poly(tuft, OWL_DARK)
        p.poly([(50 - side * 18, 17.5), (50 - side * 26, 6), (50 - side * 26.5, 19.5)], OWL)
    # Belly with a few feather marks.
    p.ellipse(50, 74, 20, 24, OWL_BELLY)
    for row, y in enumerate((60, 66, 72)):
        for i in range(3 - row % 2):
            x = 41 + i * 9 + (4.5 if row % 2 else 0)
            p.stroke(arc_pts(x, y - 2, 2.6, 200, 340, 8), 1.0, (176, 132, 82))
    # Facial discs, eyes and beak.
    for x in (38, 62):
        p.ellipse(x, 37, 14, 13, OWL_DISC)
        p.ellipse(x, 37, 9.6, 9.6, (70, 44, 20))
        p.ellipse(x, 37, 8.6, 8.6, (255, 255, 255))
        p.ellipse(x + 0.8, 37.8, 5.8, 5.8, OWL_AMBER)
        p.ellipse(x + 0.8, 37.8, 3.4, 3.4, (26, 18, 14))
        p.ellipse(x - 1.2, 35.4, 1.5, 1.5, (255, 255, 255))
    # Brows that make it smile.
    p.stroke(arc_pts(38, 37, 12.2, 60, 130, 10), 1.6, OWL_DARK)
    p.stroke(arc_pts(62, 37, 12.2, 50, 120, 10), 1.6, OWL_DARK)
    p.poly([(45.5, 45), (54.5, 45), (50, 55)], (120, 66, 10))
    p.poly([(46.7, 45.8), (53.3, 45.8), (50, 53)], OWL_BEAK)
    # The open book it holds, green like the About button's.
    cover = [(24, 78), (50, 83), (76, 78), (76, 96), (50, 100), (24, 96)]
    p.poly(cover, (18, 78, 34))
    p.poly([(25.5, 79.5), (50, 84), (74.5, 79.5), (74.5, 94.5), (50, 98.5), (25.5, 94.5)], (40, 136, 62))
    left = [(27, 76), (50, 81), (50, 96), (27, 92)]
    right = mirror_x(left, 50)
    p.gradient(left, [PAPER, PAPER_SHADE], "x", 27, 50)
    p.gradient(right, [PAPER_SHADE, PAPER], "x", 50, 73)
    for i in range(4):
        y = 80.5 + i * 3.2
        p.stroke([(30, y), (46, y + 3.2)], 0.8, TEXT_GREY, caps=False)
        p.stroke([(54, y + 3.2), (70, y)], 0.8, TEXT_GREY, caps=False)
    p.stroke([(50, 81), (50, 96)], 0.8, (150, 130, 90), caps=False)
    # Wing tips holding the book's edges.
    for side in (1, -1):
        wing = [(50 - side * 30, 60), (50 - side * 21, 74), (50 - side * 19, 86),
                (50 - side * 26, 88), (50 - side * 32, 76)]
        p.poly(wing, OWL_DARK)
        p.poly([(x + side * 1.0, y) for x, y in wing[1:4]] + [(50 - side * 29, 74)], OWL)
    quill(p, (66, 90), (96, 52), 5.2, True)
    return p.result()


# --------------------------------------------------------------------------
# The skin: the main window's face, an open book seen from above.
# --------------------------------------------------------------------------

SKIN_W, SKIN_H = 352, 226
BOOK = (1, 2, 349, 224)     # continuous bounds of the book; pixels 1..348 x 2..223
BOOK_RADIUS = 35
SPINE = 175.5
PAGE_TOP, PAGE_BOTTOM = 5.0, 209.0
PAGE_OUTER = 13.0           # left page's outer edge; the right page mirrors it about SPINE
PAGE_RADIUS = 24
DIP, DIP_REACH = 3.0, 18.0  # how far, and over what width, the pages sink into the gutter
STACK = 4                   # page layers showing under the top page
TRANSPARENT = 255


def in_book(px, py):
    x0, y0, x1, y1 = BOOK
    r = BOOK_RADIUS
    if not (x0 <= px <= x1 and y0 <= py <= y1):
        return False
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def page_dip(x):
    s = min(max((x - (SPINE - DIP_REACH)) / DIP_REACH, 0.0), 1.0)
    return DIP * s * s


def left_page(out=0.0, down=0.0):
    r = PAGE_RADIUS
    x0 = PAGE_OUTER
    pts = arc_pts(x0 + r, PAGE_TOP + r, r, 180, 90, 16)
    n = 48
    xs = [lerp(x0 + r, SPINE, i / n) for i in range(1, n + 1)]
    pts += [(x, PAGE_TOP + page_dip(x)) for x in xs]
    pts += [(x, PAGE_BOTTOM - page_dip(x)) for x in reversed(xs)]
    pts += arc_pts(x0 + r, PAGE_BOTTOM - r, r, 270, 180, 16)
    return [(x - out * (SPINE - x) / (SPINE - x0), y + down) for x, y in pts]


def right_page(out=0.0, down=0.0):
    return mirror_x(left_page(out, down), SPINE)


def skin_column_shade(x):
    """Brightness of the page surface across the book: dark in the gutter, a little at the edges."""
    d = abs(x - SPINE)
    m = 1.0 - 0.26 * math.exp(-d / 3.5) - 0.10 * math.exp(-d / 12.0)
    edge = d - (SPINE - PAGE_OUTER)
    m *= 1.0 - 0.07 * math.exp(edge / 4.0) if edge < 0 else 0.93
    return m


def skin_row_shade(y):
    if y < PAGE_TOP or y > PAGE_BOTTOM:
        return 1.0
    return 1.0 - 0.05 * math.exp(-(y - PAGE_TOP) / 2.5) - 0.07 * math.exp(-(PAGE_BOTTOM - y) / 2.5)


def noise_image(w, h, seed, amount):
    rnd = random.Random(seed)
    img = Image.new("L", (w, h))
    img.putdata([max(0, min(255, round(128 + rnd.gauss(0, amount)))) for _ in range(w * h)])
    return img


def draw_skin():
    ss = 4
    p = Pen(SKIN_W, SKIN_H, 1, ss)
    W, H = p.im.size

    # Leather: the whole canvas is cover, so the hard cut-out edge lands on cover colour.
    leather = Image.new("RGB", (W, H), (98, 56, 28))
    grain = noise_image(SKIN_W * 2, SKIN_H * 2, 1, 7.0).resize((W, H), Image.BICUBIC)
    fine = noise_image(W, H, 2, 4.0)
    grain = ImageChops.add(grain, fine, 1.0, -128)
    leather = ImageChops.add(leather, Image.merge("RGB", (grain, grain, grain)), 1.0, -128)
    p.im = leather.convert("RGBA")
    # A worn, lighter band just inside the edge, like a turned-in leather border.
    x0, y0, x1, y1 = BOOK
    band = p.layer()
    band.stroke(rrect_pts(x0 + 2.2, y0 + 2.2, x1 - 2.2, y1 - 2.2, BOOK_RADIUS - 2.2, 16) +
                rrect_pts(x0 + 2.2, y0 + 2.2, x1 - 2.2, y1 - 2.2, BOOK_RADIUS - 2.2, 16)[:1],
                1.2, (150, 96, 52, 150), caps=False)
    p.composite(band)

    # Headbands peeping out where the pages dip into the spine.
    for ytop, ybot in ((PAGE_TOP - 1.0, PAGE_TOP + DIP + 0.5), (PAGE_BOTTOM + STACK * 2 - DIP - 0.5, PAGE_BOTTOM + STACK * 2 + 1.0)):
        p.poly(rrect_pts(SPINE - 4, ytop, SPINE + 4, ybot, 1.0, 4), (92, 18, 20))
        p.poly(rrect_pts(SPINE - 3.2, ytop + 0.6, SPINE + 3.2, ybot - 0.6, 0.8, 4), (164, 44, 40))
        p.rect(SPINE - 3.2, ytop + 0.6, SPINE + 3.2, ytop + 1.4, (210, 120, 90, 160))

    # Soft shadow of the page block on the cover.
    shadow = Pen(SKIN_W, SKIN_H, 1, ss)
    shadow.polys([left_page(STACK * 0.8 + 0.6, STACK * 2 + 1.2), right_page(STACK * 0.8 + 0.6, STACK * 2 + 1.2)], (20, 8, 0, 255))
    sh = shadow.im.filter(ImageFilter.GaussianBlur(2.0 * ss))
    sh.putalpha(sh.getchannel("A").point(lambda v: v * 150 // 255))
    p.composite(sh)

    # Paper: the page stack first (its edges show as stripes), the top pages last.
    paper = p.layer()
    for k in range(STACK, 0, -1):
        paper.polys([left_page(k * 0.8, k * 2.0), right_page(k * 0.8, k * 2.0)], (168, 146, 100))
        light = (230, 220, 178) if k % 2 else (238, 229, 188)
        paper.polys([left_page(k * 0.8 - 0.15, k * 2.0 - 0.75), right_page(k * 0.8 - 0.15, k * 2.0 - 0.75)], light)
    paper.polys([left_page(0.35, 0.6), right_page(0.35, 0.6)], (176, 154, 106))
    paper.polys([left_page(), right_page()], (240, 232, 190))

    # Shade the paper: the gutter, the outer edges, the top and bottom edges.
    col = Image.new("L", (W, 1))
    col.putdata([round(255 * skin_column_shade((i + 0.5) / ss)) for i in range(W)])
    row = Image.new("L", (1, H))
    row.putdata([round(255 * skin_row_shade((j + 0.5) / ss)) for j in range(H)])
    shade = ImageChops.multiply(col.resize((W, H), Image.NEAREST), row.resize((W, H), Image.NEAREST))
    rgb = ImageChops.multiply(paper.im.convert("RGB"), Image.merge("RGB", (shade, shade, shade)))
    rgb.putalpha(paper.im.getchannel("A"))
    p.composite(rgb)

    # The crease itself, with a faint highlight on each side where the paper turns.
    crease_top, crease_bot = PAGE_TOP + DIP, PAGE_BOTTOM - DIP
    p.stroke([(SPINE, crease_top), (SPINE, crease_bot)], 1.0, (112, 84, 44, 220), caps=False)
    for side in (-1, 1):
        x = SPINE + side * 7.0
        p.stroke([(x, PAGE_TOP + page_dip(x) + 1), (x, PAGE_BOTTOM - page_dip(x) - 1)], 2.0, (255, 250, 226, 40), caps=False)

    img = p.im.resize((SKIN_W, SKIN_H), Image.BOX).convert("RGB")

    # Hard one-bit outline: a dark rim on the outermost ring of book pixels.
    inside = [[in_book(x + 0.5, y + 0.5) for x in range(SKIN_W)] for y in range(SKIN_H)]
    px = img.load()
    rim = (54, 28, 10)
    for y in range(SKIN_H):
        for x in range(SKIN_W):
            if not inside[y][x]:
                continue
            for dx, dy in ((-1, -1), (0, -1), (1, -1), (-1, 0), (1, 0), (-1, 1), (0, 1), (1, 1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < SKIN_W and 0 <= ny < SKIN_H) or not inside[ny][nx]:
                    px[x, y] = rim
                    break

    # 255 colours for the book; entry 255 is reserved as the transparent white.
    book_only = img.copy()
    bpx = book_only.load()
    for y in range(SKIN_H):
        for x in range(SKIN_W):
            if not inside[y][x]:
                bpx[x, y] = rim
    q = book_only.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = q.getpalette()[:255 * 3]
    pal += [0] * (255 * 3 - len(pal))
    pal += [255, 255, 255]
    data = list(q.getdata())
    out = Image.new("P", (SKIN_W, SKIN_H))
    out.putdata([data[y * SKIN_W + x] if inside[y][x] else TRANSPARENT
                 for y in range(SKIN_H) for x in range(SKIN_W)])
    out.putpalette(pal)
    out.info["transparency"] = TRANSPARENT
    return out


def check_skin(img, png_bytes):
    assert img.size == (SKIN_W, SKIN_H) and img.mode == "P"
    pal = img.getpalette()
    assert len(pal) == 768, "the skin needs a full 256-entry colour table"
    assert pal[765:768] == [255, 255, 255]
    px = img.load()
    W, H = img.size
    assert px[0, 0] == TRANSPARENT
    for y in (0, 1, 224, 225):
        assert all(px[x, y] == TRANSPARENT for x in range(W)), f"row {y} must be transparent"
    for x in (0, 349, 350, 351):
        assert all(px[x, y] == TRANSPARENT for y in range(H)), f"column {x} must be transparent"
    transparent = 0
    opaque_rows, opaque_cols = set(), set()
    for y in range(H):
        for x in range(W):
            i = px[x, y]
            if i == TRANSPARENT:
                transparent += 1
                continue
            opaque_rows.add(y)
            opaque_cols.add(x)
            colour = tuple(pal[i * 3:i * 3 + 3])
            assert colour != (255, 255, 255), f"white book pixel at {x},{y} would become a hole"
            # The window keys on whatever colour the top-left pixel shows as, which
            # is the platform's face colour (a light grey) or white: keep the book
            # clearly tinted and never that light.
            assert max(colour) - min(colour) >= 10 and max(colour) <= 245, f"book colour {colour} is too close to grey/white"
    assert min(opaque_rows) == 2 and max(opaque_rows) == 223
    assert min(opaque_cols) == 1 and max(opaque_cols) == 348
    assert 3000 <= transparent <= 3500, transparent
    # The transparent pixels form only the outer frame: every book row is one
    # unbroken run, so the window region has no holes.
    for y in range(2, 224):
        row = [px[x, y] != TRANSPARENT for x in range(W)]
        first, last = row.index(True), W - 1 - row[::-1].index(True)
        assert all(row[first:last + 1]), f"hole in row {y}"
        assert not row[W - 1]
    # The file says exactly "index 255 is transparent" and nothing else.
    trns = png_chunks(png_bytes).get(b"tRNS")
    assert trns is not None
    alphas = list(trns) + [255] * (256 - len(trns))
    assert alphas[255] == 0 and all(a == 255 for a in alphas[:255]), "only index 255 may be transparent"
    plte = png_chunks(png_bytes)[b"PLTE"]
    assert len(plte) == 768
    return transparent


def png_chunks(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, chunks = 8, {}
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunks.setdefault(kind, data[pos + 8:pos + 8 + length])
        pos += 12 + length
    return chunks


# --------------------------------------------------------------------------
# Icon file
# --------------------------------------------------------------------------

def ico_bytes(images):
    """An .ico of 32-bit BMP entries (with the 1-bit AND mask older readers expect)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        w, h = img.size
        rgba = img.convert("RGBA")
        px = rgba.load()
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = px[x, y]
                xor += bytes((b, g, r, a))
        stride = ((w + 31) // 32) * 4
        andmask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(stride)
            for x in range(w):
                if px[x, y][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            andmask += row
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
        blob = header + bytes(xor) + bytes(andmask)
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


# --------------------------------------------------------------------------
# The page-turn click
# --------------------------------------------------------------------------

RATE = 22050


def make_flip():
    """A short papery 'fwip': a band-passed noise swish whose pitch rises,
    ending in a soft tap as the page lands."""
    rnd = random.Random(20240611)
    dur = 0.150
    n = int(RATE * dur)
    out = [0.0] * n

    # Swish: resonant band-pass on white noise, centre sweeping upwards.
    z1 = z2 = 0.0
    for i in range(n):
        t = i / RATE
        fc = 1400.0 + 2600.0 * min(t / 0.09, 1.0)
        q = 1.1
        w0 = 2 * math.pi * fc / RATE
        alpha = math.sin(w0) / (2 * q)
        b0, b2 = alpha, -alpha
        a0, a1, a2 = 1 + alpha, -2 * math.cos(w0), 1 - alpha
        x = rnd.uniform(-1.0, 1.0)
        # Transposed direct form II.
        y = (b0 / a0) * x + z1
        z1 = (-a1 / a0) * y + z2
        z2 = (b2 / a0) * x - (a2 / a0) * y
        if t < 0.030:
            env = (t / 0.030) ** 1.5
        else:
            env = math.exp(-(t - 0.030) / 0.028)
        out[i] += y * env

    # Tap: a brief, lower, duller burst as the page settles.
    tap_at = 0.072
    lp = 0.0
    for i in range(int(tap_at * RATE), n):
        t = i / RATE - tap_at
        x = rnd.uniform(-1.0, 1.0)
        lp += 0.35 * (x - lp)
        env = (1 - math.exp(-t / 0.0008)) * math.exp(-t / 0.007)
        out[i] += 1.6 * lp * env

    # Take out any rumble and offset: one-pole high-pass at about 120 Hz.
    rc = 1.0 / (2 * math.pi * 120.0)
    a = rc / (rc + 1.0 / RATE)
    prev_x = prev_y = 0.0
    for i in range(n):
        x = out[i]
        y = a * (prev_y + x - prev_x)
        prev_x, prev_y = x, y
        out[i] = y

    # Short fade in, smooth fade out to silence.
    fade_in, fade_out = int(0.002 * RATE), int(0.030 * RATE)
    win = [1.0] * n
    for i in range(fade_in):
        win[i] = math.sin(0.5 * math.pi * i / fade_in) ** 2
    for i in range(fade_out):
        win[n - 1 - i] = math.sin(0.5 * math.pi * i / fade_out) ** 2
    out = [s * w for s, w in zip(out, win)]
    # Remove what offset is left, shaped by the window so the ends stay at zero.
    mean = sum(out) / n
    wmean = sum(win) / n
    out = [s - mean * w / wmean for s, w in zip(out, win)]

    peak = max(abs(s) for s in out)
    gain = (10 ** (-6.0 / 20.0)) * 32767 / peak
    samples = [int(round(s * gain)) for s in out]
    buf = io.BytesIO()
    with wave.open(buf, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(struct.pack("<%dh" % n, *samples))
    return buf.getvalue(), samples


def check_flip(data, samples):
    with wave.open(io.BytesIO(data)) as w:
        assert w.getnchannels() == 1 and w.getsampwidth() == 2 and w.getframerate() in (22050, 44100)
        frames = w.getnframes()
        dur = frames / w.getframerate()
        assert 0.080 <= dur <= 0.200, dur
        raw = w.readframes(frames)
    values = list(struct.unpack("<%dh" % frames, raw))
    assert values == samples
    peak = max(abs(v) for v in values)
    peak_db = 20 * math.log10(peak / 32768)
    assert -6.6 <= peak_db <= -5.4, peak_db
    assert peak < 32767, "clipped"
    mean = sum(values) / len(values)
    assert abs(mean) < 1.0, f"DC offset {mean}"
    assert values[0] == 0 and values[-1] == 0
    tail = values[-int(0.005 * w.getframerate()):]
    assert max(abs(v) for v in tail) < 0.01 * peak, "does not fade out"
    rms = math.sqrt(sum(v * v for v in values) / len(values))
    return dur, peak_db, mean, rms


# --------------------------------------------------------------------------

BUTTONS = [
    ("search", draw_search),
    ("search_all", draw_search_all),
    ("lips", draw_lips),
    ("help", draw_help),
    ("about", draw_about),
    ("close", draw_close),
    ("hide", draw_hide),
    ("mascot", draw_mascot),
    ("help_buttons", draw_help_buttons),
    ("help_tray", draw_help_tray),
]
SIZES = {"search": (28, 28), "search_all": (28, 28), "lips": (38, 23), "help": (32, 32),
         "about": (32, 32), "close": (13, 13), "hide": (14, 13),
         "mascot": (100, 108), "help_buttons": (51, 33), "help_tray": (135, 64)}


def png_bytes(img, **kw):
    buf = io.BytesIO()
    img.save(buf, "PNG", **kw)
    return buf.getvalue()


def build():
    files = {}
    skin = draw_skin()
    skin_png = png_bytes(skin, transparency=TRANSPARENT)
    reread = Image.open(io.BytesIO(skin_png))
    reread.load()
    transparent = check_skin(reread, skin_png)
    files["skin.png"] = skin_png

    for name, fn in BUTTONS:
        for scale, suffix in ((1, ""), (2, "@2x")):
            img = fn(scale)
            w, h = SIZES[name]
            assert img.size == (w * scale, h * scale), (name, img.size)
            files[f"{name}{suffix}.png"] = png_bytes(img)

    icons = {}
    for size in (32, 16):
        for scale, suffix in ((1, ""), (2, "@2x")):
            img = draw_icon(size, scale)
            assert img.size == (size * scale, size * scale)
            icons[(size, scale)] = img
            files[f"app{size}{suffix}.png"] = png_bytes(img)
    ico = ico_bytes([icons[(32, 1)], icons[(16, 1)]])
    check = Image.open(io.BytesIO(ico))
    assert sorted(check.info["sizes"]) == [(16, 16), (32, 32)], check.info["sizes"]
    files["app.ico"] = ico

    wav, samples = make_flip()
    flip_stats = check_flip(wav, samples)
    files["flip.wav"] = wav
    return files, transparent, flip_stats


def preview(files, outdir):
    def load(name):
        return Image.open(io.BytesIO(files[name + ".png"])).convert("RGBA")

    for scale, suffix, out in ((1, "", "preview.png"), (2, "@2x", "preview@2x.png")):
        sheet_img = Image.new("RGBA", (420 * scale, 360 * scale), WINDOW_BG + (255,))
        skin = load("skin")
        if scale == 2:
            skin = skin.resize((SKIN_W * 2, SKIN_H * 2), Image.NEAREST)
        # The program's text boxes where they sit on the pages.
        d = ImageDraw.Draw(skin)
        for x, y, w, h in ((32, 8, 129, 195), (192, 9, 137, 197)):
            d.rectangle((x * scale, y * scale, (x + w) * scale - 1, (y + h) * scale - 1), fill=FACE + (255,), outline=INK + (255,))
        for name, (x, y) in (("search", (35 + 6, 96 + 3)), ("search_all", (75 + 6, 96 + 3)), ("lips", (115 + 1, 96 + 5)),
                             ("help", (80, 160)), ("about", (120, 160)), ("close", (32, 184)), ("hide", (48, 184))):
            btn = load(name + suffix)
            skin.alpha_composite(btn, (x * scale, y * scale))
        sheet_img.alpha_composite(skin, (10 * scale, 10 * scale))
        x = 10
        for name in ("search", "search_all", "lips", "help", "about", "close", "hide", "app32", "app16"):
            img = load(name + suffix)
            tile = Image.new("RGBA", (img.width + 8 * scale, img.height + 8 * scale), FACE + (255,))
            tile.alpha_composite(img, (4 * scale, 4 * scale))
            sheet_img.alpha_composite(tile, (x * scale, 250 * scale))
            x += img.width // scale + 14
        x = 10
        for name in ("app32", "app16"):
            img = load(name + suffix)
            sheet_img.alpha_composite(img, (x * scale, 300 * scale))
            dark = Image.new("RGBA", (img.width + 8 * scale, img.height + 8 * scale), (40, 44, 52, 255))
            dark.alpha_composite(img, (4 * scale, 4 * scale))
            sheet_img.alpha_composite(dark, ((x + 40) * scale, 296 * scale))
            x += 90
        sheet_img.convert("RGB").save(os.path.join(outdir, out))


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=HERE, help="folder to write into (default: this script's folder)")
    ap.add_argument("--preview", metavar="DIR", help="also write preview.png and preview@2x.png into DIR")
    args = ap.parse_args(argv)

    files, transparent, (dur, peak_db, mean, rms) = build()
    for name in sorted(files):
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(files[name])
        print(f"{name:20s} {len(files[name]):7d} bytes  {hashlib.sha256(files[name]).hexdigest()[:16]}")
    print(f"skin: {transparent} of {SKIN_W * SKIN_H} pixels transparent")
    print(f"flip.wav: {dur * 1000:.0f} ms, peak {peak_db:.2f} dBFS, mean {mean:.3f}, rms {20 * math.log10(rms / 32768):.1f} dBFS")
    if args.preview:
        preview(files, args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main())
