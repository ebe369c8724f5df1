// Point transforms of the normal selection (bit 1) of both profiles: mirror,
// stretch, rotation and move. Each profile turns about its own pivot, the
// centre of the box of its selected points; a profile without selection is
// left alone. New coordinates are computed in double precision from the old
// ones and stored as 32-bit floats; Flags travel unchanged.
#pragma once

#include "core/document.h"

namespace orv {

struct TransformResult {
    bool moved[2] = {false, false}; // per Side: the profile had selected points
    bool any() const { return moved[0] || moved[1]; }
};

// True when either profile has a selected point. Stretch and rotation leave
// their box alone (the typed text stays) when there is none.
bool hasSelection(const Profils &doc);

// cmdSymetrie(index): 0 "Miroir vertical" mirrors Y about the pivot's Y,
// 1 "Miroir horizontal" mirrors X about the pivot's X.
enum class Mirror { Vertical = 0, Horizontal = 1 };
TransformResult mirrorSelection(Profils &doc, Mirror mirror);

// txtEtirer(index): 0 along X, 1 along Y, 2 both; p in percent (100: no change).
enum class Stretch { X = 0, Y = 1, Both = 2 };
TransformResult stretchSelection(Profils &doc, Stretch axis, double percent);

// txtTourner: counter-clockwise by `degrees` (Y axis up) about each pivot.
TransformResult rotateSelection(Profils &doc, double degrees);

// txtDeplacer(index): 0 along X, 1 along Y, by d mm; no pivot.
enum class Axis { X = 0, Y = 1 };
TransformResult moveSelection(Profils &doc, Axis axis, double d);

} // namespace orv
