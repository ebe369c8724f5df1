#include "editor/transforms_part.h"

namespace orv {

TransformsPart::TransformsPart(Editor &ed) : Part(ed) {}

} // namespace orv
