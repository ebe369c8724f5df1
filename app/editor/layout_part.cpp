#include "editor/layout_part.h"

namespace orv {

LayoutPart::LayoutPart(Editor &ed) : Part(ed) {}

} // namespace orv
