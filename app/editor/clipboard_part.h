// Copy, cut and paste of selected points.
#pragma once

#include "editor/part.h"

namespace orv {

class PointEditingPart;

class ClipboardPart : public Part {
public:
    ClipboardPart(Editor &ed, PointEditingPart &editing);

private:
    PointEditingPart &m_editing;
};

} // namespace orv
