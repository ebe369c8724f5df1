// The last steps of a read: bounds, repeated points, pen-up partners of
// one-point contours, and the caller's array filled with named contours.
#pragma once

#include "order/cutting_order.h"
#include "foundation/point_list.h"
#include "vextra.h"

#include <cstdint>

namespace vx {

struct Bounds {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
};

// Drops nodes that are not usable coordinates (not finite, or beyond 1e30).
void dropUnusable(PointList &list);

// Removes each node within 1e-6 (X and Y) of the previous kept node of the
// same contour; the bounds cover every node, removed ones included.
Bounds removeRepeats(PointList &list);

// After a node that is alone in its contour, inserts its pen-up partner: the
// same point with the contour number negated.
void addPenUpPartners(PointList &list);

// Two 8-bit characters as UTF-16 code units.
inline void setChars(uint16_t out[2], char a, char b)
{
    out[0] = static_cast<unsigned char>(a);
    out[1] = static_cast<unsigned char>(b);
}

// Name of the k-th contour (from 0): " A".." Z", " a".." z", "AA", ...;
// names repeat after 2756 contours, so neighbours always differ.
void contourTag(int64_t k, uint16_t out[2]);

// Fills ContourPoint or SequencePoint records shifted by the bounds' minimum,
// and sets the four outputs. The number of records, or -102..-104.
int fillContourArray(VxArray **points, const PointList &list, const Bounds &b, float *xMin, float *xMax,
                     float *yMin, float *yMax);
int fillSequenceArray(VxArray **points, const PointList &list, const Bounds &b, float *xMin, float *xMax,
                      float *yMin, float *yMax);

// The same records straight from a drawing in cutting order: what
// removeRepeats, addPenUpPartners (ContourPoint only) and the fill above give
// on the list of its nodes.
int fillContourArray(VxArray **points, const CutPlan &plan, PieceSource &source, float *xMin, float *xMax,
                     float *yMin, float *yMax);
int fillSequenceArray(VxArray **points, const CutPlan &plan, PieceSource &source, float *xMin, float *xMax,
                      float *yMin, float *yMax);

} // namespace vx
