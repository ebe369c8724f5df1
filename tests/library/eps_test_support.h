// Helpers for the PostScript reader tests: an outline read from a body
// behind the PostScript first line, and its nodes as text.
#pragma once

#include "readers/readers.h"
#include "test_support.h"

#include <cstdio>
#include <string>

namespace epstest {

inline constexpr const char *kHeader = "%!PS-Adobe-3.0 EPSF-3.0\n";

inline vx::PointList readOutline(const vxtest::TempDir &dir, const std::string &body, int *result = nullptr)
{
    vx::PointList list;
    char *none = nullptr;
    vx::TitleBuffer title(&none);
    const int r = vx::readEps(dir.write("p.eps", kHeader + body).c_str(), title, list);
    if (result)
        *result = r;
    return list;
}

// "x,y/c" for each node, in millimetres to four decimals.
inline std::string describe(const vx::PointList &list)
{
    std::string s;
    for (const vx::Node &n : list) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "%s%.4f,%.4f/%d", s.empty() ? "" : " ", n.x, n.y, n.contour);
        s += buf;
    }
    return s;
}

} // namespace epstest
