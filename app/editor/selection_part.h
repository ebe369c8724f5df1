// The selection commands: clear, select all, extreme points, corners and the reversal of selected runs.
#pragma once

#include "editor/part.h"

namespace orv {

class SelectionPart : public Part {
public:
    explicit SelectionPart(Editor &ed);
};

} // namespace orv
