#include "editor/clipboard_part.h"

namespace orv {

ClipboardPart::ClipboardPart(Editor &ed, PointEditingPart &editing) : Part(ed), m_editing(editing) {}

} // namespace orv
