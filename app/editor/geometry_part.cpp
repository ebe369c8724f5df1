#include "editor/geometry_part.h"

namespace orv {

GeometryPart::GeometryPart(Editor &ed) : Part(ed) {}

} // namespace orv
