// Sequences from and to the read buffer, and their bounds.
#include "sequences/sequence_list.h"

#include <algorithm>
#include <cmath>

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

} // namespace

void SequenceEntry::computeBounds()
{
    if (Points.empty()) {
        MinX = MaxX = MinY = MaxY = Width = Height = 0;
        return;
    }
    MinX = MaxX = Points.front().X;
    MinY = MaxY = Points.front().Y;
    for (const SequencePoint &p : Points) {
        MinX = std::min(MinX, p.X);
        MaxX = std::max(MaxX, p.X);
        MinY = std::min(MinY, p.Y);
        MaxY = std::max(MaxY, p.Y);
    }
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

DrawingExtent extentOf(std::span<const ContourPoint> buffer)
{
    DrawingExtent e;
    if (buffer.empty())
        return e;
    e = {buffer[0].X, buffer[0].X, buffer[0].Y, buffer[0].Y};
    for (const ContourPoint &p : buffer) {
        e.xMin = std::min(e.xMin, p.X);
        e.xMax = std::max(e.xMax, p.X);
        e.yMin = std::min(e.yMin, p.Y);
        e.yMax = std::max(e.yMax, p.Y);
    }
    return e;
}

DrawingExtent extentOf(const SequenceList &list)
{
    DrawingExtent e;
    bool first = true;
    for (const SequenceEntry &s : list) {
        if (s.Points.empty())
            continue;
        if (first) {
            e = {s.MinX, s.MaxX, s.MinY, s.MaxY};
            first = false;
            continue;
        }
        e.xMin = std::min(e.xMin, s.MinX);
        e.xMax = std::max(e.xMax, s.MaxX);
        e.yMin = std::min(e.yMin, s.MinY);
        e.yMax = std::max(e.yMax, s.MaxY);
    }
    return e;
}

} // namespace orv
