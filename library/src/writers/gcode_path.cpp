// Machine checks, kerf offsets and the projection of the wire onto the towers.
#include "writers/gcode_path.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vx {

namespace {

constexpr double kMiterLimit = 4.0;
// Below this a feed makes inverse-time F values too small to write; the
// upper bounds keep every number short and far from overflow.
constexpr float kMinFeed = 0.001f;
constexpr float kMaxFeed = 100000;
constexpr float kMaxHeat = 100000;
constexpr float kMaxDwell = 3600;
constexpr float kMaxTowers = 100000;
constexpr int kMaxDecimals = 6;

bool finite(float v) { return std::isfinite(v); }

bool knownAxes(const char (&axes)[8])
{
    if (!std::memchr(axes, '\0', sizeof axes))
        return false;
    return std::strcmp(axes, "XYUV") == 0 || std::strcmp(axes, "XYZA") == 0;
}

bool validValues(const VxMachine &m)
{
    for (float v : {m.towers, m.rootPos, m.span, m.feed, m.kerfRoot, m.kerfTip, m.heat, m.dwell})
        if (!finite(v))
            return false;
    for (int a = 0; a < 4; ++a) {
        const float lo = m.limits[2 * a], hi = m.limits[2 * a + 1];
        if (!finite(lo) || !finite(hi) || lo > hi)
            return false;
    }
    return m.feed >= kMinFeed && m.feed <= kMaxFeed && m.heat >= 0 && m.heat <= kMaxHeat && m.dwell >= 0 &&
           m.dwell <= kMaxDwell && m.towers <= kMaxTowers && (m.rootSide == 0 || m.rootSide == 1) &&
           (m.approach == 0 || m.approach == 1) && m.decimals >= 0 && m.decimals <= kMaxDecimals &&
           knownAxes(m.axes);
}

Vec2 rightOf(Vec2 d) { return {d.y, -d.x}; }

bool isZero(Vec2 d) { return d.x == 0 && d.y == 0; }

// The unit direction from a to b; zero when they are the same point.
Vec2 unit(Vec2 a, Vec2 b)
{
    const Vec2 d{b.x - a.x, b.y - a.y};
    const double length = std::sqrt(d.x * d.x + d.y * d.y);
    return length > 0 ? Vec2{d.x / length, d.y / length} : Vec2{};
}

// The offset of a point for a kerf of 1, from the unit directions of the
// segments that arrive at it and leave it (zero when there is none).
Vec2 miter(Vec2 in, Vec2 out)
{
    if (isZero(in) && isZero(out))
        return {};
    if (isZero(in))
        return rightOf(out);
    if (isZero(out))
        return rightOf(in);
    const Vec2 a = rightOf(in), b = rightOf(out);
    const double c = a.x * b.x + a.y * b.y;
    const Vec2 sum{a.x + b.x, a.y + b.y};
    const double sumLength = std::sqrt(sum.x * sum.x + sum.y * sum.y);
    // The path turns straight back: the two offset lines meet nowhere, so
    // the point goes ahead by the cap, around the turn.
    if (sumLength < 1e-12)
        return {in.x * kMiterLimit, in.y * kMiterLimit};
    // The miter's length is 1 / cos(half the turn) = sqrt(2 / (1 + c)).
    const double length = std::min(std::sqrt(2.0 / (1.0 + c)), kMiterLimit);
    return {sum.x / sumLength * length, sum.y / sumLength * length};
}

} // namespace

int checkMachine(const VxMachine *machine)
{
    if (!machine || machine->size < static_cast<int32_t>(sizeof(VxMachine)) || !validValues(*machine))
        return VX_ERR_GCODE_MACHINE;
    const VxMachine &m = *machine;
    if (m.towers <= 0 || m.span <= 0)
        return VX_ERR_GCODE_SPAN;
    if (m.rootPos < 0 || static_cast<double>(m.rootPos) + m.span > m.towers)
        return VX_ERR_GCODE_FACE;
    return 0;
}

void offsetFace(std::vector<Vec2> &face, double kerf)
{
    const size_t n = face.size();
    if (kerf == 0 || n < 2)
        return;
    // One pass: the segments ahead of a point still have their original
    // ends; the one behind it is remembered before the point moves.
    size_t ahead = 0; // the first segment of non-zero length from the current point on
    Vec2 leaving, arriving;
    auto seek = [&](size_t from) {
        leaving = {};
        for (ahead = from; ahead + 1 < n; ++ahead)
            if (leaving = unit(face[ahead], face[ahead + 1]); !isZero(leaving))
                return;
    };
    seek(0);
    Vec2 previous = face[0];
    for (size_t i = 0; i < n; ++i) {
        const Vec2 here = face[i];
        if (i > 0)
            if (const Vec2 d = unit(previous, here); !isZero(d))
                arriving = d;
        if (i > ahead)
            seek(i);
        const Vec2 m = miter(arriving, leaving);
        face[i].x += m.x * kerf;
        face[i].y += m.y * kerf;
        previous = here;
    }
}

TowerProjection::TowerProjection(const VxMachine &machine)
{
    // Positions along the wire, from the first tower's plane.
    const double towers = machine.towers, span = machine.span;
    const double rootZ = machine.rootSide == 0 ? machine.rootPos : towers - machine.rootPos;
    const double tipZ = machine.rootSide == 0 ? rootZ + span : rootZ - span;
    m_atFirst = (0.0 - rootZ) / (tipZ - rootZ);
    m_atSecond = (towers - rootZ) / (tipZ - rootZ);
}

} // namespace vx
