#include "editor/selection_part.h"

namespace orv {

SelectionPart::SelectionPart(Editor &ed) : Part(ed) {}

} // namespace orv
