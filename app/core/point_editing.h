// Point editing on the normal selection (bit 1) of both profiles: delete,
// insert mid-points, create the crossing of two selected segments, renumber a
// closed contour; and the segment intersection that the offset uses too.
#pragma once

#include "core/document.h"
#include "core/notice.h"

#include <vector>

namespace orv {

// Codes of the segment intersection.
enum IntersectionCode : int32_t {
    kSegParallel = 0, // D = 0: parallel or degenerate, no point
    kSegCrossing = 1, // the segments cross inside both
    kSegOutside = 2,  // the lines cross outside a segment
    kSegAtA1 = 3,     // t = 0
    kSegAtA2 = 4,     // t = 1
    kSegAtB1 = 5,     // u = 0
    kSegAtB2 = 6,     // u = 1
};

struct Intersection {
    int32_t code = kSegParallel;
    float X = 0, Y = 0; // meaningful for every code but 0
};

// Segment A (a1 to a2) against segment B (b1 to b2). D, t and u are rounded
// to 32 bits before they are tested; the t tests come before the u tests.
Intersection intersectSegments(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);

// What a point-editing command did: whether a profile changed, and the
// messages to show in order (each names its profile).
struct EditResult {
    bool changed[2] = {false, false}; // per Side
    std::vector<Notice> notices;
    bool anyChange() const { return changed[0] || changed[1]; }
};

// cmdSupprimer: removes every selected point of both profiles, or refuses
// when either profile would keep fewer than two points.
EditResult deleteSelectedPoints(Profils &doc);

// cmdInsererPoint: a mid-point (Flags 0) between every two neighbouring
// selected points, root then tip.
EditResult insertMidPoints(Profils &doc);

// cmdIntersection: per profile, the crossing of the two selected segments
// (four selected points p, p+1, q, q+1) is inserted between q and q+1.
EditResult createIntersection(Profils &doc);

// cmdRenumeroter: makes the current point of each profile the start and end
// of the loop of its selected points. A profile counts as closed when its
// first and last points are at most `closedTolerance` (ToleranceLecture)
// apart; its duplicate first point is then dropped. current[side] is the
// point cursor of that side and follows the removal of point 1.
EditResult renumberFromCurrent(Profils &doc, int32_t current[2], float closedTolerance);

} // namespace orv
