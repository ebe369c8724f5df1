// The mouse in the two pictures of the sequence window, on plain event
// structs: click and rectangle selection in both, and in the lower picture
// the Ctrl drag of the selected sequences and the Alt pick and move of a point.
#pragma once

#include "editor/profile_canvas.h"
#include "sequences/sequence_document.h"

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

namespace orv {

class FormSequences;

class SequenceMouse {
public:
    explicit SequenceMouse(FormSequences &form) : m_form(form) {}

    // Positions in the picture's twips; modifiers 1 Shift, 2 Ctrl, 4 Alt.
    void handle(ListKind picture, const CanvasMouse &m);

    // What the pictures draw over themselves while a gesture runs.
    std::optional<QRectF> band(ListKind picture) const
    {
        return picture == m_picture && m_mode == Mode::Band && m_moved ? m_band : std::nullopt;
    }
    QPointF dragOffset() const { return m_mode == Mode::Drag ? m_offset : QPointF(); }
    const std::vector<QPointF> &hoverMarks() const { return m_marks; }
    PointRef pointUnderCursor() const { return m_under; }

private:
    enum class Mode { None, Band, Drag, MovePoint };
    void press(ListKind picture, const CanvasMouse &m);
    void move(ListKind picture, const CanvasMouse &m);
    void release(ListKind picture, const CanvasMouse &m);
    void selectAt(ListKind picture, QPointF end);
    void hover(QPointF at);

    FormSequences &m_form;
    Mode m_mode = Mode::None;
    ListKind m_picture = ListKind::Initial;
    QPointF m_start, m_offset;
    std::optional<QRectF> m_band;
    bool m_moved = false;
    std::vector<QPointF> m_marks;
    PointRef m_under;
};

} // namespace orv
