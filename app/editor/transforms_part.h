// The point transforms: mirror, stretch, rotation and move of the normally
// selected points, each profile about the centre of its own selection. The
// boxes are one-shot: a confirmed value is applied once and the box returns
// to its neutral value.
#pragma once

#include "editor/part.h"

namespace orv {

class TransformsPart : public Part {
public:
    explicit TransformsPart(Editor &ed);

    // 0 "Miroir vertical" (Y), 1 "Miroir horizontal" (X).
    void cmdSymetrie_Click(int index);
    // Enter released on text that passed the validator.
    void txtEtirer_KeyUp(int index);
    void txtTourner_KeyUp();
    void txtDeplacer_KeyUp(int index);

private:
    // The closing steps of stretch, rotation and move.
    void finishTransform();
};

} // namespace orv
