// LissageSequence and PtSmooth: a polyline replaced by Hermite curves through
// its points, 11 points a segment.
#include "foundation/export_guard.h"
#include "foundation/vx_array.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

namespace vx {

namespace {

constexpr int kPerSegment = 11;

// Basis weights at t = k / 10, t taken in single precision; the tangent
// weights include the quarter of the central differences.
struct Basis {
    std::array<double, kPerSegment> h00, h01, h10, h11;
    Basis()
    {
        for (int k = 0; k < kPerSegment; ++k) {
            const double t = static_cast<float>(k) / 10.0f;
            const double t2 = t * t, t3 = t2 * t;
            h00[k] = 2 * t3 - 3 * t2 + 1;
            h01[k] = 3 * t2 - 2 * t3;
            h10[k] = (t3 - 2 * t2 + t) / 4;
            h11[k] = (t3 - t2) / 4;
        }
    }
};

template <typename Rec> struct Segment {
    const Rec *p0, *p1;
    double t0x, t0y, t1x, t1y; // tangent differences before the quarter
};

// Writes the 11 points of one segment; each takes the other fields of p0.
template <typename Rec> Rec *emit(Rec *out, const Segment<Rec> &s, const Basis &b)
{
    for (int k = 0; k < kPerSegment; ++k) {
        Rec r = *s.p0;
        r.X = static_cast<float>(b.h00[k] * s.p0->X + b.h01[k] * s.p1->X + b.h10[k] * s.t0x + b.h11[k] * s.t1x);
        r.Y = static_cast<float>(b.h00[k] * s.p0->Y + b.h01[k] * s.p1->Y + b.h10[k] * s.t0y + b.h11[k] * s.t1y);
        *out++ = r;
    }
    return out;
}

template <typename Rec> bool isClosed(const std::vector<Rec> &p)
{
    const float tol = 0.0001f;
    const float dx = p.front().X - p.back().X;
    const float dy = p.front().Y - p.back().Y;
    return std::fabs(dx) < tol && std::fabs(dy) < tol;
}

int64_t smoothedCount(int64_t n, bool closed)
{
    return closed ? kPerSegment * (n - 1) : kPerSegment * (n - 3) + 2;
}

template <typename Rec> void smoothClosed(const std::vector<Rec> &p, Rec *out, const Basis &b)
{
    // The last point repeats the first: the ring holds the n - 1 others.
    const auto m = static_cast<int64_t>(p.size()) - 1;
    auto at = [&](int64_t k) -> const Rec & { return p[static_cast<size_t>(((k % m) + m) % m)]; };
    for (int64_t g = 0; g < m; ++g) {
        const Rec &before = at(g - 1), &a = at(g), &c = at(g + 1), &after = at(g + 2);
        out = emit(out, Segment<Rec>{&a, &c, double(c.X) - before.X, double(c.Y) - before.Y,
                                     double(after.X) - a.X, double(after.Y) - a.Y},
                   b);
    }
}

// The first and last segments stay straight; the ends of the smoothed part
// take one-sided tangents.
template <typename Rec> void smoothOpen(const std::vector<Rec> &p, Rec *out, const Basis &b)
{
    const auto n = static_cast<int64_t>(p.size());
    *out++ = p.front();
    for (int64_t g = 1; g <= n - 3; ++g) {
        const size_t a0 = static_cast<size_t>(g == 1 ? 1 : g + 1), a1 = static_cast<size_t>(g - 1);
        const size_t a3 = static_cast<size_t>(g + 2), a4 = static_cast<size_t>(g == n - 3 ? n - 2 : g);
        const Rec &a = p[static_cast<size_t>(g)], &c = p[static_cast<size_t>(g + 1)];
        out = emit(out, Segment<Rec>{&a, &c, double(p[a0].X) - p[a1].X, double(p[a0].Y) - p[a1].Y,
                                     double(p[a3].X) - p[a4].X, double(p[a3].Y) - p[a4].Y},
                   b);
    }
    *out = p.back();
}

template <typename Rec> int32_t smooth(VxArray **points)
{
    if (!points || !*points)
        return VX_ERR_ARRAY_LOCK;
    const int64_t n = (*points)->count;
    // The result must fit the array's 32-bit count: no working block that
    // large can be made.
    if (n > (std::numeric_limits<int32_t>::max() / kPerSegment) - 2)
        return VX_ERR_MEMORY;
    // The working copy of the input: the resize replaces the caller's data.
    std::vector<Rec> work;
    try {
        work.reserve(static_cast<size_t>(std::max<int64_t>(n, 0)));
    } catch (const std::bad_alloc &) {
        return VX_ERR_MEMORY;
    }
    ArrayLock lock(points, sizeof(Rec));
    if (!lock.ok())
        return lock.result();
    if (n < 3)
        return VX_ERR_TOO_FEW;
    const Rec *in = elements<Rec>(points);
    work.assign(in, in + n);
    lock.release();

    const bool closed = isClosed(work);
    const int64_t count = smoothedCount(n, closed);
    const int resized = resizeArray(points, sizeof(Rec), count);
    if (resized < 0)
        return resized;
    static const Basis basis;
    Rec *out = elements<Rec>(points);
    if (closed)
        smoothClosed(work, out, basis);
    else
        smoothOpen(work, out, basis);
    unlockArray(points);
    return static_cast<int32_t>(count);
}

} // namespace

} // namespace vx

extern "C" {

int32_t LissageSequence(VxArray **points)
{
    return vx::guarded([&] { return vx::smooth<ContourPoint>(points); });
}

int32_t PtSmooth(VxArray **points)
{
    return vx::guarded([&] { return vx::smooth<SequencePoint>(points); });
}

} // extern "C"
