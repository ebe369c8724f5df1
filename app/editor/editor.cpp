#include "editor/editor.h"

#include "core/characteristics.h"
#include "core/numeric_entry.h"
#include "core/status.h"
#include "editor/profile_canvas.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>
#include <QWidget>

namespace orv {

Editor::Editor(MainWindowUi &ui, Platform &platform, VextraLibrary &library, QWidget *window)
    : ui(ui), platform(platform), library(library), window(window)
{
}

WindowState Editor::windowState() const
{
    WindowState w;
    for (int i = 0; i < 3; ++i)
        if (ui.chkFleche[static_cast<size_t>(i)]->isChecked())
            w.sweepMode = static_cast<int16_t>(i);
    for (int i = 0; i < 5; ++i)
        if (ui.chkDiedre[static_cast<size_t>(i)]->isChecked())
            w.dihedralMode = static_cast<int16_t>(i);
    w.alignment = ui.chkAligner->isChecked();
    w.currentE = st.sel.PointCourantE;
    w.currentS = st.sel.PointCourantS;
    for (int i = 0; i < 3; ++i)
        if (ui.optSelection[static_cast<size_t>(i)]->isChecked())
            w.activeLayer = static_cast<int16_t>(i);
    w.showProfileE = ui.chkAfficherProfil[0]->isChecked();
    w.showProfileS = ui.chkAfficherProfil[1]->isChecked();
    w.showPointsE = ui.chkAfficherPoints[0]->isChecked();
    w.showPointsS = ui.chkAfficherPoints[1]->isChecked();
    return w;
}

void Editor::snapshot() { st.history.recordUnlessSuppressed(st.doc, windowState()); }

void Editor::finish(const Finish &f)
{
    if (f.reapplyLayout && f.reapplyFirst && reapplyLayout)
        reapplyLayout();
    if (f.characteristics)
        computeCharacteristics(st.doc);
    if (f.reapplyLayout && !f.reapplyFirst && reapplyLayout)
        reapplyLayout();
    if (f.chords)
        showChords();
    if (f.layoutBoxes)
        showLayoutBoxes();
    if (f.cursors)
        resetCursors();
    switch (f.view) {
    case Finish::View::Rebuild:
        rebuildView();
        break;
    case Finish::View::KeepZoom:
        refreshKeepingZoom();
        break;
    case Finish::View::RedrawOnly:
        redraw();
        break;
    }
    if (f.snapshot)
        snapshot();
    st.history.endCommand();
}

ShowFlags Editor::showFlags() const
{
    ShowFlags s;
    s.profileE = ui.chkAfficherProfil[0]->isChecked();
    s.pointsE = ui.chkAfficherPoints[0]->isChecked();
    s.profileS = ui.chkAfficherProfil[1]->isChecked();
    s.pointsS = ui.chkAfficherPoints[1]->isChecked();
    s.intermediate = ui.chkProfilIntermediaire->isChecked() && !st.intermediate.empty();
    if (ui.chkVisuMachine->isChecked())
        s.machine = &st.machine;
    return s;
}

void Editor::rebuildView()
{
    st.view.rebuild(st.doc, showFlags(), &st.intermediate, st.EcartementIntermediaire);
    redraw();
}

void Editor::refreshKeepingZoom()
{
    st.view.refreshKeepingZoom(st.doc, showFlags(), &st.intermediate, st.EcartementIntermediaire);
    redraw();
}

void Editor::pictureResized()
{
    st.view.setPictureSize(ui.pctProfils->widthTwips(), ui.pctProfils->heightTwips());
    st.view.mapToScreen();
    redraw();
}

void Editor::redraw()
{
    const bool equal = st.doc.NbPointsE() == st.doc.NbPointsS();
    ui.chkFil->setEnabled(equal);
    ui.chkSurface->setEnabled(equal);
    ui.chkVisuMachine->setEnabled(equal);
    // Ticked, the box stays usable while it locks the editing controls.
    ui.chkProfilIntermediaire->setEnabled(equal &&
                                          (ui.pctProfils->isEnabled() || ui.chkProfilIntermediaire->isChecked()));
    applyAvailability();
    redrawPicture();
    writeStatusBar();
    if (drawPointLists)
        drawPointLists();
    ui.pctProfils->updateOverlay();
}

void Editor::redrawPicture()
{
    // Unequal counts cannot show corresponding points.
    if (st.doc.NbPointsE() != st.doc.NbPointsS() && (ui.chkFil->isChecked() || ui.chkSurface->isChecked())) {
        st.redrawSuspended = true;
        ui.chkSurface->setChecked(false);
        st.redrawSuspended = false;
    }
    ui.pctProfils->invalidatePicture();
}

void Editor::applyAvailability()
{
    if (!ui.pctProfils->isEnabled())
        return; // nothing loaded, or the intermediate profile locks the editing
    const int32_t nbE = countWith(st.doc.PointsE, kSelected);
    const int32_t nbS = countWith(st.doc.PointsS, kSelected);
    const Availability a = commandAvailability(nbE, nbS, ui.chkInsertionProfils->isChecked());
    for (const CommandState &c : a.commands) {
        const QString name = QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size()));
        if (QWidget *w = window->findChild<QWidget *>(name))
            w->setEnabled(c.enabled);
    }
    if (a.insertion != InsertionBox::Keep)
        ui.chkInsertionProfils->setEnabled(a.insertion == InsertionBox::Enable);
}

