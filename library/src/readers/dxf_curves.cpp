// Curves of a DXF drawing as descriptions and their samples: circles, arcs,
// ellipses, bulge arcs of polylines and B-splines (Cox-de Boor, only the
// basis functions that are not zero at each sample).
#include "readers/dxf_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
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

template <typename ControlAt>
ControlPoint basisSum(const double *t, size_t m, size_t n, ControlAt &&controlAt, size_t order, double u,
                      std::vector<double> &scratch, double &lastBasis)
{
    lastBasis = 0;
    const auto span = std::upper_bound(t, t + m, u) - t - 1;
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
        const ControlPoint c = controlAt(static_cast<size_t>(i));
        x += nb * c.x;
        y += nb * c.y;
    }
    const auto last = static_cast<int64_t>(n) - 1;
    if (last >= lo && last <= s)
        lastBasis = prev[last - lo];
    return {x, y};
}

[[noreturn]] void tooLarge() { throw std::bad_alloc(); }

double absMax(const double *v, size_t n)
{
    double m = 0;
    for (size_t i = 0; i < n; ++i)
        m = std::fabs(v[i]) > m || std::isnan(v[i]) ? std::fabs(v[i]) : m;
    return m;
}

uint32_t narrow(uint64_t v)
{
    if (v >= std::numeric_limits<uint32_t>::max())
        tooLarge();
    return static_cast<uint32_t>(v);
}

} // namespace

const double *unitCircleCos() { return unitCircle().c; }
const double *unitCircleSin() { return unitCircle().s; }

double segmentReach(const Shapes &shapes, const Segment &g)
{
    const double *d = shapes.data.data() + g.data;
    switch (g.kind) {
    case Curve::Points:
        return absMax(d, 2 * size_t(g.count));
    case Curve::Circle:
    case Curve::Arc:
        return std::fabs(d[0]) + std::fabs(d[1]) + std::fabs(d[2]);
    case Curve::Ellipse:
        return std::fabs(d[0]) + std::fabs(d[1]) + std::fabs(d[2]) + std::fabs(d[3]);
    case Curve::Bulge:
        return absMax(d, 6) + std::fabs(d[6]);
    case Curve::Spline: {
        // The basis functions are not negative and sum to one at most: the
        // curve stays within its control points' reach.
        const auto order = static_cast<size_t>(d[0]);
        const auto n = static_cast<size_t>(d[1]);
        return absMax(d + 2 + n + order, 2 * n);
    }
    }
    return std::numeric_limits<double>::quiet_NaN();
}

ControlPoint splinePoint(const double *knots, size_t knotCount, const double *controls, size_t n, size_t order,
                         double u, std::vector<double> &scratch, double &lastBasis)
{
    return basisSum(
        knots, knotCount, n, [&](size_t i) { return ControlPoint{controls[2 * i], controls[2 * i + 1]}; }, order,
        u, scratch, lastBasis);
}

ControlPoint splinePoint(const std::vector<double> &t, const std::vector<ControlPoint> &controls, size_t order,
                         double u, std::vector<double> &scratch, double &lastBasis)
{
    return basisSum(
        t.data(), t.size(), controls.size(), [&](size_t i) { return controls[i]; }, order, u, scratch, lastBasis);
}

bool splineUsable(const std::vector<double> &knots, size_t n, int64_t degree, double &work)
{
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
    return true;
}

namespace {

// Tangent of a clamped end scaled to the whole parameter range: chord-length
// parameters make a unit tangent the derivative along the chord.
bool endDerivative(const ControlPoint *tangent, double length, ControlPoint &d)
{
    if (!tangent)
        return false;
    const double n = std::hypot(tangent->x, tangent->y);
    if (!(n > 0) || !std::isfinite(n))
        return false;
    d = {tangent->x / n * length, tangent->y / n * length};
    return true;
}

// Cubic B-spline basis values N(k), N(k+1), N(k+2) at its simple knot u[s]
// (s = k + 3); N(k+3) is zero there.
void basisAtKnot(const std::vector<double> &u, size_t s, double &left, double &middle, double &right)
{
    left = (u[s + 1] - u[s]) * (u[s + 1] - u[s]) / ((u[s + 1] - u[s - 2]) * (u[s + 1] - u[s - 1]));
    right = (u[s] - u[s - 1]) * (u[s] - u[s - 1]) / ((u[s + 2] - u[s - 1]) * (u[s + 1] - u[s - 1]));
    middle = 1 - left - right;
}

} // namespace

