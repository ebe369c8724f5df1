// 2-D DXF: one POLYLINE a contour on layer "0", coordinates as they are, and
// the title as a TEXT under the drawing.
#include "writers/writer_common.h"

#include <algorithm>

namespace vx {

namespace {

constexpr std::string_view kPolylineHeader[] = {
    "   0", "POLYLINE", "   8", "0",    "  66", " 1",   "   6", "Continuous", "  10",
    " 0.0", "  20",     " 0.0", "  30", " 0.0", "  70", " 128", "   0",
};

void lines(OutputFile &out, std::initializer_list<std::string_view> texts)
{
    for (std::string_view t : texts)
        out.line(t);
}

} // namespace

int writeDxf(const RecordView &pts, const char *path, std::string_view title)
{
    OutputFile out;
    if (!out.open(path))
        return VX_ERR_CREATE;
    lines(out, {"   0", "SECTION", "   2", "ENTITIES"});
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const float x = pts.x(i), y = pts.y(i);
        if (pts.startsContour(i)) {
            if (i > 0)
                out.line("SEQEND");
            for (std::string_view t : kPolylineHeader)
                out.line(t);
        }
        lines(out, {"VERTEX", "   8", "0", "   6", "Continuous", "  10"});
        out.numberLine(" ", x);
        out.line("  20");
        out.numberLine(" ", y);
        lines(out, {"  30", " 0.0", "   0"});
        if (i == 0) {
            minX = maxX = x;
            minY = maxY = y;
        } else {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    lines(out, {"SEQEND", "   0"});
    if (!title.empty()) {
        // The height is a single-precision value (the width in double first,
        // so that a drawing as wide as the float range cannot overflow).
        const auto h = static_cast<float>((static_cast<double>(maxX) - minX) / 50.0);
        lines(out, {"TEXT", "   8", "0", "  10"});
        out.numberLine(" ", minX);
        out.line("  20");
        out.numberLine(" ", static_cast<double>(minY) - 2.0 * static_cast<double>(h));
        lines(out, {"  30", " 0.0", "  40"});
        out.numberLine(" ", h);
        out.line("  1");
        std::string text(" ");
        text.append(title);
        out.line(text);
        out.line("   0");
    }
    lines(out, {"ENDSEC", "   0", "EOF"});
    return out.commit() ? VX_OK : VX_ERR_CREATE;
}

} // namespace vx
