// Feeds arbitrary bytes to the readers of the cutting program's files: a
// Sorvane project (".sv") and the titles of the exchange files. An accepted
// project always has points on both sides, finite numbers and a spacing.
#include "editor/exchange_files.h"
#include "platform/text_codec.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace orv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = decodeText(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (const std::optional<TipTitle> t = parseTipTitle(text)) {
        if (!(t->chord >= 0) || !std::isfinite(t->sweep) || !std::isfinite(t->dihedral) || !std::isfinite(t->spacing))
            std::abort();
    }
    if (const std::optional<float> chord = rootTitleChord(text); chord && !(*chord >= 0 && std::isfinite(*chord)))
        std::abort();

    const SorvaneRead read = readSorvaneProject(text);
    if (!read.project) {
        if (read.problem.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    const SorvaneProject &p = *read.project;
    if (!(p.spacing > 0) || !std::isfinite(p.sweep) || !std::isfinite(p.dihedral()))
        std::abort();
    for (const SorvaneSide &side : p.sides) {
        if (side.points.empty() || !std::isfinite(side.heightFactor) || !std::isfinite(side.twist))
            std::abort();
        for (const PointProfil &q : side.points)
            if (!std::isfinite(q.X) || !std::isfinite(q.Y))
                std::abort();
    }
    return 0;
}
