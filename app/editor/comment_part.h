// The project comment: its box, its title and the check box that shows them.
#pragma once

#include "editor/part.h"

namespace orv {

class CommentPart : public Part {
public:
    explicit CommentPart(Editor &ed);
    void hideComment();
    void chkVoirCommentaires_Click();
};

} // namespace orv
