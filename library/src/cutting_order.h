// Puts the contours of a drawing into cutting order: join the pieces, drop
// collinear points, orient, then nest and order them so that the wire cuts
// holes before their outlines and moves to the nearest next contour.
#pragma once

#include "point_list.h"

#include <vector>

namespace vx {

inline constexpr double kJoinTolerance = 1e-4;
inline constexpr double kSimplifyTolerance = static_cast<double>(0.0001f);

// Cuts the list into contours between nodes of different contour numbers,
// in list order; each contour gets a number of its own, from 1.
std::vector<Contour> splitContours(const PointList &list);

// Joins contours whose ends meet, each with the earliest later partner.
void joinContours(std::vector<Contour> &contours);

// Sorts by box area, nests each contour in the smallest one around it, orders
// every level by nearest corners and concatenates children before parents.
// Holes (odd depth) are reversed when `reverseHoles` is set.
PointList orderAndEmit(std::vector<Contour> contours, bool reverseHoles);

// The whole reorganisation of a drawing read from a file.
PointList cuttingOrder(const PointList &list);

} // namespace vx
