// The wing layout: chord, spacing, sweep, dihedral, alignment, two wings and the intermediate profile.
#pragma once

#include "editor/part.h"

namespace orv {

class LayoutPart : public Part {
public:
    explicit LayoutPart(Editor &ed);
};

} // namespace orv
