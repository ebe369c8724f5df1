// The mouse in the drawing area: selection and zoom rectangles, clicks, pan
// and the drag of selected points in the side view.
#pragma once

#include "editor/part.h"

namespace orv {

class DrawingPart;

class MousePart : public Part {
public:
    MousePart(Editor &ed, DrawingPart &drawing);

private:
    DrawingPart &m_drawing;
};

} // namespace orv
