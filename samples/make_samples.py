#!/usr/bin/python3
"""Writes the bundled samples from first principles (Debian python3 + python3-ezdxf):

  naca2412.dat   NACA 2412 airfoil, Selig order, 61 points, from the 4-digit formula
  naca0012.dat   NACA 0012 (symmetric), 61 points
  nervure.dxf    a 200 mm wing rib: airfoil outline as LINEs, two lightening holes
                 (CIRCLEs) and a spar hole made of ARCs and LINEs (R12)
  nervure.svg    the same rib as an SVG drawing in millimetres: the outline as a path,
                 the holes as circles, the spar hole as a path of arcs, in a layer
                 whose transform turns Y up
  nervure_allegee.dxf
                 a 250 mm NACA 4415 rib for the sequence window: the outline as one
                 LWPOLYLINE, three lightening holes (CIRCLEs) and a rectangular spar
                 slot (LWPOLYLINE), six contours in all (R2000)

Usage: /usr/bin/python3 samples/make_samples.py [OUTDIR]
"""
import math
import os
import sys


def naca4(code, n=30):
    m = int(code[0]) / 100.0
    p = int(code[1]) / 10.0
    t = int(code[2:]) / 100.0
    # Cosine spacing, closed trailing edge.
    xs = [0.5 * (1 - math.cos(math.pi * i / n)) for i in range(n + 1)]

    def thickness(x):
        return 5 * t * (0.2969 * math.sqrt(x) - 0.1260 * x - 0.3516 * x ** 2
                        + 0.2843 * x ** 3 - 0.1036 * x ** 4)

    def camber(x):
        if m == 0:
            return 0.0, 0.0
        if x < p:
            return m / p ** 2 * (2 * p * x - x * x), 2 * m / p ** 2 * (p - x)
        return (m / (1 - p) ** 2 * ((1 - 2 * p) + 2 * p * x - x * x),
                2 * m / (1 - p) ** 2 * (p - x))

    upper, lower = [], []
    for x in xs:
        yt = thickness(x)
        yc, dy = camber(x)
        th = math.atan(dy)
        upper.append((x - yt * math.sin(th), yc + yt * math.cos(th)))
        lower.append((x + yt * math.sin(th), yc - yt * math.cos(th)))
    upper[-1] = lower[-1] = (1.0, 0.0)
    return list(reversed(upper)) + lower[1:]


def write_dat(path, title, pts):
    with open(path, "w", newline="\n") as f:
        f.write(title + "\n")
        for x, y in pts:
            f.write("%.6f %.6f\n" % (x, y))


def write_rib(path):
    import ezdxf
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    chord = 200.0
    pts = [(x * chord, y * chord) for x, y in naca4("2412", 40)]
    for a, b in zip(pts, pts[1:]):
        msp.add_line(a, b)
    msp.add_circle((60.0, 3.0), 5.0)
    msp.add_circle((120.0, 3.0), 3.5)
    # Spar hole: a slot of two half circles joined by two lines.
    cx0, cx1, cy, r = 34.0, 44.0, 4.0, 3.0
    msp.add_arc((cx1, cy), r, 270, 90)
    msp.add_line((cx1, cy + r), (cx0, cy + r))
    msp.add_arc((cx0, cy), r, 90, 270)
    msp.add_line((cx0, cy - r), (cx1, cy - r))
    msp.add_text("Nervure NACA 2412", dxfattribs={"height": 4, "insert": (0, -20)})
    doc.saveas(path)


def write_rib_svg(path):
    chord = 200.0
    pts = [(x * chord, y * chord) for x, y in naca4("2412", 40)]
    outline = "M " + " L ".join("%.4f,%.4f" % p for p in pts) + " Z"
    with open(path, "w", newline="\n") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="220mm" height="60mm" '
                'viewBox="0 0 220 60">\n')
        f.write('  <title>Nervure NACA 2412</title>\n')
        f.write('  <g id="nervure" transform="translate(10,40) scale(1,-1)" fill="none" stroke="black">\n')
        f.write('    <path d="%s"/>\n' % outline)
        f.write('    <circle cx="60" cy="3" r="5"/>\n')
        f.write('    <circle cx="120" cy="3" r="3.5"/>\n')
        f.write('    <path d="M 44,1 A 3,3 0 0 1 44,7 H 34 A 3,3 0 0 1 34,1 Z"/>\n')
        f.write('  </g>\n</svg>\n')


def write_lightened_rib(path):
    import ezdxf
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    chord = 250.0
    outline = [(x * chord, y * chord) for x, y in naca4("4415", 50)]
    msp.add_lwpolyline(outline, close=False)
    # Holes centred on the camber line, each a little under the local thickness.
    for x, r in ((0.30, 9.0), (0.50, 8.0), (0.68, 5.5)):
        msp.add_circle((x * chord, camber_at("4415", x) * chord), r)
    # Spar slot 8 x 12 mm at 22 % of the chord.
    sx, sy = 0.22 * chord, camber_at("4415", 0.22) * chord
    msp.add_lwpolyline([(sx - 4, sy - 6), (sx + 4, sy - 6), (sx + 4, sy + 6), (sx - 4, sy + 6)], close=True)
    # A small alignment notch near the trailing edge, open on purpose: the
    # sequence window leaves its entry point alone.
    msp.add_lwpolyline([(0.86 * chord, 2.0), (0.88 * chord, 4.0), (0.90 * chord, 2.0)])
    doc.saveas(path)


def camber_at(code, x):
    m = int(code[0]) / 100.0
    p = int(code[1]) / 10.0
    if m == 0:
        return 0.0
    if x < p:
        return m / p ** 2 * (2 * p * x - x * x)
    return m / (1 - p) ** 2 * ((1 - 2 * p) + 2 * p * x - x * x)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write_dat(os.path.join(out, "naca2412.dat"), "NACA 2412", naca4("2412"))
    write_dat(os.path.join(out, "naca0012.dat"), "NACA 0012", naca4("0012"))
    write_rib(os.path.join(out, "nervure.dxf"))
    write_rib_svg(os.path.join(out, "nervure.svg"))
    write_lightened_rib(os.path.join(out, "nervure_allegee.dxf"))


if __name__ == "__main__":
    main()
