#include "editor/comment_part.h"

#include <QCheckBox>
#include <QLineEdit>

namespace orv {

CommentPart::CommentPart(Editor &ed) : Part(ed)
{
    QObject::connect(ui().chkVoirCommentaires, &QCheckBox::toggled, this, [this](bool) { chkVoirCommentaires_Click(); });
}

void CommentPart::hideComment()
{
    ui().chkVoirCommentaires->setChecked(false);
    ui().txtCommentaire->setVisible(false);
    ui().txtTitreCommentaire->setVisible(false);
}

void CommentPart::chkVoirCommentaires_Click()
{
    const bool show = ui().chkVoirCommentaires->isChecked();
    ui().txtCommentaire->setVisible(show);
    ui().txtTitreCommentaire->setVisible(show);
}

} // namespace orv
