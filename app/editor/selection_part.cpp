#include "editor/selection_part.h"

#include "core/selection.h"

#include <QPushButton>
#include <QToolButton>

namespace orv {

namespace {
Side sideOf(int index) { return index == 0 ? Emplanture : Saumon; }
} // namespace

SelectionPart::SelectionPart(Editor &ed) : Part(ed)
{
    MainWindowUi &u = ui();
    for (int i = 0; i < 2; ++i) {
        const size_t k = static_cast<size_t>(i);
        connect(u.cmdRAZSelection[k], &QPushButton::clicked, this, [this, i] { cmdRAZSelection_Click(i); });
        connect(u.cmdSelectAll[k], &QPushButton::clicked, this, [this, i] { cmdSelectAll_Click(i); });
        connect(u.cmdSelectionAngle[k], &QPushButton::clicked, this, [this, i] { cmdSelectionAngle_Click(i); });
    }
    for (int i = 0; i < 4; ++i)
        connect(u.cmdSelectionAuto[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdSelectionAuto_Click(i); });
    connect(u.cmdInverserSelection, &QToolButton::clicked, this, [this] { cmdInverserSelection_Click(); });
}

void SelectionPart::finishSelection(bool changed)
{
    m_ed.finish({.view = Finish::View::RedrawOnly, .snapshot = changed});
    m_ed.realignRule();
}

void SelectionPart::cmdRAZSelection_Click(int index)
{
    if (index != 0 && index != 1)
        return;
    finishSelection(clearSelection(st().doc.points(sideOf(index)), st().sel.SelectionActive) > 0);
}

void SelectionPart::cmdSelectAll_Click(int index)
{
    if (index != 0 && index != 1)
        return;
    finishSelection(selectAll(st().doc.points(sideOf(index)), st().sel.SelectionActive) > 0);
}

void SelectionPart::cmdSelectionAuto_Click(int index)
{
    m_ed.snapshot();
    selectExtremes(st().doc, index, st().sel.SelectionActive);
    m_ed.finish();
    m_ed.realignRule();
}

void SelectionPart::cmdSelectionAngle_Click(int index)
{
    m_ed.snapshot();
    if (ProfilePoints *points = cornerTarget(st().doc, index))
        selectCorners(*points, st().sel.SelectionActive);
    // The alignment runs on the new reference points before the snapshot.
    m_ed.realignRule();
    m_ed.finish({.view = Finish::View::RedrawOnly});
}

void SelectionPart::cmdInverserSelection_Click()
{
    m_ed.snapshot();
    reverseSelectedRuns(st().doc.PointsE);
    reverseSelectedRuns(st().doc.PointsS);
    m_ed.finish();
}

} // namespace orv
