// Copy, cut and paste of the normally selected points.
#pragma once

#include "editor/part.h"

namespace orv {

class PointEditingPart;

class ClipboardPart : public Part {
public:
    ClipboardPart(Editor &ed, PointEditingPart &editing);

    void cmdCopier_Click();
    void cmdCouper_Click();
    void cmdColler_Click();

private:
    PointEditingPart &m_editing;
};

} // namespace orv
