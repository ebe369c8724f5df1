// Nearest-neighbour ordering of drill holes, with duplicates dropped and
// sideways moves preferred, in O(n log n) for ordinary boards.
#pragma once

#include <cmath>
#include <vector>

namespace vx {

struct Hole {
    double x = 0, y = 0;
};

inline constexpr double kDuplicateHole = 0.1; // closer than this: the same hole
inline constexpr double kSidewaysSlack = 0.1; // a sideways hole may be this much farther

inline double holeDistance(const Hole &from, const Hole &to)
{
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    return std::sqrt(dx * dx + dy * dy);
}

// From the first hole on, each hole is followed by the nearest remaining
// one, scanned in file order: a hole replaces the best so far when it is
// nearer, or when it lies more sideways than up or down (|dy| < |dx|) and is
// less than kSidewaysSlack farther. Remaining holes closer than
// kDuplicateHole to the current one are dropped. Coordinates must be finite.
std::vector<Hole> orderHoles(const std::vector<Hole> &holes);

} // namespace vx
