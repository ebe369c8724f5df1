// 3-D DXF of a panel: one 3DFACE between each pair of neighbouring points of
// the root (Z = 0) and the tip (Z = span).
#include "writers/writer_common.h"

#include <algorithm>

namespace vx {

int writeDxf3d(const RecordView &first, const RecordView &second, const char *path, float span)
{
    OutputFile out;
    if (!out.open(path))
        return VX_ERR_CREATE;
    for (std::string_view t : {"   0", "SECTION", "   2", "ENTITIES", "   0"})
        out.line(t);
    const size_t n = std::min(first.size(), second.size());
    for (size_t k = 0; k + 1 < n; ++k) {
        out.line("3DFACE");
        out.line("  10");
        out.numberLine(" ", first.x(k));
        out.line("  20");
        out.numberLine(" ", first.y(k));
        out.line("  30");
        out.numberLine(" ", 0.0);
        out.line("  11");
        out.numberLine(" ", second.x(k));
        out.line("  21");
        out.numberLine(" ", second.y(k));
        out.line("  31");
        out.numberLine(" ", span);
        out.line("  12");
        out.numberLine(" ", second.x(k + 1));
        out.line("  22");
        out.numberLine(" ", second.y(k + 1));
        out.line("  32");
        out.numberLine(" ", span);
        out.line("  13");
        out.numberLine(" ", first.x(k + 1));
        out.line("  23");
        out.numberLine(" ", first.y(k + 1));
        out.line("  33");
        out.numberLine(" ", 0.0);
        out.line("   0");
    }
    for (std::string_view t : {"ENDSEC", "   0", "EOF"})
        out.line(t);
    return out.commit() ? VX_OK : VX_ERR_CREATE;
}

} // namespace vx
