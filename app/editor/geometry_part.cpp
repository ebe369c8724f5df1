// The geometry commands of the main window: each runs its core routine on
// the document, shows the messages it returns and ends with the closing steps.
#include "editor/geometry_part.h"

#include "core/characteristics.h"
#include "core/cleaning.h"
#include "core/offset.h"
#include "core/smoothing.h"
#include "core/synchronization.h"
#include "editor/numeric_entry_box.h"
#include "editor/widgets.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QToolButton>

namespace orv {

GeometryPart::GeometryPart(Editor &ed) : Part(ed)
{
    MainWindowUi &u = ui();
    connect(u.cmdSynchroOptimale, &QToolButton::clicked, this, [this] { cmdSynchroOptimale_Click(); });
    connect(u.cmdNettoyage, &QToolButton::clicked, this, [this] { cmdNettoyage_Click(); });
    connect(u.cmdLisser, &QToolButton::clicked, this, [this] { cmdLisser_Click(); });
    entry::bind(u.txtDecaler, ed.platform,
                {.confirmed = [this] { txtDecaler_KeyUp(); }, .shown = [] { return 0.0; }});
    const VextraLibrary &library = ed.library;
    smoothRun = [&library](std::vector<ContourPoint> &run) { return library.lissageSequence(run); };
}

void GeometryPart::cmdSynchroOptimale_Click()
{
    ui().optSelection[2]->setChecked(true); // the "Points de Synchro" layer
    const SyncResult r = synchronizeOptimal(st().doc);
    if (!r.synchronized) {
        if (r.endsMarked)
            m_ed.redraw(); // the end points now show their marks
        if (r.notice)
            m_ed.show(*r.notice);
        return;
    }
    m_ed.finish({.cursors = true});
    if (ui().chkFil->isEnabled() && ui().chkSurface->isEnabled()) {
        ui().chkFil->setChecked(true);
        ui().chkSurface->setChecked(true);
    }
    m_ed.show(r.notice ? *r.notice : synchronizationDoneNotice());
}

void GeometryPart::cmdNettoyage_Click()
{
    EditorState &s = st();
    m_ed.snapshot();
    computeCharacteristics(s.doc);
    bool synchronous = false;
    if (cleaningOffersChoice(s.doc))
        synchronous = m_ed.show(cleaningQuestion()) == MessageButton::Yes;
    const CleaningResult r = synchronous
                                 ? cleanSynchronous(s.doc)
                                 : cleanTotal(s.doc, s.PointsLus, s.ToleranceLecture, s.DiviseurTolerance);
    if (r.notice)
        m_ed.show(*r.notice);
    s.PointsLus.resize(1);
    m_ed.finish({.cursors = true, .view = Finish::View::Rebuild});
}

void GeometryPart::txtDecaler_KeyUp()
{
    NumericBox *box = ui().txtDecaler;
    const float d = entry::parse(box->text());
    m_ed.snapshot();
    m_ed.setBox(box, d, kFmtBox);
    const OffsetResult r = offsetSelection(st().doc, d);
    for (const Notice &n : r.notices)
        m_ed.show(n);
    m_ed.finish({.reapplyLayout = true, .chords = true, .cursors = true});
}

void GeometryPart::cmdLisser_Click()
{
    // Refused before the snapshot: a refusal leaves the forward history alone.
    if (auto refusal = smoothingGuard(st().doc)) {
        m_ed.show(*refusal);
        return;
    }
    m_ed.snapshot();
    const SmoothingResult r = smoothSelection(st().doc, smoothRun);
    if (r.notice)
        m_ed.show(*r.notice);
    m_ed.fitCursors();
    m_ed.finish();
}

} // namespace orv
