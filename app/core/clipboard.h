// The point clipboard: copy and cut of the normally selected points, and
// their paste onto every selected point of the target profiles.
#pragma once

#include "core/document.h"

#include <cstdint>

namespace orv {

struct Clipboard {
    ProfilePoints partE; // root part
    ProfilePoints partS; // tip part
    bool cutInProgress = false;
    bool empty() const { return partE.empty() && partS.empty(); }
};

// cmdCopier: both parts become copies of the points with bit 1, in order.
// Unless a cut is in progress the copied points lose bit 1 in the document.
// The cut flag is cleared at the end.
void copySelection(Profils &doc, Clipboard &clipboard);

// cmdCouper, first half: copies and leaves the points selected, so that the
// delete command removes them next.
void cutSelection(Profils &doc, Clipboard &clipboard);

struct PasteResult {
    int32_t insertedE = 0, insertedS = 0;
    bool changed() const { return insertedE != 0 || insertedS != 0; }
};

// cmdColler: a part alone is pasted into both profiles; with both parts, each
// goes to its own profile. At every point k with bit 1 (walked in order), bit
// 1 of k is cleared and the part, translated so that its first point lands
// on k, is inserted after k with Flags 1, followed by a copy of k; the walk
// goes on after that copy. The clipboard keeps the last translated
// coordinates. An empty clipboard or a profile without selected points
// changes nothing.
PasteResult paste(Profils &doc, Clipboard &clipboard);

} // namespace orv
