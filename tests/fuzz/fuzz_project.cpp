// Feeds arbitrary bytes to the project reader as an ".orv" file: a damaged
// project is read as far as it is sound, never crashes, and what is kept
// survives a save and a reopen unchanged.
#include "editor/project_file.h"
#include "platform/ini_document.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace orv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const IniDocument file = IniDocument::parse(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    const ProjectRead first = readProject(file);
    if (first.refusal != ProjectRefusal::None)
        return 0;
    for (const ProfilePoints &side : first.data.points) {
        if (side.count() < 1)
            std::abort(); // an accepted project never leaves a side empty
        side.forEach([](int32_t, const PointProfil &p) {
            if (!std::isfinite(p.X) || !std::isfinite(p.Y))
                std::abort();
        });
    }

    IniDocument saved;
    writeProject(saved, first.data);
    const ProjectRead again = readProject(IniDocument::parse(saved.toBytes()));
    if (again.refusal != ProjectRefusal::None || again.damage.any())
        std::abort();
    for (int s = 0; s < 2; ++s) {
        const ProfilePoints &a = first.data.points[s], &b = again.data.points[s];
        if (a.count() != b.count())
            std::abort();
        a.forEach([&](int32_t i, const PointProfil &p) {
            const PointProfil &q = b[i];
            // Six decimals are written: values agree to their rounding.
            if (std::fabs(p.X - q.X) > 5e-7f * (1 + std::fabs(p.X)) || std::fabs(p.Y - q.Y) > 5e-7f * (1 + std::fabs(p.Y)) ||
                p.Flags != q.Flags)
                std::abort();
        });
    }
    return 0;
}
