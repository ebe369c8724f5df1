// Profile offset (txtDecaler): each run of selected points is replaced by a
// parallel polyline at a signed distance, joined back to the rest.
#pragma once

#include "core/document.h"
#include "core/notice.h"

#include <optional>
#include <vector>

namespace orv {

struct OffsetResult {
    bool changed[2] = {false, false}; // per Side
    std::vector<Notice> notices;      // at most one per profile, root first
};

struct ProfileOffset {
    bool changed = false;
    std::optional<Notice> notice;
};

// Offsets one profile by d: a positive d moves a left-to-right segment
// toward smaller Y. Each run p_s..p_e of selected points becomes p_s, q_1 ..
// q_(m+1), p_e (two more points, new ones unselected). A corner is where the
// two neighbouring offset lines meet, or the start of the next offset segment
// when the segment intersection finds them parallel; the meeting point is
// computed from the lines' normals, not from the 32-bit offset segments, whose
// rounding moves the corners of nearly collinear neighbours far along the
// path. A closed contour selected around its joint is closed again at the
// corner of its last and first offset segments. Two consecutive selected
// points within 0.01 in X and Y stop the profile there (runs already offset
// stay) and return the message.
ProfileOffset offsetProfile(ProfilePoints &points, float d, Side side);

// The command: the root, then the tip, with the same distance.
OffsetResult offsetSelection(Profils &doc, float d);

} // namespace orv
