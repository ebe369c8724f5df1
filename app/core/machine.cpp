// Carriage paths, axis limits and cut estimate of the hot-wire machine.
#include "core/machine.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orv {

VxMachine toVxMachine(const MachineSettings &m, float span)
{
    VxMachine v{};
    v.size = int32_t(sizeof(VxMachine));
    v.towers = m.towers;
    v.rootPos = m.rootPos;
    v.span = span;
    v.feed = m.feed;
    v.kerfRoot = m.kerfRoot;
    v.kerfTip = m.kerfTip;
    v.heat = m.heat;
    v.dwell = m.dwell;
    v.rootSide = m.rootSide;
    v.approach = m.approach ? 1 : 0;
    v.decimals = m.decimals;
    std::strncpy(v.axes, m.axes.c_str(), sizeof(v.axes) - 1);
    std::copy(m.limits.begin(), m.limits.end(), v.limits);
    return v;
}

TowerPlanes towerPlanes(const MachineSettings &m)
{
    // The tip lies away from the tower the root is measured from.
    const double nearRoot = -double(m.rootPos);
    const double farFromRoot = double(m.towers) - m.rootPos;
    return m.rootSide == 1 ? TowerPlanes{farFromRoot, nearRoot} : TowerPlanes{nearRoot, farFromRoot};
}

namespace {

// f(i, root point i, tip point i) for i from 1 to n, n at most both counts.
template <typename F> void forEachPair(const Profils &doc, int32_t n, F &&f)
{
    // Both lists are chunked, not necessarily alike: the tip is read flat.
    const std::vector<PointProfil> tip = doc.PointsS.toVector();
    doc.PointsE.forEachRun([&](int32_t first, std::span<const PointProfil> run) {
        for (size_t k = 0; k < run.size() && first + int32_t(k) <= n; ++k)
            f(first + int32_t(k), run[k], tip[size_t(first + int32_t(k) - 1)]);
    });
}

} // namespace

void computeCarriagePaths(const Profils &doc, const MachineSettings &m, CarriagePaths &out)
{
    const int32_t n = doc.NbPointsE();
    const double span = doc.Ecartement;
    out.planes = towerPlanes(m);
    if (n != doc.NbPointsS() || !(span > 0) || !std::isfinite(span)) {
        out.first.clear();
        out.second.clear();
        return;
    }
    out.first.resize(size_t(n));
    out.second.resize(size_t(n));
    const double t1 = out.planes.first / span, t2 = out.planes.second / span;
    forEachPair(doc, n, [&](int32_t i, const PointProfil &r, const PointProfil &t) {
        const double dx = double(t.X) - r.X, dy = double(t.Y) - r.Y;
        out.first[size_t(i - 1)] = {float(r.X + dx * t1), float(r.Y + dy * t1)};
        out.second[size_t(i - 1)] = {float(r.X + dx * t2), float(r.Y + dy * t2)};
    });
}

CarriagePaths carriagePaths(const Profils &doc, const MachineSettings &m)
{
    CarriagePaths paths;
    computeCarriagePaths(doc, m, paths);
    return paths;
}

bool axisLimited(const MachineSettings &m, int axis)
{
    return !(m.limits[size_t(2 * axis)] == 0 && m.limits[size_t(2 * axis + 1)] == 0);
}

bool anyAxisLimited(const MachineSettings &m)
{
    return axisLimited(m, 0) || axisLimited(m, 1) || axisLimited(m, 2) || axisLimited(m, 3);
}

std::optional<LimitBreach> firstLimitBreach(const CarriagePaths &paths, const MachineSettings &m)
{
    auto limited = [&](int axis) { return axisLimited(m, axis); };
    if (!anyAxisLimited(m))
        return std::nullopt;
    // The approach starts from the origin and passes through 0 on each axis.
    for (int axis = 0; m.approach && axis < 4; ++axis) {
        const float lo = m.limits[size_t(2 * axis)], hi = m.limits[size_t(2 * axis + 1)];
        if (limited(axis) && !(0 >= lo && 0 <= hi))
            return LimitBreach{axis, 0, 0, lo, hi};
    }
    for (size_t i = 0; i < paths.first.size(); ++i) {
        const float values[4] = {paths.first[i].x, paths.first[i].y, paths.second[i].x, paths.second[i].y};
        for (int axis = 0; axis < 4; ++axis) {
            if (!limited(axis))
                continue;
            const float lo = m.limits[size_t(2 * axis)], hi = m.limits[size_t(2 * axis + 1)];
            if (!(values[axis] >= lo && values[axis] <= hi))
                return LimitBreach{axis, int32_t(i + 1), values[axis], lo, hi};
        }
    }
    return std::nullopt;
}

CutEstimate estimateCut(const Profils &doc, const MachineSettings &m)
{
    CutEstimate e;
    const int32_t n = std::min(doc.NbPointsE(), doc.NbPointsS());
    double slowest = 0;
    PointProfil r0, t0;
    forEachPair(doc, n, [&](int32_t i, const PointProfil &r, const PointProfil &t) {
        if (i > 1) {
            const double dr = std::hypot(double(r.X) - r0.X, double(r.Y) - r0.Y);
            const double dt = std::hypot(double(t.X) - t0.X, double(t.Y) - t0.Y);
            e.rootLength += dr;
            e.tipLength += dt;
            slowest += std::max(dr, dt);
        }
        r0 = r;
        t0 = t;
    });
    const double span = doc.Ecartement;
    if (m.approach && n >= 1 && doc.NbPointsE() == doc.NbPointsS() && span > 0) {
        // From the origin up to the first point's heights, across to it; back
        // across to 0 and down, the faster carriage at the feed.
        const TowerPlanes planes = towerPlanes(m);
        auto carriages = [&](const PointProfil &r, const PointProfil &t, bool height) {
            const double a = height ? r.Y : r.X, d = (height ? t.Y : t.X) - a;
            return std::max(std::fabs(a + d * planes.first / span), std::fabs(a + d * planes.second / span));
        };
        const PointProfil &r1 = doc.PointsE[1], &t1 = doc.PointsS[1], &rn = doc.PointsE[n], &tn = doc.PointsS[n];
        slowest += carriages(r1, t1, true) + carriages(r1, t1, false) + carriages(rn, tn, false) +
                   carriages(rn, tn, true);
    }
    e.seconds = (m.feed > 0 ? slowest / m.feed * 60 : 0) + (m.heat > 0 ? std::max(0.0f, m.dwell) : 0);
    return e;
}

} // namespace orv
