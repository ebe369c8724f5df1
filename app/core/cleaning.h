// Profile cleaning (cmdNettoyage): removes the points that lie within a
// tolerance of the chord joining their kept neighbours, on the read buffer,
// on each profile by itself (total) or on both profiles in pairs (synchronous).
#pragma once

#include "core/document.h"
#include "core/notice.h"

#include <vextra.h>

#include <optional>
#include <vector>

namespace orv {

inline constexpr int16_t kKeepMark = 128;             // set only during a synchronous cleaning
inline constexpr float kDiviseurTolerance = 5000.0f;  // total cleaning: max(width, height) / this
inline constexpr float kSyncCleaningTolerance = 0.025f;

// List thinning of the read buffer (PointsLus) in place: the kept records
// move to the front, the buffer shrinks to them and their number is
// returned. Fewer than four points are left as they are.
int32_t thinList(std::vector<ContourPoint> &points, float tolerance);

// Sets bit 128 on every point the thinning keeps (first, anchors, last);
// removes nothing. A profile of fewer than three points has every point kept.
void markProfile(ProfilePoints &points, float tolerance);

struct CleaningResult {
    bool changed[2] = {false, false}; // per Side: points or flags changed
    std::optional<Notice> notice;     // the refusal of the synchronous cleaning
};

// True when the command must ask (equal counts): "Oui" gives the synchronous
// cleaning, "Non" the total one; different counts go straight to the total.
bool cleaningOffersChoice(const Profils &doc);
Notice cleaningQuestion(); // question icon, buttons Oui and Non

// Total cleaning, root then tip: each profile is copied into `pointsLus`,
// thinned with max(|X max - X min|, |Y max - Y min|) / divisor (stored in
// `toleranceLecture`) and copied back with every Flags 0. `pointsLus` is left
// holding the tip's thinned points; the command then reduces it to one.
CleaningResult cleanTotal(Profils &doc, std::vector<ContourPoint> &pointsLus, float &toleranceLecture,
                          float divisor = kDiviseurTolerance);

// Synchronous cleaning with the tolerance 0.025: a pair of points of the same
// number is kept when either profile keeps its point; the other Flags travel
// with the kept pairs. Refused (nothing changed) when the counts differ.
CleaningResult cleanSynchronous(Profils &doc);

} // namespace orv
