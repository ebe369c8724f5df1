// Curves of a DXF drawing replaced by points: circles, arcs, ellipses, bulge
// arcs of polylines and B-splines (Cox-de Boor, only the basis functions that
// are not zero at each sample).
#include "dxf_reader.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vx::dxf {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kSteps = kCurvePoints - 1;

// cos and sin of 2π·i/100: every circle uses the same angles.
struct UnitCircle {
    double c[kCurvePoints];
    double s[kCurvePoints];
    UnitCircle()
    {
        for (int i = 0; i < kCurvePoints; ++i) {
            const double a = 2 * kPi * i / kSteps;
            c[i] = std::cos(a);
            s[i] = std::sin(a);
        }
    }
};

const UnitCircle &unitCircle()
{
    static const UnitCircle circle;
    return circle;
}

void push(PointList &out, double x, double y, int32_t contour) { out.push_back(Node{x, y, contour, 0}); }

} // namespace

void appendCircle(PointList &out, double cx, double cy, double r, int32_t contour)
{
    const UnitCircle &u = unitCircle();
    for (int i = 0; i < kSteps; ++i)
        push(out, cx + r * u.c[i], cy + r * u.s[i], contour);
    // The last point closes the circle exactly.
    push(out, cx + r * u.c[0], cy + r * u.s[0], contour);
}

void appendArc(PointList &out, double cx, double cy, double r, double start, double end, int32_t contour)
{
    if (end < start)
        end += 2 * kPi;
    const double sweep = end - start;
    for (int i = 0; i < kCurvePoints; ++i) {
        const double a = start + i * sweep / kSteps;
        push(out, cx + r * std::cos(a), cy + r * std::sin(a), contour);
    }
}

void appendEllipse(PointList &out, double cx, double cy, double mx, double my, double ratio, double start,
                   double end, int32_t contour)
{
    // Parameters run counter-clockwise from the start, like arc angles.
    if (end < start)
        end += 2 * kPi;
    const double a = std::hypot(mx, my);
    const double b = ratio * a;
    const double theta = std::atan2(my, mx);
    const double ct = std::cos(theta), st = std::sin(theta);
    const double sweep = end - start;
    for (int i = 0; i < kCurvePoints; ++i) {
        const double t = start + i * sweep / kSteps;
        const double c = std::cos(t), s = std::sin(t);
        push(out, cx + a * c * ct - b * s * st, cy + a * c * st + b * s * ct, contour);
    }
}

void appendBulgeArc(PointList &out, double px, double py, double qx, double qy, double bulge, int32_t contour)
{
    const double dx = qx - px, dy = qy - py;
    const double chord = std::hypot(dx, dy);
    if (!(chord > 0) || bulge == 0 || !std::isfinite(chord)) {
        push(out, qx, qy, contour);
        return;
    }
    // The centre lies on the bisector of PQ, h·(1/b - b)/2 to the left of its
    // middle (b > 0 turns counter-clockwise); the included angle is 4·atan(b).
    const double h = chord / 2;
    const double toCentre = h * (1 / bulge - bulge) / 2;
    const double cx = px + dx / 2 - dy / chord * toCentre;
    const double cy = py + dy / 2 + dx / chord * toCentre;
    const double r = std::hypot(h, toCentre);
    const double start = std::atan2(py - cy, px - cx);
    const double sweep = 4 * std::atan(bulge);
    push(out, px, py, contour);
    for (int i = 1; i < kSteps; ++i) {
        const double a = start + i * sweep / kSteps;
        push(out, cx + r * std::cos(a), cy + r * std::sin(a), contour);
    }
    push(out, qx, qy, contour);
}

namespace {

// Knots must not decrease, and must stay where every Cox-de Boor coefficient
// is a finite number, so that the basis functions that are zero at a sample
// contribute exactly nothing to it.
bool usableKnots(const std::vector<double> &knots)
{
    constexpr double kLargest = 1e100;
    constexpr double kFinest = 1e-200;
    for (size_t i = 0; i < knots.size(); ++i) {
        if (!(std::fabs(knots[i]) <= kLargest))
            return false;
        if (i == 0)
            continue;
        const double d = knots[i] - knots[i - 1];
        if (d < 0 || (d > 0 && d < kFinest))
            return false;
    }
    return true;
}

} // namespace

