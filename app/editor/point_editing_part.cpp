#include "editor/point_editing_part.h"

namespace orv {

PointEditingPart::PointEditingPart(Editor &ed) : Part(ed) {}

} // namespace orv