void Editor::writeStatusBar()
{
    const StatusPanels p = statusPanels(st.doc, st.sel.SelectionActive);
    ui.stbPanels[0]->setText(QString::fromUtf8(p.root));
    ui.stbPanels[1]->setText(QString::fromUtf8(p.tip));
    ui.stbPanels[2]->setText(QString::fromUtf8(p.distance));
}

void Editor::setBarQuietly(QScrollBar *bar, int value)
{
    const bool was = m_settingBars;
    m_settingBars = true;
    bar->setValue(value);
    m_settingBars = was;
}

void Editor::resetCursors()
{
    st.sel.resetCursors();
    const bool was = m_settingBars;
    m_settingBars = true;
    for (Side s : kSides) {
        CursorBars &c = st.cursors[static_cast<size_t>(s)];
        c = setupCursor(st.doc.count(s));
        SidePanel &p = ui.side[static_cast<size_t>(s)];
        p.vscUnits->setRange(c.unitsMin, c.unitsMax);
        p.vscThousands->setRange(0, c.thousandsMax);
        p.vscThousands->setVisible(c.thousandsVisible);
        p.vscThousands->setValue(c.thousands);
        p.vscUnits->setValue(c.units);
    }
    m_settingBars = was;
}

void Editor::fitCursors()
{
    for (Side s : kSides) {
        const int32_t count = st.doc.count(s);
        int32_t &current = st.sel.current(s);
        if (current < 1 || current > count)
            current = 1;
        st.sel.previous(s) = current;
        CursorBars &c = st.cursors[static_cast<size_t>(s)];
        c = setupCursor(count);
        SidePanel &p = ui.side[static_cast<size_t>(s)];
        const bool was = m_settingBars;
        m_settingBars = true;
        p.vscThousands->setRange(0, c.thousandsMax);
        p.vscThousands->setVisible(c.thousandsVisible);
        m_settingBars = was;
        moveCursor(s, current);
    }
}

void Editor::moveCursor(Side side, int32_t index)
{
    CursorBars &c = st.cursors[static_cast<size_t>(side)];
    showCursorIndex(c, st.doc.count(side), index);
    SidePanel &p = ui.side[static_cast<size_t>(side)];
    const bool was = m_settingBars;
    m_settingBars = true;
    p.vscThousands->setValue(c.thousands);
    p.vscUnits->setRange(c.unitsMin, c.unitsMax);
    p.vscUnits->setValue(c.units);
    m_settingBars = was;
    st.sel.current(side) = c.index();
}

void Editor::setBox(QWidget *box, double value, std::string_view pattern)
{
    const QString text = QString::fromUtf8(formatForBox(value, pattern));
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(box))
        label->setText(text);
}

void Editor::showChords()
{
    setBox(ui.side[0].txtCorde, st.doc.C.E.Corde, kFmtBox);
    setBox(ui.side[1].txtCorde, st.doc.C.S.Corde, kFmtBox);
}

void Editor::showLayoutBoxes()
{
    const Caracteristiques &c = st.doc.C;
    setBox(ui.txtEcartementZ, st.doc.Ecartement, kFmtBox);
    setBox(ui.txtFleche, c.FlecheBA, kFmtBox);
    setBox(ui.lblFleche, c.E.XMax - c.S.XMax, kFmtBox);
    setBox(ui.txtDiedreMm, c.DiedreMm, kFmtBox);
    setBox(ui.txtDiedreDeg, c.DiedreDeg, kFmtBox);
    setBox(ui.lblDiedre, c.E.YMax - c.S.YMax, kFmtBox);
}

MessageButton Editor::show(const Notice &notice) { return platform.messageBox(notice); }

void Editor::setChecked(QAbstractButton *box, bool checked)
{
    if (box->isChecked() != checked)
        box->setChecked(checked);
}

void Editor::realignRule()
{
    if (ui.optSelection[1]->isChecked() && ui.chkAligner->isChecked()) {
        ui.chkAligner->setChecked(false);
        ui.chkAligner->setChecked(true);
    }
}

void Editor::enableEditing(bool enabled)
{
    for (QWidget *w : ui.editingControls)
        w->setEnabled(enabled);
    ui.cmdOuvrirProfil[0]->setEnabled(true);
    ui.cmdImportSorvane->setEnabled(true);
}

void Editor::setCaption(const QString &caption)
{
    st.caption = caption;
    window->setWindowTitle(caption);
}

} // namespace orv
