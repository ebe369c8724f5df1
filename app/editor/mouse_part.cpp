#include "editor/mouse_part.h"

#include "core/numeric_entry.h"
#include "editor/drawing.h"
#include "editor/profile_canvas.h"

#include <QCheckBox>
#include <QLabel>

namespace orv {

namespace {

const QString kCtrlOutsideSideView =
    QStringLiteral("Le déplacement de la sélection par appui sur la touche Ctrl ne peut se faire qu'en vue de côté.\r\n"
                   "Appuyez sur le bouton 'Vue de côté' pour avoir accès à cette fonction");

QString mm(float v) { return QString::fromStdString(formatNumber(v, kFmtBox)) + QStringLiteral("mm"); }

} // namespace

MousePart::MousePart(Editor &ed, DrawingPart &drawing) : Part(ed), m_drawing(drawing)
{
    ui().pctProfils->mouse = [this](const CanvasMouse &m) { handle(m); };
}

void MousePart::handle(const CanvasMouse &m)
{
    switch (m.type) {
    case CanvasMouse::Press:
        pctProfils_MouseDown(m.button, m.modifiers, m.x, m.y);
        break;
    case CanvasMouse::Move:
        pctProfils_MouseMove(m.button, m.modifiers, m.x, m.y);
        break;
    case CanvasMouse::Release:
        pctProfils_MouseUp(m.button, m.modifiers, m.x, m.y);
        break;
    }
}

void MousePart::pctProfils_MouseDown(int button, int shift, float x, float y)
{
    m_mode = 0;
    m_band = Band::None;
    m_startX = m_lastX = x;
    m_startY = m_lastY = y;
    if (shift == 0) {
        m_mode = 1;
        const bool zoomTicked = ui().chkZoomSelection->isChecked();
        if ((zoomTicked && button == 1) || button == 2) {
            m_band = Band::Zoom;
            st().view.state.RectangleZoom[0] = x;
            st().view.state.RectangleZoom[1] = y;
            ui().pctProfils->setCursor(Qt::SizeAllCursor);
        } else if (button == 1) {
            m_band = Band::Selection;
        } else if (button == 4) {
            m_ed.rebuildView();
        }
    } else if (shift == 1) {
        m_mode = 2;
        ui().pctProfils->setCursor(Qt::ClosedHandCursor);
    } else if (shift == 2) {
        if (st().view.isSideView())
            m_mode = 3;
        else
            m_ed.platform.messageBox(kCtrlOutsideSideView, QStringLiteral("Action impossible"), MessageStyle::CriticalOk);
    }
}

void MousePart::pctProfils_MouseMove(int, int, float x, float y)
{
    View &view = st().view;
    if (view.isSideView())
        showMousePosition(x, y);
    switch (m_mode) {
    case 1:
        if (m_band != Band::None)
            showBand(x, y);
        break;
    case 2:
        view.shiftScreen(x - m_lastX, y - m_lastY);
        ui().pctProfils->invalidatePicture();
        m_lastX = x;
        m_lastY = y;
        break;
    case 3:
        if (view.isSideView()) {
            view.shiftSelectedScreen(st().doc, x - m_lastX, y - m_lastY);
            ui().pctProfils->invalidatePicture();
            m_lastX = x;
            m_lastY = y;
        }
        break;
    default:
        break;
    }
}

void MousePart::pctProfils_MouseUp(int, int, float x, float y)
{
    switch (m_mode) {
    case 1:
        if (m_band == Band::Zoom)
            releaseZoom(x, y);
        else if (m_band == Band::Selection)
            releaseSelection(x, y);
        break;
    case 2:
        ui().pctProfils->unsetCursor();
        st().view.panBy(x - m_startX, y - m_startY);
        // The live shifts and the new centre agree; mapping again only
        // catches a release away from the last move.
        st().view.mapToScreen();
        m_ed.redraw();
        break;
    case 3:
        releaseDrag(x, y);
        break;
    default:
        break;
    }
    m_mode = 0;
    m_band = Band::None;
}

void MousePart::showBand(float x, float y)
{
    m_drawing.rubberBand =
        RubberBand{QRectF(QPointF(m_startX, m_startY), QPointF(x, y)), m_band == Band::Zoom ? Qt::DotLine : Qt::DashLine};
    ui().pctProfils->updateOverlay();
}

void MousePart::hideBand()
{
    m_drawing.rubberBand.reset();
    ui().pctProfils->updateOverlay();
}

void MousePart::releaseZoom(float x, float y)
{
    ui().pctProfils->unsetCursor();
    hideBand();
    // A rectangle without width or height keeps the zoom it had.
    const bool zoomed = st().view.zoomToRectangle(m_startX, m_startY, x, y);
    ui().chkZoomSelection->setChecked(false); // the zoom rectangle serves once
    if (zoomed)
        m_ed.redraw();
}

void MousePart::releaseSelection(float x, float y)
{
    hideBand();
    EditorState &s = st();
    const int32_t before[2] = {s.sel.PointCourantE, s.sel.PointCourantS};
    const ShowFlags show = m_ed.showFlags(); // hidden points are never selected
    const HitList hits = x == m_startX && y == m_startY ? s.view.hitClick(m_startX, m_startY, show, kClickTolerance)
                                                        : s.view.hitRectangle(m_startX, m_startY, x, y, show);
    const bool changed = applyToggles(s.doc, hits, s.sel.SelectionActive, s.sel.PointCourantE, s.sel.PointCourantS);
    // The cursors follow the last toggled point without recomputing it.
    for (Side side : kSides) {
        if (s.sel.current(side) == before[side])
            continue;
        m_ed.moveCursor(side, s.sel.current(side));
        s.sel.previous(side) = s.sel.current(side);
        s.sel.ProfilCourant = side;
    }
    m_ed.finish({.view = Finish::View::RedrawOnly, .snapshot = changed});
    m_ed.realignRule();
}

void MousePart::releaseDrag(float x, float y)
{
    View &view = st().view;
    if (!view.isSideView())
        return; // the view changed under the drag: cancelled, and already redrawn
    const float dx = x - m_startX, dy = y - m_startY;
    const int32_t moved = dx != 0 || dy != 0 ? dragSelected(st().doc, dx, dy, view.state.CoeffZoom) : 0;
    if (moved == 0) {
        m_ed.refreshKeepingZoom(); // the picture back where the points are
        return;
    }
    m_ed.finish({.reapplyLayout = true, .chords = true});
}

void MousePart::showMousePosition(float x, float y)
{
    const ViewPoint p = st().view.screenToProjected(x, y);
    ui().stbPanels[2]->setText(QStringLiteral("X:") + mm(p.x) + QStringLiteral("  Y:") + mm(p.y));
}

} // namespace orv
