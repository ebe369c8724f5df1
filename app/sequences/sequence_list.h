// The sequences of a drawing: one record per contour with its points and its
// bounds, built from the read buffer and turned back into it once assembled.
#pragma once

#include <vextra.h>

#include <cstdint>
#include <span>
#include <vector>

// Field by field, for snapshots and tests (found by argument lookup).
inline bool operator==(const SequencePoint &a, const SequencePoint &b)
{
    return a.X == b.X && a.Y == b.Y && a.Mark == b.Mark && a.Sequence == b.Sequence;
}

namespace orv {

// Values of SequenceEntry::Selected.
inline constexpr int16_t kSequenceFree = 0;
inline constexpr int16_t kSequenceSelected = 1;
inline constexpr int16_t kLinkingPoint = 2; // a one-point sequence made between two neighbours

struct DrawingExtent {
    float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    friend bool operator==(const DrawingExtent &, const DrawingExtent &) = default;
};

struct SequenceEntry {
    std::vector<SequencePoint> Points; // the first point is point 1 of the window
    float MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    float Width = 0, Height = 0;
    int16_t Selected = kSequenceFree;
    int16_t Spare = 0; // carried along, without a meaning

    int32_t PointCount() const { return int32_t(Points.size()); }
    bool isSelected() const { return Selected == kSequenceSelected; }
    // Bounds from the first point, widened by every other; then the size.
    void computeBounds();
    // First and last points within 0.001 in X and in Y.
    bool isClosed() const;
    friend bool operator==(const SequenceEntry &, const SequenceEntry &) = default;
};

using SequenceList = std::vector<SequenceEntry>;

// The sequences of a read buffer: one holding everything when the last
// record's Tag is not greater than the first's, else one per change of Tag.
SequenceList sequencesFromBuffer(std::span<const ContourPoint> buffer);

// One record per point of every sequence in list order, and the bounds of
// those records. Pen and Tag stay empty: the assembly is one contour.
std::vector<ContourPoint> bufferFromSequences(const SequenceList &list);
DrawingExtent extentOf(std::span<const ContourPoint> buffer);
// The box around both.
DrawingExtent united(const DrawingExtent &a, const DrawingExtent &b);
// The box around every sequence of a list (all zero for an empty list).
DrawingExtent extentOf(const SequenceList &list);

} // namespace orv
