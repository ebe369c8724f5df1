// Wing layout handlers, continued: two wings in one block and the
// intermediate profile with the lock of the editing controls it brings.
#include "core/layout.h"
#include "editor/layout_part.h"
#include "editor/numeric_entry_box.h"
#include "editor/widgets.h"

#include <QCheckBox>
#include <QToolButton>

namespace orv {

void LayoutPart::cmdDupliquer_Click(int index)
{
    NumericBox *box = ui().txtEcartementAiles;
    if (!entry::validate(m_ed.platform, box, QStringLiteral("Erreur de saisie de l'écartement")))
        return;
    const float gap = entry::parse(box->text());
    snapshotBefore();
    entry::write(box, gap, kFmtBoxEntry);
    if (index == 0) {
        duplicateMirrored(st().doc, gap);
    } else {
        duplicateHeadToTail(st().doc, st().layout, gap);
        // The negated dihedral is typed, as it were, in txtDiedreMm: the
        // dihedral modes and the alignment go off with it.
        st().layout.dihedralMode = -1;
        st().layout.aligned = false;
        syncBoxes();
        showPlacement();
    }
    m_ed.fitCursors();
    m_ed.finish();
}

// ---- intermediate profile

void LayoutPart::lockForIntermediate(bool locked)
{
    MainWindowUi &u = ui();
    m_ed.enableEditing(!locked);
    u.cmdOuvrirProfil[0]->setEnabled(!locked);
    u.cmdImportSorvane->setEnabled(!locked); // it would replace the document under the intermediate profile
    u.chkProfilIntermediaire->setEnabled(true);
    u.txtEcartementIntermediaire->setEnabled(locked);
    if (!locked)
        u.cmdSauveProfil[3]->setEnabled(false);
}

void LayoutPart::chkProfilIntermediaire_Click()
{
    if (ui().chkProfilIntermediaire->isChecked()) {
        lockForIntermediate(true);
        return;
    }
    lockForIntermediate(false);
    // A profile built for another document must not come back when the box
    // is ticked again: it is built anew from the spacing entry.
    st().intermediate = ProfilePoints();
    m_ed.refreshKeepingZoom();
}

void LayoutPart::txtEcartementIntermediaire_KeyUp()
{
    NumericBox *box = ui().txtEcartementIntermediaire;
    const float distance = entry::parse(box->text());
    st().EcartementIntermediaire = distance;
    m_ed.setBox(box, distance, kFmtBox);
    IntermediateResult r = intermediateProfile(st().doc, distance);
    if (r.notice) {
        m_ed.show(*r.notice);
        st().EcartementIntermediaire = 0;
        m_ed.setBox(box, 0, kFmtBox);
        box->selectAllText();
        // The export would otherwise write the last profile with a spacing of 0.
        st().intermediate = ProfilePoints();
        ui().cmdSauveProfil[3]->setEnabled(false);
        m_ed.refreshKeepingZoom();
        return;
    }
    st().intermediate = std::move(*r.points);
    m_ed.refreshKeepingZoom();
    ui().cmdSauveProfil[3]->setEnabled(true);
}

} // namespace orv