bool fitSpline(const std::vector<ControlPoint> &fits, const ControlPoint *startTangent,
               const ControlPoint *endTangent, std::vector<double> &knots, std::vector<ControlPoint> &controls)
{
    // A point given twice in a row adds no piece.
    std::vector<ControlPoint> q;
    q.reserve(fits.size());
    for (const ControlPoint &f : fits)
        if (q.empty() || f.x != q.back().x || f.y != q.back().y)
            q.push_back(f);
    const size_t n = q.size();
    if (n < 2)
        return false;
    std::vector<double> t(n, 0.0);
    for (size_t i = 1; i < n; ++i)
        t[i] = t[i - 1] + std::hypot(q[i].x - q[i - 1].x, q[i].y - q[i - 1].y);
    const double length = t[n - 1];
    if (!(length > 0) || !std::isfinite(length))
        return false;
    for (double &v : t)
        v /= length;
    t[n - 1] = 1;

    knots.assign(4, 0.0);
    knots.insert(knots.end(), t.begin() + 1, t.end() - 1);
    knots.insert(knots.end(), 4, 1.0);

    // One row per control point: a·P(r-1) + b·P(r) + c·P(r+1) = rhs. Rows 1
    // and m-2 hold the end conditions: the first derivative equal to the
    // tangent, or the second derivative zero (a natural end).
    const size_t m = n + 2;
    std::vector<double> a(m, 0.0), b(m, 1.0), c(m, 0.0);
    std::vector<ControlPoint> rhs(m, ControlPoint{0, 0});
    rhs[0] = q.front();
    rhs[m - 1] = q.back();
    ControlPoint d{};
    const double first = knots[4], second = knots[5];
    if (endDerivative(startTangent, length, d)) {
        a[1] = -1;
        rhs[1] = {first / 3 * d.x, first / 3 * d.y};
    } else {
        a[1] = 1 / first;
        b[1] = -(1 / first + 1 / second);
        c[1] = 1 / second;
    }
    for (size_t k = 1; k + 1 < n; ++k) {
        basisAtKnot(knots, k + 3, a[k + 1], b[k + 1], c[k + 1]);
        rhs[k + 1] = q[k];
    }
    const double last = 1 - knots[m - 1], beforeLast = 1 - knots[m - 2];
    if (endDerivative(endTangent, length, d)) {
        b[m - 2] = -1;
        c[m - 2] = 1;
        rhs[m - 2] = {last / 3 * d.x, last / 3 * d.y};
    } else {
        a[m - 2] = 1 / beforeLast;
        b[m - 2] = -(1 / last + 1 / beforeLast);
        c[m - 2] = 1 / last;
    }

    // The system is tridiagonal and, B-spline collocation being totally
    // positive, needs no pivoting.
    for (size_t r = 1; r < m; ++r) {
        const double w = a[r] / b[r - 1];
        b[r] -= w * c[r - 1];
        rhs[r] = {rhs[r].x - w * rhs[r - 1].x, rhs[r].y - w * rhs[r - 1].y};
    }
    controls.assign(m, ControlPoint{0, 0});
    for (size_t r = m; r-- > 0;) {
        const ControlPoint next = r + 1 < m ? controls[r + 1] : ControlPoint{0, 0};
        controls[r] = {(rhs[r].x - c[r] * next.x) / b[r], (rhs[r].y - c[r] * next.y) / b[r]};
        if (!std::isfinite(controls[r].x) || !std::isfinite(controls[r].y))
            return false;
    }
    // The ends are the fit points themselves, not their rounding.
    controls.front() = q.front();
    controls.back() = q.back();
    return true;
}

void Shapes::begin()
{
    m_samples = 0;
    m_firstSegment = segments.size();
}

void Shapes::discard()
{
    if (segments.size() > m_firstSegment) {
        data.resize(segments[m_firstSegment].data);
        segments.resize(m_firstSegment);
    }
    m_samples = 0;
}

Segment &Shapes::open(Curve kind, uint32_t count, size_t values)
{
    segments.push_back(Segment{narrow(data.size()), count, narrow(m_samples), kind});
    m_samples += count;
    narrow(m_samples);
    data.reserve(data.size() + values);
    return segments.back();
}

void Shapes::point(double x, double y)
{
    // Points that follow each other make one segment.
    if (segments.size() > m_firstSegment && segments.back().kind == Curve::Points &&
        segments.back().data + 2 * size_t(segments.back().count) == data.size()) {
        ++segments.back().count;
        narrow(++m_samples);
    } else {
        open(Curve::Points, 1, 2);
    }
    data.push_back(x);
    data.push_back(y);
}

void Shapes::dropLastPoint()
{
    data.resize(data.size() - 2);
    --m_samples;
    if (--segments.back().count == 0)
        segments.pop_back();
}

