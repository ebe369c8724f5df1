// LireFichier and File2Seq: read a contour file in any handled format.
#include "cutting_order.h"
#include "export_guard.h"
#include "fill.h"
#include "readers.h"

namespace vx {

namespace {

// Reads the file into the working list in its final order; the count of
// nodes, or a negative code.
int readContours(char **fileName, char **title, PointList &out)
{
    if (!fileName || !*fileName)
        return VX_ERR_OPEN;
    const Format *format = formatFor(*fileName);
    if (!format)
        return VX_ERR_EXTENSION;
    if (!format->reader)
        return VX_ERR_SVG;
    TitleBuffer titleBuffer(title);
    PointList raw;
    const int read = format->reader(*fileName, titleBuffer, raw);
    if (read < 0)
        return read;
    dropUnusable(raw);
    if (read == 0 || raw.empty())
        return VX_ERR_NO_POINT;
    if (format->drawing)
        out = cuttingOrder(raw);
    else
        out.swap(raw);
    return out.empty() ? VX_ERR_NO_POINT : 1;
}

} // namespace

} // namespace vx

extern "C" {

int32_t LireFichier(VxArray **points, char **fileName, float *xMin, float *xMax, float *yMin, float *yMax,
                    char **title)
{
    return vx::guarded([&] {
        vx::PointList list;
        const int read = vx::readContours(fileName, title, list);
        if (read < 0)
            return read;
        const vx::Bounds bounds = vx::removeRepeats(list);
        vx::addPenUpPartners(list);
        return vx::fillContourArray(points, list, bounds, xMin, xMax, yMin, yMax);
    });
}

int32_t File2Seq(VxArray **points, char **fileName, float *xMin, float *xMax, float *yMin, float *yMax,
                 char **title)
{
    return vx::guarded([&] {
        vx::PointList list;
        const int read = vx::readContours(fileName, title, list);
        if (read < 0)
            return read;
        const vx::Bounds bounds = vx::removeRepeats(list);
        return vx::fillSequenceArray(points, list, bounds, xMin, xMax, yMin, yMax);
    });
}

int32_t Version(void) { return 64; }

int32_t SoudeSequences(void *, void *) { return 0; }

} // extern "C"
