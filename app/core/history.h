// The undo history: at most 40 snapshots of the whole document and of the
// window state that the document record does not hold.
#pragma once

#include "core/document.h"

#include <cstddef>
#include <cstdint>
#include <deque>

namespace orv {

// Window state saved with each snapshot.
struct WindowState {
    int16_t sweepMode = -1;    // index 0..2 of the ticked chkFleche box, -1 for none
    int16_t dihedralMode = -1; // index 0..4 of the ticked chkDiedre box, -1 for none
    bool alignment = false;    // chkAligner ticked
    int32_t currentE = 1, currentS = 1; // recorded only: a restore leaves the cursors alone
    int16_t activeLayer = 0;   // index 0..2 of the optSelection option that is on
    bool showProfileE = false, showProfileS = false; // chkAfficherProfil(0), (1)
    bool showPointsE = false, showPointsS = false;   // chkAfficherPoints(0), (1)
    friend bool operator==(const WindowState &, const WindowState &) = default;
};

struct Snapshot {
    Profils doc;
    WindowState window;
    friend bool operator==(const Snapshot &, const Snapshot &) = default;
};

// Entries are numbered from 1; position 0 means an empty history. Snapshots
// share the point storage a command did not touch, so recording costs little.
class History {
public:
    static constexpr int32_t kMaxEntries = 40;

    // AnnulationEnCours: when set, the next snapshot is not recorded.
    bool AnnulationEnCours = false;

    // Drops the entries after the position, drops the oldest when 40 are
    // held, appends, and moves the position to the new entry.
    void record(const Profils &doc, const WindowState &window);
    // record() unless AnnulationEnCours is set; true when recorded. Does not
    // clear the flag: the command does that at its end (endCommand).
    bool recordUnlessSuppressed(const Profils &doc, const WindowState &window);
    void endCommand() { AnnulationEnCours = false; }

    // cmdUndo(0) and cmdUndo(1): step back or forward when possible, then
    // return the entry to restore (the current one again at either end);
    // nullptr when the history is empty.
    const Snapshot *undo();
    const Snapshot *redo();
    const Snapshot *current() const;

    int32_t position() const { return m_position; }
    int32_t count() const { return static_cast<int32_t>(m_entries.size()); }
    bool canUndo() const { return m_position >= 2; }
    bool canRedo() const { return m_position < count(); }
    const Snapshot &entry(int32_t number) const { return m_entries.at(static_cast<size_t>(number - 1)); }
    void clear();

    // Bytes held by the history: every distinct point chunk once, plus the
    // fixed size of each entry and its chunk tables.
    size_t memoryBytes() const;

private:
    std::deque<Snapshot> m_entries;
    int32_t m_position = 0;
};

// Bytes of one document's point storage and record, counted as memoryBytes does.
size_t documentBytes(const Profils &doc);

} // namespace orv
