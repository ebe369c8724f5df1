// Profile insertion: a second contour spliced into a profile after one of its
// points, with a return to that point, so that the wire leaves the first
// contour there, runs around the inserted one and comes back.
#pragma once

#include "core/document.h"

#include <cstdint>

namespace orv {

// Number of the first point with the normal selection bit, 0 when none.
int32_t firstSelected(const ProfilePoints &points);

// saved := saved 1..k, the loaded contour, a copy of saved point k, saved
// k+1..m. The n+1 inserted points carry Flags 1 (selected); the saved points
// lose their selection bit and keep their reference and synchronization bits.
// 1 <= k <= saved.count(); an empty loaded contour still brings the copy of k.
void spliceAfter(ProfilePoints &saved, int32_t k, const ProfilePoints &loaded);

} // namespace orv
