// Undo and redo over the history of snapshots.
#pragma once

#include "editor/part.h"

namespace orv {

class HistoryPart : public Part {
public:
    explicit HistoryPart(Editor &ed);
    // 0 steps back, 1 steps forward, then restores the entry.
    void cmdUndo_Click(int index);

private:
    void restore(const Snapshot &entry);
};

} // namespace orv
