// The library samples every cubic Bézier piece (glyph outlines, SVG and
// PostScript curves) at the same 11 parameters, t = 0, 0.1, ..., 1, so that
// a curve gives the same points whichever format it came in.
#pragma once

namespace vx {

constexpr int kBezierSteps = 10;

// Calls emit(x, y) for the parameters k / 10, k from `first` to `last`, of
// the piece a, b, c, d.
template <typename Emit>
void sampleCubic(double ax, double ay, double bx, double by, double cx, double cy, double dx, double dy, int first,
                 int last, Emit &&emit)
{
    for (int k = first; k <= last; ++k) {
        const double t = k / double(kBezierSteps), u = 1 - t;
        const double w0 = u * u * u, w1 = 3 * t * u * u, w2 = 3 * t * t * u, w3 = t * t * t;
        emit(w0 * ax + w1 * bx + w2 * cx + w3 * dx, w0 * ay + w1 * by + w2 * cy + w3 * dy);
    }
}

} // namespace vx
