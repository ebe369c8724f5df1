// The point-editing commands: delete, insert mid-points, create an intersection, renumber.
#pragma once

#include "editor/part.h"

namespace orv {

class PointEditingPart : public Part {
public:
    explicit PointEditingPart(Editor &ed);
};

} // namespace orv
