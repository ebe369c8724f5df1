// Profile insertion splice.
#include "core/insertion.h"

#include "core/selection.h"

#include <stdexcept>
#include <vector>

namespace orv {

int32_t firstSelected(const ProfilePoints &points)
{
    int32_t found = 0;
    points.forEachRun([&found](int32_t first, std::span<const PointProfil> run) {
        for (size_t i = 0; i < run.size() && found == 0; ++i)
            if (run[i].has(kSelected))
                found = first + static_cast<int32_t>(i);
    });
    return found;
}

void spliceAfter(ProfilePoints &saved, int32_t k, const ProfilePoints &loaded)
{
    if (k < 1 || k > saved.count())
        throw std::out_of_range("spliceAfter: insertion point out of range");
    std::vector<PointProfil> inserted = loaded.toVector();
    inserted.push_back(saved[k]);
    for (PointProfil &p : inserted)
        p.Flags = kSelected;
    clearSelection(saved, kSelected);
    saved.insert(k + 1, inserted);
}

} // namespace orv
