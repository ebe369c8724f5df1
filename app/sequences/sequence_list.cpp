// Sequences from and to the read buffer, and their bounds.
#include "sequences/sequence_list.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace orv {

namespace {

// Tags compare by the low byte of each character, the first one first.
int tagKey(const ContourPoint &p)
{
    return (p.Tag[0] & 0xFF) << 8 | (p.Tag[1] & 0xFF);
}

SequencePoint pointOf(const ContourPoint &c)
{
    return {c.X, c.Y, 0, 0};
}

// From the first point, widened by every other.
template <typename Point> DrawingExtent extentOfPoints(std::span<const Point> points)
{
    if (points.empty())
        return {};
    DrawingExtent e{points[0].X, points[0].X, points[0].Y, points[0].Y};
    for (const Point &p : points)
        e = united(e, {p.X, p.X, p.Y, p.Y});
    return e;
}

} // namespace

void SequenceEntry::computeBounds()
{
    const DrawingExtent e = extentOfPoints(std::span<const SequencePoint>(Points));
    MinX = e.xMin;
    MaxX = e.xMax;
    MinY = e.yMin;
    MaxY = e.yMax;
    Width = std::abs(MaxX - MinX);
    Height = std::abs(MaxY - MinY);
}

bool SequenceEntry::isClosed() const
{
    if (Points.empty())
        return false;
    const SequencePoint &a = Points.front(), &b = Points.back();
    return std::abs(a.X - b.X) < 0.001f && std::abs(a.Y - b.Y) < 0.001f;
}

SequenceList sequencesFromBuffer(std::span<const ContourPoint> buffer)
{
    SequenceList list;
    if (buffer.empty())
        return list;
    const bool several = tagKey(buffer.back()) > tagKey(buffer.front());
    for (size_t i = 0; i < buffer.size(); ++i) {
        if (list.empty() || (several && tagKey(buffer[i]) != tagKey(buffer[i - 1])))
            list.emplace_back();
        list.back().Points.push_back(pointOf(buffer[i]));
    }
    for (SequenceEntry &s : list)
        s.computeBounds();
    return list;
}

std::vector<ContourPoint> bufferFromSequences(const SequenceList &list)
{
    std::vector<ContourPoint> out;
    size_t n = 0;
    for (const SequenceEntry &s : list)
        n += s.Points.size();
    out.reserve(n);
    for (const SequenceEntry &s : list)
        for (const SequencePoint &p : s.Points)
            out.push_back(ContourPoint{p.X, p.Y, {0, 0}, {0, 0}});
    return out;
}

DrawingExtent united(const DrawingExtent &a, const DrawingExtent &b)
{
    return {std::min(a.xMin, b.xMin), std::max(a.xMax, b.xMax), std::min(a.yMin, b.yMin),
            std::max(a.yMax, b.yMax)};
}

DrawingExtent extentOf(std::span<const ContourPoint> buffer)
{
    return extentOfPoints(buffer);
}

DrawingExtent extentOf(const SequenceList &list)
{
    std::optional<DrawingExtent> e;
    for (const SequenceEntry &s : list) {
        const DrawingExtent box{s.MinX, s.MaxX, s.MinY, s.MaxY};
        if (!s.Points.empty())
            e = e ? united(*e, box) : box;
    }
    return e.value_or(DrawingExtent{});
}

} // namespace orv
