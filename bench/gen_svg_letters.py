#!/usr/bin/python3
"""Writes svg_letters.svg: a sheet of text converted to paths, as a drawing
program saves it (millimetres, a layer transform, relative path data with
implicit repetition). Each letter is an outline and its counter, eight cubic
pieces each, the shapes jittered from a seed: 1,250 letters, 20,000 Bezier
pieces. Synthetic, so that no font package is needed.

Usage: /usr/bin/python3 bench/gen_svg_letters.py [OUT.svg]
"""
import math
import random
import sys

LETTERS = 1250
PER_ROW = 50
PIECES_PER_LOOP = 8
KAPPA = 4 * (math.sqrt(2) - 1) / 3 / 2  # tangent length of a cubic eighth of a circle, per radius


def loop(cx, cy, rx, ry, rng, clockwise, ox=0.0, oy=0.0):
    """A closed path of 8 cubic pieces around (cx, cy), relative to (ox, oy) and
    then to each piece's start; returns the path data and its start."""
    n = PIECES_PER_LOOP
    pts = []
    for i in range(n):
        a = 2 * math.pi * i / n * (-1 if clockwise else 1)
        k = 1 + rng.uniform(-0.12, 0.12)
        pts.append((cx + rx * k * math.cos(a), cy + ry * k * math.sin(a), a))
    step = 2 * math.pi / n * (-1 if clockwise else 1)
    t = math.tan(step / 4) * 4 / 3
    out = ["m %.4f,%.4f c" % (pts[0][0] - ox, pts[0][1] - oy)]
    x0, y0 = pts[0][0], pts[0][1]
    for i in range(n):
        ax, ay, a = pts[i]
        bx, by, b = pts[(i + 1) % n]
        c1 = (ax - t * rx * math.sin(a), ay + t * ry * math.cos(a))
        c2 = (bx + t * rx * math.sin(b), by - t * ry * math.cos(b))
        out.append("%.4f,%.4f %.4f,%.4f %.4f,%.4f" % (c1[0] - x0, c1[1] - y0, c2[0] - x0, c2[1] - y0,
                                                     bx - x0, by - y0))
        x0, y0 = bx, by
    return " ".join(out) + " z", pts[0][0], pts[0][1]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "svg_letters.svg"
    rng = random.Random(7)
    rows = (LETTERS + PER_ROW - 1) // PER_ROW
    width, height = PER_ROW * 6.0 + 10, rows * 9.0 + 10
    with open(out, "w", newline="\n") as f:
        f.write('<?xml version="1.0" encoding="UTF-8" standalone="no"?>\n')
        f.write('<svg width="%gmm" height="%gmm" viewBox="0 0 %g %g" version="1.1" '
                'xmlns="http://www.w3.org/2000/svg" '
                'xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape">\n' % (width, height, width, height))
        f.write('  <title>Planche de lettres</title>\n')
        f.write('  <g inkscape:groupmode="layer" id="layer1" transform="translate(5,-3)">\n')
        for i in range(LETTERS):
            cx = 8 + (i % PER_ROW) * 6.0
            cy = 10 + (i // PER_ROW) * 9.0
            rx, ry = rng.uniform(2.0, 2.6), rng.uniform(3.0, 3.8)
            outer, sx, sy = loop(cx, cy, rx, ry, rng, False)
            inner, _, _ = loop(cx, cy, rx * 0.5, ry * 0.55, rng, True, sx, sy)
            d = outer + " " + inner
            f.write('    <path style="fill:#000000;stroke:none" d="%s" id="path%d" />\n' % (d, i))
        f.write('  </g>\n</svg>\n')


if __name__ == "__main__":
    main()
