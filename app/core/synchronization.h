// Optimal synchronization (cmdSynchroOptimale): between consecutive
// synchronization points (bit 4) both profiles get the same number of points,
// at the same fractions of the section's length along each profile.
#pragma once

#include "core/document.h"
#include "core/notice.h"

#include <optional>

namespace orv {

struct SyncResult {
    bool endsMarked = false;      // step 2 added bit 4 to an end point
    bool synchronized = false;    // both profiles were rebuilt
    std::optional<Notice> notice; // the refusal, or the closing information
};

// Marks the end points of both profiles as synchronization points, checks
// the counts and rebuilds both profiles section by section. A refusal keeps
// the end marks (as the count check always did) and changes nothing else;
// profiles of fewer than two points are refused before any mark. Sections of
// zero length are refused; when rounding brings one profile to its section
// end first, the other profile's remaining points are paired with points at
// that end instead of running past it. On success the notice is the
// "Synchronisation effectuée" information, to show after the closing steps.
SyncResult synchronizeOptimal(Profils &doc);

// The information shown at the end of a successful run.
Notice synchronizationDoneNotice();

} // namespace orv
