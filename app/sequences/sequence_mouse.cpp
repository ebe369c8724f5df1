// Mouse gestures of the sequence window: the press fixes the gesture from the
// modifiers, moves only draw, the release applies it.
#include "sequences/sequence_mouse.h"

#include "sequences/form_sequences.h"

#include <cmath>

namespace orv {

namespace {

constexpr int kCtrl = 2, kAlt = 4;
constexpr double kClickTolerance = 60; // twips
constexpr double kHoverReach = 50;     // twips

} // namespace

void SequenceMouse::handle(ListKind picture, const CanvasMouse &m)
{
    switch (m.type) {
    case CanvasMouse::Press:
        press(picture, m);
        break;
    case CanvasMouse::Move:
        move(picture, m);
        break;
    case CanvasMouse::Release:
        release(picture, m);
        break;
    }
}

void SequenceMouse::press(ListKind picture, const CanvasMouse &m)
{
    m_mode = Mode::None;
    if (m.button != 1)
        return;
    m_picture = picture;
    m_start = QPointF(m.x, m.y);
    m_offset = QPointF();
    m_band.reset();
    m_moved = false;
    if (m.modifiers == 0)
        m_mode = Mode::Band;
    else if (picture == ListKind::Final && m.modifiers == kCtrl && m_form.document().final().size() >= 2)
        m_mode = Mode::Drag;
    else if (picture == ListKind::Final && m.modifiers == kAlt)
        m_mode = Mode::MovePoint;
}

void SequenceMouse::move(ListKind picture, const CanvasMouse &m)
{
    const QPointF at(m.x, m.y);
    if (m.button == 0) {
        if (picture == ListKind::Final && m.modifiers == kAlt)
            hover(at);
        else if (m_under.valid() || !m_marks.empty()) {
            // No longer shown, so no longer the point an Alt click would move.
            m_under = {};
            m_marks.clear();
            m_form.updateOverlay(ListKind::Final);
        }
        return;
    }
    if (picture != m_picture)
        return;
    if (m_mode == Mode::Band) {
        m_moved = m_moved || at != m_start;
        m_band = QRectF(m_start, at).normalized();
        m_form.updateOverlay(picture);
    } else if (m_mode == Mode::Drag) {
        m_offset = at - m_start;
        m_form.redrawPicture(ListKind::Final);
    }
}

void SequenceMouse::release(ListKind picture, const CanvasMouse &m)
{
    const Mode mode = m_mode;
    m_mode = Mode::None;
    if (m.button != 1 || picture != m_picture)
        return;
    const QPointF at(m.x, m.y);
    const PictureMapping &map = m_form.mapping(picture);
    switch (mode) {
    case Mode::Band:
        m_band.reset();
        selectAt(picture, at);
        break;
    case Mode::Drag: {
        const QPointF d = at - m_start;
        m_offset = QPointF();
        const Outcome o =
            m_form.document().moveSelected(float(map.drawingLength(d.x())), float(-map.drawingLength(d.y())));
        m_form.apply(o);
        if (!o.changed)
            m_form.redrawPicture(ListKind::Final);
        break;
    }
    case Mode::MovePoint: {
        const QPointF target = map.toDrawing(at.x(), at.y());
        const PointRef ref = m_under;
        m_under = {};
        m_marks.clear();
        m_form.apply(ref.valid() ? m_form.document().movePoint(ref, float(target.x()), float(target.y()))
                                 : Outcome::refused(noPointUnderCursor()));
        break;
    }
    case Mode::None:
        break;
    }
}

void SequenceMouse::selectAt(ListKind picture, QPointF end)
{
    SequenceDocument &doc = m_form.document();
    const PictureMapping &map = m_form.mapping(picture);
    if (!m_moved || end == m_start) {
        const QPointF p = map.toDrawing(end.x(), end.y());
        const int hit =
            doc.sequenceAt(picture, float(p.x()), float(p.y()), float(map.drawingLength(kClickTolerance)));
        if (hit >= 0) {
            doc.toggle(picture, hit);
            m_form.setCurrent(picture, hit);
        } else {
            doc.deselectAll(picture);
        }
    } else {
        const QPointF a = map.toDrawing(m_start.x(), m_start.y()), b = map.toDrawing(end.x(), end.y());
        doc.selectInside(picture, {float(std::min(a.x(), b.x())), float(std::max(a.x(), b.x())),
                                   float(std::min(a.y(), b.y())), float(std::max(a.y(), b.y()))});
    }
    m_form.refresh();
}

void SequenceMouse::hover(QPointF at)
{
    const PictureMapping &map = m_form.mapping(ListKind::Final);
    const QPointF c = map.toDrawing(at.x(), at.y());
    const double reach = map.drawingLength(kHoverReach);
    m_marks.clear();
    m_under = {};
    const SequenceList &list = m_form.document().final();
    for (size_t k = 0; k < list.size(); ++k) {
        const SequenceEntry &s = list[k];
        if (c.x() < s.MinX - reach || c.x() > s.MaxX + reach || c.y() < s.MinY - reach ||
            c.y() > s.MaxY + reach)
            continue;
        for (size_t i = 0; i < s.Points.size(); ++i) {
            const SequencePoint &p = s.Points[i];
            if (std::abs(p.X - c.x()) > reach || std::abs(p.Y - c.y()) > reach)
                continue;
            m_marks.push_back(map.toPicture(p.X, p.Y));
            m_under = {int(k), int(i)};
        }
    }
    m_form.updateOverlay(ListKind::Final); // the marks are drawn over the kept picture
}

} // namespace orv
