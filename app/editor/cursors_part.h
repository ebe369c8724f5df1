// The point cursors of both profiles, their five-line point lists and the
// choice of the active selection layer.
#pragma once

#include "editor/part.h"

namespace orv {

class CursorsPart : public Part {
public:
    explicit CursorsPart(Editor &ed);

    // vscPointsE / vscPointsS changed: bar 0 units, 1 thousands; `value` is
    // the new position of that bar.
    void cursorChanged(Side side, int bar, int value);
    // A click on label k (0-9 coordinates, 0-4 numbers) of a side's list.
    void labelClicked(Side side, int label);
    void optSelection_Click();
};

} // namespace orv
