#include "editor/mouse_part.h"

namespace orv {

MousePart::MousePart(Editor &ed, DrawingPart &drawing) : Part(ed), m_drawing(drawing) {}

} // namespace orv
