// LireFichier and File2Seq: read a contour file in any handled format.
#include "order/cutting_order.h"
#include "readers/dxf_pieces.h"
#include "foundation/export_guard.h"
#include "order/fill.h"
#include "readers/readers.h"

namespace vx {

namespace {

enum class Records { Contour, Sequence };

struct Outputs {
    VxArray **points;
    float *xMin, *xMax, *yMin, *yMax;
};

int fill(Records kind, const Outputs &o, const CutPlan &plan, PieceSource &source)
{
    return kind == Records::Contour ? fillContourArray(o.points, plan, source, o.xMin, o.xMax, o.yMin, o.yMax)
                                    : fillSequenceArray(o.points, plan, source, o.xMin, o.xMax, o.yMin, o.yMax);
}

// A drawing put into cutting order; its pieces are read where they stand and
// the records filled straight from the contours.
int readDrawing(Records kind, const Format &format, const char *path, TitleBuffer &title, const Outputs &o)
{
    if (format.reader == readDxf) {
        // Curves stay descriptions, block bodies are kept once.
        dxf::DrawingPieces drawing;
        const int read = dxf::readDxfPieces(path, title, drawing);
        if (read < 0)
            return read;
        dxf::DrawingSource source(drawing);
        if (read == 0 || source.pieceCount() == 0)
            return VX_ERR_NO_POINT;
        const CutPlan plan = planCuttingOrder(source);
        return fill(kind, o, plan, source);
    }
    PointList raw;
    const int read = format.reader(path, title, raw);
    if (read < 0)
        return read;
    dropUnusable(raw);
    if (read == 0 || raw.empty())
        return VX_ERR_NO_POINT;
    ListPieces source(raw);
    const CutPlan plan = planCuttingOrder(source);
    return fill(kind, o, plan, source);
}

int readFile(Records kind, char **fileName, char **title, const Outputs &o)
{
    if (!fileName || !*fileName)
        return VX_ERR_OPEN;
    const Format *format = formatFor(*fileName);
    if (!format)
        return VX_ERR_EXTENSION;
    if (!format->reader)
        return VX_ERR_SVG;
    TitleBuffer titleBuffer(title);
    if (format->drawing)
        return readDrawing(kind, *format, *fileName, titleBuffer, o);
    // A file of one contour keeps its points in file order.
    PointList list;
    const int read = format->reader(*fileName, titleBuffer, list);
    if (read < 0)
        return read;
    dropUnusable(list);
    if (read == 0 || list.empty())
        return VX_ERR_NO_POINT;
    const Bounds bounds = removeRepeats(list);
    if (kind == Records::Sequence)
        return fillSequenceArray(o.points, list, bounds, o.xMin, o.xMax, o.yMin, o.yMax);
    addPenUpPartners(list);
    return fillContourArray(o.points, list, bounds, o.xMin, o.xMax, o.yMin, o.yMax);
}

} // namespace

} // namespace vx

extern "C" {

int32_t LireFichier(VxArray **points, char **fileName, float *xMin, float *xMax, float *yMin, float *yMax,
                    char **title)
{
    return vx::guarded(
        [&] { return vx::readFile(vx::Records::Contour, fileName, title, {points, xMin, xMax, yMin, yMax}); });
}

int32_t File2Seq(VxArray **points, char **fileName, float *xMin, float *xMax, float *yMin, float *yMax,
                 char **title)
{
    return vx::guarded(
        [&] { return vx::readFile(vx::Records::Sequence, fileName, title, {points, xMin, xMax, yMin, yMax}); });
}

int32_t Version(void) { return 64; }

int32_t SoudeSequences(void *, void *) { return 0; }

} // extern "C"
