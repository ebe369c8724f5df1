#include "editor/clipboard_part.h"

#include "core/clipboard.h"
#include "editor/point_editing_part.h"

#include <QToolButton>

namespace orv {

ClipboardPart::ClipboardPart(Editor &ed, PointEditingPart &editing) : Part(ed), m_editing(editing)
{
    MainWindowUi &u = ui();
    connect(u.cmdCopier, &QToolButton::clicked, this, [this] { cmdCopier_Click(); });
    connect(u.cmdCouper, &QToolButton::clicked, this, [this] { cmdCouper_Click(); });
    connect(u.cmdColler, &QToolButton::clicked, this, [this] { cmdColler_Click(); });
}

void ClipboardPart::cmdCopier_Click()
{
    copySelection(st().doc, st().clipboard);
    // The copied points lose their selection: a snapshot lets undo bring it back.
    m_ed.finish({.view = Finish::View::RedrawOnly});
}

void ClipboardPart::cmdCouper_Click()
{
    // The copy leaves the points selected for the delete, which closes the
    // command. A refused delete leaves the clipboard as it was, like the points.
    const Clipboard before = st().clipboard;
    cutSelection(st().doc, st().clipboard);
    if (!m_editing.cmdSupprimer_Click())
        st().clipboard = before;
}

void ClipboardPart::cmdColler_Click()
{
    m_ed.snapshot();
    const PasteResult r = paste(st().doc, st().clipboard);
    // The cursors reach the new points, keeping the current ones.
    if (r.changed())
        m_ed.fitCursors();
    m_ed.finish({.chords = true});
}

} // namespace orv
