#!/usr/bin/env python3
"""Draws the application icon for the desktop's icon theme: hicolor PNGs at 16 to 256 pixels.

The 16- and 32-pixel images are the program's own (the same shapes as app16.png and
app32.png). From 48 pixels up the book is drawn again with what those sizes can show: more
and finer print lines, page edges, a ribbon bookmark and a quill with barbs. Every size is
rasterised from shapes at its own size, never enlarged from a smaller picture.

    /usr/bin/python3 resources/make_icons.py     # writes resources/icons/hicolor/NxN/apps/
"""

import argparse
import hashlib
import io
import os
import sys

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from make_artwork import (COVER, COVER_DARK, ICON_EDGE, PAPER, PAPER_SHADE, TEXT_GREY,  # noqa: E402
                          Pen, bezier, mirror_x, open_book_16, open_book_32, quill)

ICON_NAME = "quillbook"
SIZES = (16, 32, 48, 64, 128, 256)
RIBBON, RIBBON_DARK = (176, 30, 40), (110, 14, 22)


def open_book_large(p):
    """The open book for 48 pixels and up, in the 32-unit grid of the small icon."""
    spine = 16.0
    px = 1.0 / p.scale  # one device pixel in grid units
    cov_left = [(spine, 27.6)] + bezier((spine, 27.6), (11, 25.6), (6, 25.9), (0.7, 27.3), 20)[1:] + \
        [(0.7, 10.4), (4.0, 9.9), (spine, 11.9)]
    p.poly(cov_left + mirror_x(cov_left[::-1], spine), COVER_DARK)
    inner_cover = [(spine, 26.6)] + bezier((spine, 26.6), (11, 24.6), (6, 24.9), (1.6, 26.1), 20)[1:] + \
        [(1.6, 11.4), (spine, 12.9)]
    p.poly(inner_cover + mirror_x(inner_cover[::-1], spine), COVER)

    def page(dy, dx):
        top = bezier((spine, 8.4 + dy), (12.0, 5.2 + dy), (6.5, 4.6 + dy), (2.8 - dx, 6.6 + dy), 24)
        bottom = bezier((2.8 - dx, 23.6 + dy), (7.0, 21.6 + dy), (12.0, 22.4 + dy), (spine, 25.4 + dy), 24)
        return top + bottom

    # The stack of pages under the top one: one edge per device pixel or so, up to five.
    layers = max(2, min(5, round(2.2 * p.scale)))
    for k in range(layers, 0, -1):
        f = k * 2.0 / layers
        lp = page(f * 0.9, f * 0.6)
        p.polys([lp, mirror_x(lp, spine)], ICON_EDGE)
        lp = page(f * 0.9 - 0.45 / layers * 2, f * 0.6 - 0.3 / layers * 2)
        p.polys([lp, mirror_x(lp, spine)], (236, 226, 190))
    left = page(0, 0)
    p.polys([left, mirror_x(left, spine)], ICON_EDGE)
    shrink = page(0, -0.6)
    p.gradient(shrink, [PAPER, PAPER, PAPER_SHADE], "x", 3.0, spine)
    p.gradient(mirror_x(shrink, spine), [PAPER_SHADE, PAPER, PAPER], "x", spine, 29.0)

    # Print lines follow the curl of the page; at least one device pixel thick.
    lines = p.layer()
    rows = 6 if p.scale < 3 else 9
    thick = max(px, 0.55 if p.scale < 3 else 0.42)
    for i in range(rows):
        y = 8.8 + i * (11.6 / (rows - 1))
        curl = 0.9 * (1 - i / (rows - 1))
        short = 2.6 if i in (rows // 2 - 1, rows - 1) else 0.0
        pts = bezier((4.2, y - curl * 0.6), (7.0, y - curl), (11.0, y - curl * 0.4), (13.8 - short, y + 0.5), 16)
        lines.stroke(pts, thick, TEXT_GREY, caps=False)
        lines.stroke(mirror_x(bezier((4.2, y - curl * 0.6), (7.0, y - curl), (11.0, y - curl * 0.4),
                                     (13.8 - (2.0 if i == 1 else short), y + 0.5), 16), spine),
                     thick, TEXT_GREY, caps=False)
    p.composite(lines, clip=shrink)
    p.composite(lines, clip=mirror_x(shrink, spine))
    p.stroke([(spine, 8.6), (spine, 25.6)], max(px, 0.8), (120, 92, 56))

    # A ribbon bookmark from the gutter over the bottom edge, notched at its end.
    w = 1.3
    tail = [(spine - w / 2, 24.8), (spine + w / 2, 25.2), (spine + w / 2 + 0.4, 30.6),
            (spine + 0.2, 29.6), (spine - w / 2 + 0.2, 30.8)]
    p.poly(tail, RIBBON)
    p.stroke([(spine + w / 2, 25.2), (spine + w / 2 + 0.4, 30.6)], max(px, 0.35), RIBBON_DARK, caps=False)


def draw(size):
    if size == 16:
        p = Pen(16, 16, 1)
        open_book_16(p)
        quill(p, (9.3, 11.6), (15.4, 0.6), 2.2, False)
    elif size == 32:
        p = Pen(32, 32, 1)
        open_book_32(p)
        quill(p, (17.5, 24.0), (30.6, 1.2), 3.6, True)
    else:
        p = Pen(32, 32, size / 32)
        open_book_large(p)
        quill(p, (17.5, 24.0), (30.6, 1.2), 3.8, True)
    img = p.result()
    assert img.size == (size, size), (size, img.size)
    return img


def check(img, size):
    """The theme shows icons on any background: corners clear, the middle opaque."""
    alpha = img.getchannel("A")
    assert alpha.getpixel((0, 0)) == 0, f"{size}: the top-left corner is drawn"
    covered = sum(1 for a in alpha.getdata() if a > 0) / (size * size)
    assert 0.45 < covered < 0.9, f"{size}: {covered:.0%} of the square covered"
    assert alpha.getpixel((size // 4, size // 2)) == 255, f"{size}: the left page is not opaque"


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(HERE, "icons"), help="folder that gets hicolor/")
    args = ap.parse_args(argv)
    for size in SIZES:
        img = draw(size)
        check(img, size)
        buf = io.BytesIO()
        img.save(buf, "PNG")
        folder = os.path.join(args.out, "hicolor", f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, ICON_NAME + ".png"), "wb") as f:
            f.write(buf.getvalue())
        print(f"{size:3d}x{size:<3d} {len(buf.getvalue()):6d} bytes  {hashlib.sha256(buf.getvalue()).hexdigest()[:16]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
