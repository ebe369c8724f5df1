// The point-editing commands: delete, insert mid-points, create an
// intersection, renumber. A refused command leaves the document and the
// history as they were.
#pragma once

#include "editor/part.h"

namespace orv {

class PointEditingPart : public Part {
public:
    explicit PointEditingPart(Editor &ed);

    // True when the points were deleted; false after the refusal.
    bool cmdSupprimer_Click();
    void cmdInsererPoint_Click();
    void cmdIntersection_Click();
    void cmdRenumeroter_Click();
};

} // namespace orv
