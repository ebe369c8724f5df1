// Airfoil coordinate files: a title line, then one "X Y" point a line.
// Selig files run trailing edge - upper surface - leading edge - lower
// surface; Lednicer files give both counts first and each surface from the
// leading edge, and are turned into the Selig order.
#include "readers/readers.h"
#include "foundation/text_input.h"

#include <cmath>
#include <string>
#include <vector>

namespace vx {

namespace {

struct DatPoint {
    double x, y;
};

bool isWholeCount(double v) { return v >= 2 && v <= 1e9 && std::floor(v) == v; }

// Lednicer layout: the first point is the pair of surface counts, followed by
// exactly that many points in two runs that start at the same X.
bool lednicerToSelig(std::vector<DatPoint> &pts)
{
    if (pts.size() < 5 || !isWholeCount(pts[0].x) || !isWholeCount(pts[0].y))
        return false;
    const size_t upper = static_cast<size_t>(pts[0].x);
    const size_t lower = static_cast<size_t>(pts[0].y);
    if (upper + lower != pts.size() - 1)
        return false;
    const DatPoint *up = &pts[1];
    const DatPoint *low = &pts[1 + upper];
    if (up[0].x != low[0].x)
        return false;
    std::vector<DatPoint> selig;
    selig.reserve(upper + lower);
    for (size_t i = upper; i-- > 0;)
        selig.push_back(up[i]);
    const size_t from = (low[0].y == up[0].y) ? 1 : 0; // the shared leading edge once
    for (size_t i = from; i < lower; ++i)
        selig.push_back(low[i]);
    pts.swap(selig);
    return true;
}

} // namespace

int readDat(const char *path, TitleBuffer &title, PointList &list)
{
    std::string text;
    const int loaded = loadFile(path, text);
    if (loaded == -105)
        return -105;
    if (loaded < 0)
        return loaded;

    bool titleWanted = title.blank();
    std::vector<DatPoint> pts;
    LineCursor lines(text);
    std::string_view line;
    while (lines.next(line)) {
        size_t pos = 0;
        double x = 0, y = 0;
        if (!parseDouble(line, pos, x)) {
            if (titleWanted) {
                if (!line.empty())
                    title.overwrite(line);
                titleWanted = false;
            }
            continue;
        }
        if (!parseDouble(line, pos, y, true))
            continue;
        pts.push_back({x, y});
        titleWanted = false;
    }
    lednicerToSelig(pts);
    for (const DatPoint &p : pts)
        appendPoint(list, p.x, p.y, 1);
    return pts.empty() ? 0 : 1;
}

} // namespace vx
