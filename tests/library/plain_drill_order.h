// The drill-hole ordering exactly as the file-order scan states it,
// quadratic: the reference the fast ordering is checked and timed against.
#pragma once

#include "order/drill_order.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace vxtest {

inline std::vector<vx::Hole> plainOrder(std::vector<vx::Hole> h)
{
    for (size_t i = 0; i < h.size(); ++i) {
        size_t best = h.size();
        double bestD = 9.99999999e107;
        for (size_t j = i + 1; j < h.size();) {
            const double dx = h[j].x - h[i].x, dy = h[j].y - h[i].y;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < 0.1) {
                h.erase(h.begin() + static_cast<std::ptrdiff_t>(j));
                continue;
            }
            if (d < bestD || (std::fabs(dy) < std::fabs(dx) && d < bestD + 0.1)) {
                best = j;
                bestD = d;
            }
            ++j;
        }
        if (best < h.size())
            std::rotate(h.begin() + static_cast<std::ptrdiff_t>(i + 1), h.begin() + static_cast<std::ptrdiff_t>(best),
                        h.begin() + static_cast<std::ptrdiff_t>(best + 1));
    }
    return h;
}

} // namespace vxtest
