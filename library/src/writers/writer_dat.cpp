// Airfoil ".dat" files: an optional title line, then "X<TAB>Y" lines of the
// profile normalised to a chord of 1.
#include "writers/writer_common.h"

#include <algorithm>

namespace vx {

namespace {

struct Extent {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
};

Extent extentOf(const RecordView &pts)
{
    Extent e;
    if (pts.size() == 0)
        return e;
    e.minX = e.maxX = pts.x(0);
    e.minY = e.maxY = pts.y(0);
    for (size_t i = 1; i < pts.size(); ++i) {
        const double x = pts.x(i), y = pts.y(i);
        e.minX = std::min(e.minX, x);
        e.maxX = std::max(e.maxX, x);
        e.minY = std::min(e.minY, y);
        e.maxY = std::max(e.maxY, y);
    }
    return e;
}

} // namespace

int writeDat(const RecordView &pts, const char *path, std::string_view title)
{
    OutputFile out;
    if (!out.open(path))
        return VX_ERR_CREATE;
    const Extent e = extentOf(pts);
    const double w = e.maxX - e.minX;
    const double h = e.maxY - e.minY;
    if (!title.empty())
        out.line(title);
    std::string text;
    for (size_t i = 0; i < pts.size(); ++i) {
        const double x = pts.x(i), y = pts.y(i);
        double nx, ny;
        if (w == 0 && h == 0) {
            // A point, or points all in one place: nothing to scale by.
            nx = x - e.minX;
            ny = y - e.minY;
        } else if (h / 2 <= w) {
            nx = (x - e.minX) / w;
            ny = (y - (e.maxY + e.minY) / 2) / w;
        } else {
            // Half the height, not the middle: the same when minY is 0.
            nx = 2 * (x - e.minX) / h;
            ny = 2 * (y - h / 2) / h;
        }
        text.clear();
        appendFixed(text, nx);
        text += '\t';
        appendFixed(text, ny);
        out.line(text);
    }
    return out.commit() ? VX_OK : VX_ERR_CREATE;
}

} // namespace vx
