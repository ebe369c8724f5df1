// The wing layout: chord, spacing, sweep, dihedral, alignment, the layout
// re-application after shape changes, two wings in one block and the
// intermediate profile. The check boxes and st.layout are kept in step.
#pragma once

#include "editor/part.h"

namespace orv {

// The entry handlers (_KeyUp) run once the box's text has passed the
// validator; each box shows the document's value again when it loses the focus.
class LayoutPart : public Part {
public:
    explicit LayoutPart(Editor &ed);

    void txtCorde_KeyUp(int index);
    void txtEcartementZ_KeyUp();
    void txtFleche_KeyUp();
    void chkFleche_Click(int index);
    void txtDiedreMm_KeyUp();
    void txtDiedreDeg_KeyUp();
    void chkDiedre_Click(int index);
    void chkAligner_Click();
    void cmdDupliquer_Click(int index);
    void chkProfilIntermediaire_Click();
    void txtEcartementIntermediaire_KeyUp();

    // The layout re-application (Editor::reapplyLayout): the alignment again
    // when it is on, otherwise each checked mode recomputed and the stored
    // sweep and dihedral re-applied where no mode is checked. It records
    // nothing and does not redraw: the command that calls it does both.
    void reapply();

private:
    void connectHandlers();
    // A box changed from code while a restore runs, or by syncBoxes: its
    // handler only follows it in st.layout.
    bool mirrorOnly() const;
    // Unchecks every box that st.layout no longer has checked.
    void syncBoxes();
    void readModesFromBoxes();
    // The snapshot before a change, with the layout boxes as they were
    // before the click that runs the handler.
    void snapshotBefore();
    // Sweep and dihedral boxes and their two labels from st.layout.
    void showPlacement();
    void lockForIntermediate(bool locked);

    bool m_syncing = false;
};

} // namespace orv
