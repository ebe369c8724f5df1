// Profile smoothing (cmdLisser): every run of selected points, with the
// unselected point before and after it as anchors, is handed to the library's
// LissageSequence and the denser result is spliced back into the profile.
#pragma once

#include "core/document.h"
#include "core/notice.h"

#include <vextra.h>

#include <functional>
#include <optional>
#include <vector>

namespace orv {

// Smooths one run in place: resizes the buffer and returns the new count, or
// a negative library code. The window binds it to LissageSequence.
using SmoothRun = std::function<int32_t(std::vector<ContourPoint> &)>;

// The refusal when a profile has its first two or its last two points
// selected; nothing to refuse otherwise.
std::optional<Notice> smoothingGuard(const Profils &doc);

struct SmoothingResult {
    bool refused = false;             // the guard stopped the command
    bool changed[2] = {false, false}; // per Side
    int32_t runs = 0;                 // runs smoothed
    int32_t failedRuns = 0;           // runs the library refused, left as they were
    std::optional<Notice> notice;     // the guard's refusal, or one report of the failed runs
};

// Root then tip. A run starts at point i when points i+1 and i+2 are selected;
// its buffer runs from i to the first unselected point after the selection.
// The splice writes the m returned points from i on and moves the rest of the
// profile after them; the two anchors keep their own flags but bit 1, the
// points between them carry no mark. The scan reaches every run: it is
// bounded by the current count and resumes at the end anchor, so two runs
// separated by one unselected point are both smoothed. A run whose call fails
// (negative code, or fewer than two points) stays as it was.
SmoothingResult smoothSelection(Profils &doc, const SmoothRun &smooth);

} // namespace orv
