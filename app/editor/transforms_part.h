// The point transforms: mirror, stretch, rotation and move of the selected points.
#pragma once

#include "editor/part.h"

namespace orv {

class TransformsPart : public Part {
public:
    explicit TransformsPart(Editor &ed);
};

} // namespace orv
