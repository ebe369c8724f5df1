// EcrireFichier, Seq2File, EcrireFichier3D, Pt2File3D, EcrireGCode and
// Pt2GCode: lock the caller's arrays, pick the format and write.
#include "foundation/export_guard.h"
#include "foundation/text_input.h"
#include "foundation/vx_array.h"
#include "writers/gcode_path.h"
#include "writers/writer_common.h"

#include <new>

namespace vx {

namespace {

enum class OutFormat { None, Dat, Dxf };

OutFormat formatOf(char **fileName)
{
    if (!fileName || !*fileName)
        return OutFormat::None;
    const std::string_view name(*fileName);
    const size_t slash = name.find_last_of("/\\");
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return OutFormat::None;
    const std::string_view ext = name.substr(dot);
    if (equalsNoCase(ext, ".dat"))
        return OutFormat::Dat;
    if (equalsNoCase(ext, ".dxf"))
        return OutFormat::Dxf;
    return OutFormat::None;
}

// Running out of memory half-way is a failed write like any other.
template <typename Write> int checkedWrite(Write &&write)
{
    try {
        return write();
    } catch (const std::bad_alloc &) {
        return VX_ERR_CREATE;
    }
}

template <typename Record> int32_t writeProfile(VxArray **points, char **fileName, char **title)
{
    ArrayLock lock(points, sizeof(Record));
    if (!lock.ok())
        return lock.result();
    const OutFormat format = formatOf(fileName);
    if (format == OutFormat::None)
        return VX_ERR_EXTENSION;
    const RecordView view(elements<Record>(points), static_cast<size_t>((*points)->count));
    const std::string_view text = cutTitle(title);
    return checkedWrite([&] {
        return format == OutFormat::Dat ? writeDat(view, *fileName, text) : writeDxf(view, *fileName, text);
    });
}

// The two profiles of a panel differ in count.
bool countsDiffer(VxArray **first, VxArray **second)
{
    return first && *first && second && *second && (*first)->count != (*second)->count;
}

// Locks both profiles of a panel, the first then the second, and hands their
// records to `write`; a lock's failure code otherwise.
template <typename Record, typename Write> int32_t withPanel(VxArray **first, VxArray **second, Write &&write)
{
    ArrayLock lockFirst(first, sizeof(Record));
    if (!lockFirst.ok())
        return lockFirst.result();
    ArrayLock lockSecond(second, sizeof(Record));
    if (!lockSecond.ok())
        return lockSecond.result();
    const RecordView a(elements<Record>(first), static_cast<size_t>((*first)->count));
    const RecordView b(elements<Record>(second), static_cast<size_t>((*second)->count));
    return write(a, b);
}

template <typename Record> int32_t writePanel(VxArray **first, VxArray **second, char **fileName, float *span)
{
    // The counts are compared before anything else is looked at.
    if (countsDiffer(first, second))
        return VX_ERR_COUNT_MISMATCH;
    if (formatOf(fileName) != OutFormat::Dxf)
        return VX_ERR_EXTENSION;
    const float z = span ? *span : 0.0f;
    return withPanel<Record>(first, second, [&](const RecordView &a, const RecordView &b) {
        return checkedWrite([&] { return writeDxf3d(a, b, *fileName, z); });
    });
}

template <typename Record>
int32_t writeProgram(VxArray **root, VxArray **tip, char **fileName, const VxMachine *machine)
{
    if (countsDiffer(root, tip))
        return VX_ERR_GCODE_COUNTS;
    const char *path = fileName ? *fileName : nullptr;
    return withPanel<Record>(root, tip, [&](const RecordView &a, const RecordView &b) {
        if (const int r = checkMachine(machine))
            return r;
        return checkedWrite([&] { return writeGCode(a, b, path, *machine); });
    });
}

} // namespace

} // namespace vx

extern "C" {

int32_t EcrireFichier(VxArray **points, char **fileName, char **title)
{
    return vx::guarded([&] { return vx::writeProfile<ContourPoint>(points, fileName, title); });
}

int16_t Seq2File(VxArray **points, char **fileName, char **title)
{
    return static_cast<int16_t>(vx::guarded([&] { return vx::writeProfile<SequencePoint>(points, fileName, title); }));
}

int32_t EcrireFichier3D(VxArray **first, VxArray **second, char **fileName, float *span)
{
    return vx::guarded([&] { return vx::writePanel<ContourPoint>(first, second, fileName, span); });
}

int32_t Pt2File3D(VxArray **first, VxArray **second, char **fileName, float *span)
{
    return vx::guarded([&] { return vx::writePanel<SequencePoint>(first, second, fileName, span); });
}

int32_t EcrireGCode(VxArray **root, VxArray **tip, char **fileName, const VxMachine *machine)
{
    return vx::guarded([&] { return vx::writeProgram<ContourPoint>(root, tip, fileName, machine); });
}

int32_t Pt2GCode(VxArray **root, VxArray **tip, char **fileName, const VxMachine *machine)
{
    return vx::guarded([&] { return vx::writeProgram<SequencePoint>(root, tip, fileName, machine); });
}

} // extern "C"
