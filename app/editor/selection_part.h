// The selection commands: clear, select all, extreme points, corners and the
// reversal of selected runs. Each works on the active selection layer, but
// for the reversal, which always reads the normal selection.
#pragma once

#include "editor/part.h"

namespace orv {

class SelectionPart : public Part {
public:
    explicit SelectionPart(Editor &ed);

    // Index 0 the root, 1 the tip.
    void cmdRAZSelection_Click(int index);
    void cmdSelectAll_Click(int index);
    // 0 tip X, 1 root X, 2 tip Y, 3 root Y.
    void cmdSelectionAuto_Click(int index);
    // 0 the tip, 1 the root.
    void cmdSelectionAngle_Click(int index);
    void cmdInverserSelection_Click();

private:
    // A selection changed without moving a point: redraw, and a snapshot
    // when something changed, so that the change can be undone.
    void finishSelection(bool changed);
};

} // namespace orv