ControlPoint splinePoint(const std::vector<double> &t, const std::vector<ControlPoint> &controls, size_t order,
                         double u, std::vector<double> &scratch, double &lastBasis)
{
    lastBasis = 0;
    const size_t m = t.size();
    const size_t n = controls.size();
    const auto span = std::upper_bound(t.begin(), t.end(), u) - t.begin() - 1;
    if (span < 0 || static_cast<size_t>(span) + 1 >= m)
        return {0, 0}; // outside [first knot, last knot): every basis function is 0
    const auto s = static_cast<int64_t>(span);
    if (scratch.size() < 2 * order)
        scratch.resize(2 * order);
    double *prev = scratch.data();
    double *cur = scratch.data() + order;
    prev[0] = 1; // order 1: only N(s) is 1
    for (size_t k = 2; k <= order; ++k) {
        // Order k: N(i) for i = s-k+1 .. s; entry j is i = lo + j.
        const int64_t lo = s - static_cast<int64_t>(k) + 1;
        const auto kk = static_cast<int64_t>(k);
        for (int64_t j = 0; j < kk; ++j) {
            const int64_t i = lo + j;
            if (i < 0 || i > static_cast<int64_t>(m) - 1 - kk) {
                cur[j] = 0;
                continue;
            }
            // N(i, k-1) is zero for j = 0 and N(i+1, k-1) for j = k-1:
            // their terms add nothing.
            const auto ui = static_cast<size_t>(i);
            const double d1 = t[ui + k - 1] - t[ui];
            const double d2 = t[ui + k] - t[ui + 1];
            const double a = (j >= 1 && d1 > 0) ? (u - t[ui]) / d1 * prev[j - 1] : 0.0;
            const double b = (j <= kk - 2 && d2 > 0) ? (t[ui + k] - u) / d2 * prev[j] : 0.0;
            cur[j] = a + b;
        }
        std::swap(prev, cur);
    }
    const int64_t lo = s - static_cast<int64_t>(order) + 1;
    double x = 0, y = 0;
    const int64_t from = std::max<int64_t>(lo, 0);
    const int64_t to = std::min<int64_t>(s, static_cast<int64_t>(n) - 1);
    for (int64_t i = from; i <= to; ++i) {
        const double nb = prev[i - lo];
        x += nb * controls[static_cast<size_t>(i)].x;
        y += nb * controls[static_cast<size_t>(i)].y;
    }
    const auto last = static_cast<int64_t>(n) - 1;
    if (last >= lo && last <= s)
        lastBasis = prev[last - lo];
    return {x, y};
}

bool appendSpline(PointList &out, const std::vector<double> &knots, const std::vector<ControlPoint> &controls,
                  int64_t degree, int32_t contour, double &work)
{
    const size_t n = controls.size();
    if (n == 0 || degree < 0 || static_cast<uint64_t>(degree) >= knots.size())
        return false;
    const auto order = static_cast<size_t>(degree) + 1;
    if (knots.size() != n + order || !usableKnots(knots))
        return false;
    const size_t samples = kSplineSamplesPerControlPoint * n;
    const double cost = static_cast<double>(samples) * static_cast<double>(order) * static_cast<double>(order);
    if (cost > work)
        return false;
    work -= cost;

    std::vector<double> scratch;
    const double lastKnot = knots.back();
    const double steps = static_cast<double>(samples - 1);
    for (size_t j = 0; j < samples; ++j) {
        double u = static_cast<double>(j) * lastKnot / steps;
        if (j + 1 == samples)
            u -= 0.0001;
        double lastBasis = 0;
        ControlPoint p = splinePoint(knots, controls, order, u, scratch, lastBasis);
        // Outside the knot range every basis function is 0: the curve starts
        // at its first control point.
        if (p.x == 0 && p.y == 0 && lastBasis == 0)
            p = controls.front();
        push(out, p.x, p.y, contour);
    }
    push(out, controls.back().x, controls.back().y, contour);
    return true;
}

} // namespace vx::dxf