void Shapes::circle(double cx, double cy, double r)
{
    open(Curve::Circle, kCurvePoints, 3);
    data.insert(data.end(), {cx, cy, r});
}

void Shapes::arc(double cx, double cy, double r, double start, double end)
{
    if (end < start)
        end += 2 * kPi;
    open(Curve::Arc, kCurvePoints, 5);
    data.insert(data.end(), {cx, cy, r, start, end - start});
}

void Shapes::ellipse(double cx, double cy, double mx, double my, double ratio, double start, double end)
{
    // Parameters run counter-clockwise from the start, like arc angles.
    if (end < start)
        end += 2 * kPi;
    const double a = std::hypot(mx, my);
    const double b = ratio * a;
    const double theta = std::atan2(my, mx);
    open(Curve::Ellipse, kCurvePoints, 8);
    data.insert(data.end(), {cx, cy, a, b, std::cos(theta), std::sin(theta), start, end - start});
}

void Shapes::bulge(double px, double py, double qx, double qy, double bulge)
{
    const double dx = qx - px, dy = qy - py;
    const double chord = std::hypot(dx, dy);
    if (!(chord > 0) || bulge == 0 || !std::isfinite(chord)) {
        point(qx, qy);
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
    open(Curve::Bulge, kCurvePoints, 9);
    data.insert(data.end(), {px, py, qx, qy, cx, cy, r, start, sweep});
}

void Shapes::spline(const std::vector<double> &knots, const std::vector<ControlPoint> &controls, size_t order)
{
    const size_t n = controls.size();
    open(Curve::Spline, narrow(uint64_t(kSplineSamplesPerControlPoint) * n), 2 + knots.size() + 2 * n);
    data.push_back(static_cast<double>(order));
    data.push_back(static_cast<double>(n));
    data.insert(data.end(), knots.begin(), knots.end());
    for (const ControlPoint &c : controls) {
        data.push_back(c.x);
        data.push_back(c.y);
    }
}

int64_t Shapes::end(bool mirrored)
{
    if (m_samples == 0)
        return -1;
    shapes.push_back(Shape{narrow(m_firstSegment), narrow(segments.size() - m_firstSegment),
                           static_cast<uint32_t>(m_samples), mirrored});
    return static_cast<int64_t>(shapes.size() - 1);
}

Sample sampleOf(const Shapes &shapes, const Segment &g, uint32_t i, std::vector<double> &scratch)
{
    const double *d = shapes.data.data() + g.data;
    switch (g.kind) {
    case Curve::Points:
        return {d[2 * size_t(i)], d[2 * size_t(i) + 1]};
    case Curve::Circle: {
        // The last point closes the circle exactly.
        const UnitCircle &u = unitCircle();
        const int k = i == kSteps ? 0 : static_cast<int>(i);
        return {d[0] + d[2] * u.c[k], d[1] + d[2] * u.s[k]};
    }
    case Curve::Arc: {
        const double a = d[3] + static_cast<int>(i) * d[4] / kSteps;
        return {d[0] + d[2] * std::cos(a), d[1] + d[2] * std::sin(a)};
    }
    case Curve::Ellipse: {
        const double t = d[6] + static_cast<int>(i) * d[7] / kSteps;
        const double c = std::cos(t), s = std::sin(t);
        return {d[0] + d[2] * c * d[4] - d[3] * s * d[5], d[1] + d[2] * c * d[5] + d[3] * s * d[4]};
    }
    case Curve::Bulge: {
        if (i == 0)
            return {d[0], d[1]};
        if (i == kSteps)
            return {d[2], d[3]};
        const double a = d[7] + static_cast<int>(i) * d[8] / kSteps;
        return {d[4] + d[6] * std::cos(a), d[5] + d[6] * std::sin(a)};
    }
    case Curve::Spline: {
        const auto order = static_cast<size_t>(d[0]);
        const auto n = static_cast<size_t>(d[1]);
        const double *knots = d + 2;
        const size_t m = n + order;
        const double *controls = knots + m;
        const double steps = static_cast<double>(g.count - 1);
        double u = static_cast<double>(i) * knots[m - 1] / steps;
        if (i + 1 == g.count)
            u -= 0.0001;
        double lastBasis = 0;
        ControlPoint p = splinePoint(knots, m, controls, n, order, u, scratch, lastBasis);
        // Outside the knot range every basis function is 0: the curve starts
        // at its first control point.
        if (p.x == 0 && p.y == 0 && lastBasis == 0)
            p = {controls[0], controls[1]};
        return {p.x, p.y};
    }
    }
    return {0, 0};
}

} // namespace vx::dxf
