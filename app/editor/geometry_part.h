// The geometry commands: optimal synchronization, cleaning, offset and smoothing.
#pragma once

#include "editor/part.h"

namespace orv {

class GeometryPart : public Part {
public:
    explicit GeometryPart(Editor &ed);
};

} // namespace orv
