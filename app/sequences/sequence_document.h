// The sequence window's own document: the drawing's sequences (initial list),
// the assembly (final list), the commands that build and reshape the
// assembly, and an undo of ten steps. Plain C++, no toolkit.
#pragma once

#include "core/notice.h"
#include "sequences/sequence_list.h"

#include <deque>
#include <optional>

namespace orv {

enum class ListKind { Initial, Final };

// What a command did: a refusal to show, or whether anything changed.
struct Outcome {
    bool changed = false;
    std::optional<Notice> refusal;
    static Outcome done(bool changed) { return {changed, std::nullopt}; }
    static Outcome refused(Notice n) { return {false, std::move(n)}; }
};

// A point of the assembly: sequence and point, both from 0.
struct PointRef {
    int sequence = -1;
    int point = -1;
    bool valid() const { return sequence >= 0 && point >= 0; }
    friend bool operator==(const PointRef &, const PointRef &) = default;
};

class SequenceDocument {
public:
    static constexpr size_t kUndoSteps = 10;

    // A new drawing: its sequences replace the initial list; the assembly is
    // kept, but undo steps never cross the change of drawing.
    void load(std::span<const ContourPoint> buffer);

    const SequenceList &initial() const { return m_initial; }
    const SequenceList & final() const { return m_final; }
    const SequenceList &list(ListKind kind) const { return kind == ListKind::Initial ? m_initial : m_final; }
    size_t undoDepth() const { return m_undo.size(); }

    // ---- selection (never recorded for undo)
    void selectAll(ListKind kind);
    // Toggles between selected and not (a linking point becomes selected).
    void toggle(ListKind kind, int index);
    // Selects the sequences lying wholly inside the box.
    bool selectInside(ListKind kind, const DrawingExtent &box);
    // The sequence with a segment or point nearest (x, y) within the tolerance, or -1.
    int sequenceAt(ListKind kind, float x, float y, float tolerance) const;
    void deselectAll(ListKind kind);

    // ---- commands on the assembly. Repeated steps of a held button pass
    // record = false so that the whole press is one undo step.
    Outcome chain();
    Outcome copyInPlace();
    Outcome order(int index);
    Outcome reverse(ListKind kind);
    Outcome entryPoint(int index, bool record = true);
    Outcome rotate(double radians, bool record = true);
    Outcome mirror();
    Outcome scale(int index);
    Outcome spacing(int index, bool record = true);
    Outcome erase();
    Outcome insertLinkingPoints();
    Outcome weld();
    Outcome moveSelected(float dx, float dy);
    Outcome movePoint(PointRef ref, float x, float y);
    // Back to the state before the last recorded command; false when none is held.
    bool undo();

    // The hand-over: the assembly as one contour and its bounds; refused
    // while the assembly is empty.
    Outcome validate(std::vector<ContourPoint> &buffer, DrawingExtent &bounds) const;

private:
    SequenceList &edit(ListKind kind) { return kind == ListKind::Initial ? m_initial : m_final; }
    struct Snapshot {
        SequenceList initial, final;
    };
    void record();
    // Applies f to every selected sequence of the assembly, bounds
    // recomputed before and after; nothing recorded when none is selected.
    template <typename F> Outcome eachSelected(F f, bool record = true);
    bool anySelected(const SequenceList &list) const;
    Outcome appendSelectedInitial(bool chainThem);

    SequenceList m_initial, m_final;
    std::deque<Snapshot> m_undo;
};

// The refusals of the window, word for word.
Notice orderRefusal(int index);
Notice nothingSelectedInDrawing();
Notice nothingSelectedInAssembly();
Notice weldRefusal();
Notice emptyAssemblyRefusal();
Notice noPointUnderCursor();

} // namespace orv
