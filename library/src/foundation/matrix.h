// The plane's affine maps as SVG and PostScript write them.
#pragma once

namespace vx {

// x' = a·x + c·y + e, y' = b·x + d·y + f, the six values in that order.
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    double x(double px, double py) const { return a * px + c * py + e; }
    double y(double px, double py) const { return b * px + d * py + f; }
    static Matrix translate(double tx, double ty) { return {1, 0, 0, 1, tx, ty}; }
    static Matrix scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
};

// The map that applies `inner` first, then `outer`.
inline Matrix operator*(const Matrix &outer, const Matrix &inner)
{
    const Matrix &m = outer, &n = inner;
    return {m.a * n.a + m.c * n.b,       m.b * n.a + m.d * n.b,       m.a * n.c + m.c * n.d,
            m.b * n.c + m.d * n.d,       m.a * n.e + m.c * n.f + m.e, m.b * n.e + m.d * n.f + m.f};
}

} // namespace vx
