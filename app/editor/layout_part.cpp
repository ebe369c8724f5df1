// Wing layout handlers: chord, spacing, sweep, dihedral and alignment, and
// the layout re-application that other commands run in their closing steps.
#include "editor/layout_part.h"

#include "core/characteristics.h"
#include "core/layout.h"
#include "editor/numeric_entry_box.h"
#include "editor/widgets.h"

#include <QCheckBox>
#include <QPushButton>

namespace orv {

LayoutPart::LayoutPart(Editor &ed) : Part(ed)
{
    connectHandlers();
    ed.reapplyLayout = [this] { reapply(); };
    // After an undo the stored values follow the restored document, so that
    // a later re-application does not bring back what was undone.
    ed.restoreWindowState = [this] {
        readModesFromBoxes();
        const Caracteristiques &c = st().doc.C;
        st().layout.storedSweep = c.FlecheBA;
        st().layout.storedDihedral = c.DiedreMm;
        st().layout.shownAngle = c.DiedreDeg;
    };
}

void LayoutPart::connectHandlers()
{
    MainWindowUi &u = ui();
    Platform &platform = m_ed.platform;
    const Caracteristiques &c = st().doc.C;
    for (int i = 0; i < 2; ++i)
        entry::bind(u.side[static_cast<size_t>(i)].txtCorde, platform,
                    {.confirmed = [this, i] { txtCorde_KeyUp(i); },
                     .shown =
                         [this, i] {
                             computeCharacteristics(st().doc);
                             return double(st().doc.C.side(static_cast<Side>(i)).Corde);
                         }});
    entry::bind(u.txtEcartementZ, platform,
                {.confirmed = [this] { txtEcartementZ_KeyUp(); },
                 .shown = [this] { return double(st().doc.Ecartement); }});
    entry::bind(u.txtFleche, platform,
                {.confirmed = [this] { txtFleche_KeyUp(); }, .shown = [&c] { return double(c.FlecheBA); }});
    entry::bind(u.txtDiedreMm, platform,
                {.confirmed = [this] { txtDiedreMm_KeyUp(); }, .shown = [&c] { return double(c.DiedreMm); }});
    entry::bind(
        u.txtDiedreDeg, platform,
        {.confirmed = [this] { txtDiedreDeg_KeyUp(); }, .shown = [&c] { return double(c.DiedreDeg); }});
    entry::bind(u.txtEcartementIntermediaire, platform,
                {.confirmed = [this] { txtEcartementIntermediaire_KeyUp(); },
                 .shown = [this] { return double(st().EcartementIntermediaire); }});
    for (int i = 0; i < 3; ++i)
        connect(u.chkFleche[static_cast<size_t>(i)], &QCheckBox::toggled, this,
                [this, i] { chkFleche_Click(i); });
    for (int i = 0; i < 5; ++i)
        connect(u.chkDiedre[static_cast<size_t>(i)], &QCheckBox::toggled, this,
                [this, i] { chkDiedre_Click(i); });
    connect(u.chkAligner, &QCheckBox::toggled, this, [this] { chkAligner_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(u.cmdDupliquer[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdDupliquer_Click(i); });
    connect(u.chkProfilIntermediaire, &QCheckBox::toggled, this, [this] { chkProfilIntermediaire_Click(); });
}

// ---- keeping the boxes and st.layout in step

bool LayoutPart::mirrorOnly() const
{
    return m_syncing || m_ed.st.history.AnnulationEnCours;
}

void LayoutPart::syncBoxes()
{
    const LayoutState &ls = st().layout;
    m_syncing = true;
    for (int i = 0; i < 3; ++i)
        m_ed.setChecked(ui().chkFleche[static_cast<size_t>(i)], ls.sweepMode == i);
    for (int i = 0; i < 5; ++i)
        m_ed.setChecked(ui().chkDiedre[static_cast<size_t>(i)], ls.dihedralMode == i);
    m_ed.setChecked(ui().chkAligner, ls.aligned);
    m_syncing = false;
}

void LayoutPart::readModesFromBoxes()
{
    LayoutState &ls = st().layout;
    ls.sweepMode = -1;
    ls.dihedralMode = -1;
    for (int i = 0; i < 3; ++i)
        if (ui().chkFleche[static_cast<size_t>(i)]->isChecked())
            ls.sweepMode = i;
    for (int i = 0; i < 5; ++i)
        if (ui().chkDiedre[static_cast<size_t>(i)]->isChecked())
            ls.dihedralMode = i;
    ls.aligned = ui().chkAligner->isChecked();
}

void LayoutPart::snapshotBefore()
{
    WindowState w = m_ed.windowState();
    const LayoutState &ls = st().layout;
    w.sweepMode = static_cast<int16_t>(ls.sweepMode);
    w.dihedralMode = static_cast<int16_t>(ls.dihedralMode);
    w.alignment = ls.aligned;
    st().history.recordUnlessSuppressed(st().doc, w);
}

void LayoutPart::showPlacement()
{
    const Caracteristiques &c = st().doc.C;
    const LayoutState &ls = st().layout;
    m_ed.setBox(ui().txtFleche, ls.storedSweep, kFmtBox);
    m_ed.setBox(ui().lblFleche, double(c.E.XMax) - c.S.XMax, kFmtBox);
    m_ed.setBox(ui().txtDiedreMm, ls.storedDihedral, kFmtBox);
    m_ed.setBox(ui().txtDiedreDeg, ls.shownAngle, kFmtBox);
    m_ed.setBox(ui().lblDiedre, double(c.E.YMax) - c.S.YMax, kFmtBox);
}

// ---- the re-application

void LayoutPart::reapply()
{
    readModesFromBoxes();
    if (auto refusal = orv::reapplyLayout(st().doc, st().layout)) {
        // The reference points are gone: the alignment is switched off.
        m_ed.show(*refusal);
        syncBoxes();
        return;
    }
    showPlacement();
}

// ---- chord and spacing

void LayoutPart::txtCorde_KeyUp(int index)
{
    NumericBox *box = ui().side[static_cast<size_t>(index)].txtCorde;
    const float chord = entry::parse(box->text());
    Profils work = st().doc;
    if (auto refusal = setChord(work, static_cast<Side>(index), chord)) {
        m_ed.show(*refusal);
        box->selectAllText();
        return;
    }
    snapshotBefore();
    st().doc = std::move(work);
    m_ed.setBox(box, chord, kFmtBox);
    m_ed.finish({.reapplyLayout = true});
}

void LayoutPart::txtEcartementZ_KeyUp()
{
    const float spacing = entry::parse(ui().txtEcartementZ->text());
    Profils work = st().doc;
    LayoutState next = st().layout;
    if (auto refusal = setSpacing(work, next, spacing)) {
        m_ed.show(*refusal);
        ui().txtEcartementZ->selectAllText();
        return;
    }
    snapshotBefore();
    st().doc = std::move(work);
    st().layout = next;
    m_ed.setBox(ui().txtEcartementZ, st().doc.Ecartement, kFmtBox);
    m_ed.setBox(ui().txtDiedreDeg, st().layout.shownAngle, kFmtBox);
    m_ed.finish();
}

// ---- sweep

void LayoutPart::txtFleche_KeyUp()
{
    const float sweep = entry::parse(ui().txtFleche->text());
    snapshotBefore();
    typeSweep(st().doc, st().layout, sweep);
    syncBoxes();
    showPlacement();
    m_ed.finish();
}

void LayoutPart::chkFleche_Click(int index)
{
    LayoutState &ls = st().layout;
    if (!ui().chkFleche[static_cast<size_t>(index)]->isChecked()) {
        if (ls.sweepMode == index)
            ls.sweepMode = -1;
        return;
    }
    if (mirrorOnly()) {
        ls.sweepMode = index;
        ls.aligned = false;
        syncBoxes();
        return;
    }
    snapshotBefore();
    checkSweepMode(st().doc, ls, index);
    syncBoxes();
    showPlacement();
    m_ed.finish();
}

// ---- dihedral

void LayoutPart::txtDiedreMm_KeyUp()
{
    const float dihedral = entry::parse(ui().txtDiedreMm->text());
    snapshotBefore();
    typeDihedralMm(st().doc, st().layout, dihedral);
    syncBoxes();
    showPlacement();
    m_ed.finish();
}

void LayoutPart::txtDiedreDeg_KeyUp()
{
    const float degrees = entry::parse(ui().txtDiedreDeg->text());
    snapshotBefore();
    typeDihedralDeg(st().doc, st().layout, degrees);
    syncBoxes();
    showPlacement();
    m_ed.setBox(ui().txtDiedreDeg, degrees, kFmtBox);
    m_ed.finish();
}

void LayoutPart::chkDiedre_Click(int index)
{
    LayoutState &ls = st().layout;
    if (!ui().chkDiedre[static_cast<size_t>(index)]->isChecked()) {
        if (ls.dihedralMode == index)
            ls.dihedralMode = -1;
        return;
    }
    if (mirrorOnly()) {
        ls.dihedralMode = index;
        ls.aligned = false;
        syncBoxes();
        return;
    }
    snapshotBefore();
    checkDihedralMode(st().doc, ls, index);
    syncBoxes();
    showPlacement();
    m_ed.finish();
}

// ---- alignment

void LayoutPart::chkAligner_Click()
{
    LayoutState &ls = st().layout;
    if (!ui().chkAligner->isChecked()) {
        ls.aligned = false;
        return;
    }
    if (mirrorOnly()) {
        ls.aligned = true;
        ls.sweepMode = -1;
        ls.dihedralMode = -1;
        syncBoxes();
        return;
    }
    Profils work = st().doc;
    LayoutState next = ls;
    if (auto refusal = checkAlignment(work, next)) {
        m_ed.show(*refusal);
        ui().chkAligner->setChecked(false);
        return;
    }
    snapshotBefore();
    st().doc = std::move(work);
    ls = next;
    syncBoxes();
    showPlacement();
    m_ed.finish();
}

} // namespace orv
