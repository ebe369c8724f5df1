#include "editor/history_part.h"

#include "core/characteristics.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QToolButton>

namespace orv {

HistoryPart::HistoryPart(Editor &ed) : Part(ed)
{
    for (int i = 0; i < 2; ++i)
        QObject::connect(ui().cmdUndo[static_cast<size_t>(i)], &QToolButton::clicked, this, [this, i] { cmdUndo_Click(i); });
}

void HistoryPart::cmdUndo_Click(int index)
{
    const Snapshot *entry = index == 0 ? st().history.undo() : index == 1 ? st().history.redo() : nullptr;
    if (entry)
        restore(*entry);
}

void HistoryPart::restore(const Snapshot &entry)
{
    // The check boxes run their handlers, which must not record: each change
    // is made with the suppression flag set just before it.
    const Snapshot saved = entry; // the handlers may record nothing, but keep a copy all the same
    MainWindowUi &u = ui();
    History &h = st().history;
    auto quietly = [&](QAbstractButton *box, bool value) {
        h.AnnulationEnCours = true;
        box->setChecked(value);
    };
    for (QCheckBox *b : u.chkFleche)
        quietly(b, false);
    if (saved.window.sweepMode >= 0 && saved.window.sweepMode < 3)
        quietly(u.chkFleche[static_cast<size_t>(saved.window.sweepMode)], true);
    for (QCheckBox *b : u.chkDiedre)
        quietly(b, false);
    if (saved.window.dihedralMode >= 0 && saved.window.dihedralMode < 5)
        quietly(u.chkDiedre[static_cast<size_t>(saved.window.dihedralMode)], true);
    quietly(u.chkAligner, saved.window.alignment);
    if (saved.window.activeLayer >= 0 && saved.window.activeLayer < 3)
        quietly(u.optSelection[static_cast<size_t>(saved.window.activeLayer)], true);
    if (saved.window.showProfileE)
        quietly(u.chkAfficherProfil[0], true);
    if (saved.window.showProfileS)
        quietly(u.chkAfficherProfil[1], true);
    if (saved.window.showPointsE)
        quietly(u.chkAfficherPoints[0], true);
    if (saved.window.showPointsS)
        quietly(u.chkAfficherPoints[1], true);

    // Whatever the handlers did to the points, the snapshot wins.
    st().doc = saved.doc;
    computeCharacteristics(st().doc);
    if (m_ed.restoreWindowState)
        m_ed.restoreWindowState();
    m_ed.showChords();
    m_ed.showLayoutBoxes();
    m_ed.fitCursors();
    m_ed.refreshKeepingZoom();
    h.endCommand();
}

} // namespace orv
