#include "editor/transforms_part.h"

#include "core/transforms.h"
#include "editor/numeric_entry_box.h"

#include <QToolButton>

namespace orv {

namespace {
constexpr double kStretchNeutral = 100, kRotationNeutral = 0, kMoveNeutral = 0;
} // namespace

TransformsPart::TransformsPart(Editor &ed) : Part(ed)
{
    MainWindowUi &u = ui();
    for (int i = 0; i < 2; ++i)
        connect(u.cmdSymetrie[static_cast<size_t>(i)], &QToolButton::clicked, this, [this, i] { cmdSymetrie_Click(i); });
    for (int i = 0; i < 3; ++i)
        entry::bind(u.txtEtirer[static_cast<size_t>(i)], ed.platform,
                    {.confirmed = [this, i] { txtEtirer_KeyUp(i); }, .shown = [] { return kStretchNeutral; }});
    entry::bind(u.txtTourner, ed.platform,
                {.confirmed = [this] { txtTourner_KeyUp(); }, .shown = [] { return kRotationNeutral; }});
    for (int i = 0; i < 2; ++i)
        entry::bind(u.txtDeplacer[static_cast<size_t>(i)], ed.platform,
                    {.confirmed = [this, i] { txtDeplacer_KeyUp(i); }, .shown = [] { return kMoveNeutral; }});
}

void TransformsPart::finishTransform() { m_ed.finish({.reapplyLayout = true, .chords = true}); }

void TransformsPart::cmdSymetrie_Click(int index)
{
    if (index != 0 && index != 1)
        return;
    m_ed.snapshot();
    mirrorSelection(st().doc, index == 0 ? Mirror::Vertical : Mirror::Horizontal);
    // The mirror re-applies the layout before the characteristics.
    m_ed.finish({.reapplyLayout = true, .reapplyFirst = true, .chords = true});
}

void TransformsPart::txtEtirer_KeyUp(int index)
{
    m_ed.snapshot();
    if (hasSelection(st().doc)) {
        const float percent = entry::parse(ui().txtEtirer[static_cast<size_t>(index)]->text());
        for (NumericBox *box : ui().txtEtirer)
            entry::write(box, kStretchNeutral, kFmtBoxEntry);
        stretchSelection(st().doc, static_cast<Stretch>(index), percent);
    }
    finishTransform();
}

void TransformsPart::txtTourner_KeyUp()
{
    m_ed.snapshot();
    if (hasSelection(st().doc)) {
        const float degrees = entry::parse(ui().txtTourner->text());
        entry::write(ui().txtTourner, kRotationNeutral, kFmtBoxEntry);
        rotateSelection(st().doc, degrees);
    }
    finishTransform();
}

void TransformsPart::txtDeplacer_KeyUp(int index)
{
    // The move records no snapshot before its change.
    NumericBox *box = ui().txtDeplacer[static_cast<size_t>(index)];
    const float d = entry::parse(box->text());
    entry::write(box, kMoveNeutral, kFmtBoxEntry);
    moveSelection(st().doc, static_cast<Axis>(index), d);
    finishTransform();
}

} // namespace orv
