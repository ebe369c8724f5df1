#include "editor/point_editing_part.h"

#include "core/point_editing.h"

#include <QToolButton>

namespace orv {

PointEditingPart::PointEditingPart(Editor &ed) : Part(ed)
{
    MainWindowUi &u = ui();
    connect(u.cmdSupprimer, &QToolButton::clicked, this, [this] { cmdSupprimer_Click(); });
    connect(u.cmdInsererPoint, &QToolButton::clicked, this, [this] { cmdInsererPoint_Click(); });
    connect(u.cmdIntersection, &QToolButton::clicked, this, [this] { cmdIntersection_Click(); });
    connect(u.cmdRenumeroter, &QToolButton::clicked, this, [this] { cmdRenumeroter_Click(); });
}

// The commands run on a copy of the document (copies share their storage),
// so that a refusal records nothing and keeps the forward history.

bool PointEditingPart::cmdSupprimer_Click()
{
    Profils work = st().doc;
    const EditResult r = deleteSelectedPoints(work);
    for (const Notice &n : r.notices)
        m_ed.show(n);
    if (!r.notices.empty()) {
        st().history.endCommand();
        return false;
    }
    m_ed.snapshot();
    st().doc = std::move(work);
    m_ed.finish({.reapplyLayout = true, .chords = true, .cursors = true});
    return true;
}

void PointEditingPart::cmdInsererPoint_Click()
{
    m_ed.snapshot();
    insertMidPoints(st().doc);
    m_ed.finish({.cursors = true});
}

void PointEditingPart::cmdIntersection_Click()
{
    Profils work = st().doc;
    const EditResult r = createIntersection(work);
    if (!r.anyChange()) {
        for (const Notice &n : r.notices)
            m_ed.show(n);
        st().history.endCommand();
        return;
    }
    m_ed.snapshot();
    st().doc = std::move(work);
    for (const Notice &n : r.notices)
        m_ed.show(n);
    m_ed.finish({.cursors = true});
}

void PointEditingPart::cmdRenumeroter_Click()
{
    m_ed.snapshot();
    int32_t current[2] = {st().sel.PointCourantE, st().sel.PointCourantS};
    renumberFromCurrent(st().doc, current, st().ToleranceLecture);
    st().sel.PointCourantE = current[0];
    st().sel.PointCourantS = current[1];
    m_ed.finish({.cursors = true});
}

} // namespace orv
