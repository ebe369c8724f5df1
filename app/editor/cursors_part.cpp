#include "editor/cursors_part.h"

#include "core/selection.h"

#include <QRadioButton>
#include <QScrollBar>

namespace orv {

CursorsPart::CursorsPart(Editor &ed) : Part(ed)
{
    MainWindowUi &u = ui();
    for (Side s : kSides) {
        SidePanel &p = u.side[static_cast<size_t>(s)];
        for (int bar = 0; bar < 2; ++bar) {
            QScrollBar *b = bar == 0 ? p.vscUnits : p.vscThousands;
            b->setTracking(false);
            QObject::connect(b, &QScrollBar::valueChanged, this, [this, s, bar](int v) {
                if (!m_ed.barsBeingSet())
                    cursorChanged(s, bar, v);
            });
            // While the thumb is dragged the point follows, unless Ctrl is
            // down: then the range is selected once, at the release.
            QObject::connect(b, &QScrollBar::sliderMoved, this, [this, s, bar](int v) {
                if (!m_ed.platform.isCtrlDown())
                    cursorChanged(s, bar, v);
            });
        }
        for (int k = 0; k < 5; ++k)
            QObject::connect(p.lblNumPt[static_cast<size_t>(k)], &ClickableLabel::clicked, this,
                             [this, s, k] { labelClicked(s, k); });
        for (int k = 0; k < 10; ++k)
            QObject::connect(p.lblCoordPt[static_cast<size_t>(k)], &ClickableLabel::clicked, this,
                             [this, s, k] { labelClicked(s, k); });
    }
    for (QRadioButton *o : u.optSelection)
        QObject::connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                optSelection_Click();
        });
}

void CursorsPart::cursorChanged(Side side, int bar, int value)
{
    EditorState &s = st();
    SidePanel &p = ui().side[static_cast<size_t>(side)];
    CursorBars &c = s.cursors[static_cast<size_t>(side)];
    if (!s.GardeCurseurs) {
        c.units = bar == 0 ? value : p.vscUnits->value();
        c.thousands = bar == 1 ? value : p.vscThousands->value();
        s.sel.current(side) = orv::cursorChanged(c, s.doc.count(side));
        p.vscUnits->blockSignals(true);
        p.vscUnits->setRange(c.unitsMin, c.unitsMax);
        p.vscUnits->setValue(c.units);
        p.vscUnits->blockSignals(false);
    }
    s.GardeCurseurs = false;
    if (m_ed.platform.isCtrlDown()) {
        selectRange(s.doc.points(side), s.sel.previous(side), s.sel.current(side), s.sel.SelectionActive);
        m_ed.realignRule();
        m_ed.snapshot();
        s.history.endCommand();
    }
    s.sel.previous(side) = s.sel.current(side);
    s.sel.ProfilCourant = side;
    m_ed.redraw();
}

void CursorsPart::labelClicked(Side side, int label)
{
    EditorState &s = st();
    const bool toggled = toggleListPoint(s.doc.points(side), s.sel.current(side), label, s.sel.SelectionActive);
    m_ed.redraw();
    // A line without a point changes nothing and records nothing, so the
    // forward history stays.
    if (toggled) {
        m_ed.realignRule();
        m_ed.snapshot();
    }
    s.history.endCommand();
}

void CursorsPart::optSelection_Click()
{
    for (int i = 0; i < 3; ++i)
        if (ui().optSelection[static_cast<size_t>(i)]->isChecked()) {
            st().sel.SelectionActive = layerBit(i);
            break;
        }
    m_ed.redraw();
}

} // namespace orv
