// The geometry commands: optimal synchronization, cleaning, offset and smoothing.
#pragma once

#include "core/smoothing.h"
#include "editor/part.h"

namespace orv {

class GeometryPart : public Part {
public:
    explicit GeometryPart(Editor &ed);

    void cmdSynchroOptimale_Click();
    void cmdNettoyage_Click();
    // Once the text has passed the validator.
    void txtDecaler_KeyUp();
    void cmdLisser_Click();

    // Smooths one run for cmdLisser: LissageSequence of the library.
    SmoothRun smoothRun;
};

} // namespace orv
