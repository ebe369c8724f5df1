// Excellon-style drill files (".drd", ".drl"): every hole becomes a
// one-point contour, in nearest-neighbour order from the first hole.
#include "order/drill_order.h"
#include "readers/readers.h"
#include "foundation/text_input.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace vx {

namespace {

// Millimetres per file unit, as the single-precision values they were.
const double kMetric = static_cast<double>(0.001f); // three implied decimals
const double kInch = static_cast<double>(0.00254f); // four implied decimals
constexpr double kUsable = 1e30;
constexpr size_t kMaxHoles = 0x3FFFFFFF;

size_t digitsAfterSign(std::string_view text, size_t pos)
{
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    size_t n = 0;
    while (pos + n < text.size() && text[pos + n] >= '0' && text[pos + n] <= '9')
        ++n;
    return n;
}

bool usable(double v) { return std::fabs(v) <= kUsable; }

} // namespace

int readDrill(const char *path, TitleBuffer &, PointList &list)
{
    std::string text;
    const int loaded = loadFile(path, text);
    if (loaded < 0)
        return loaded;

    double factor = kInch;
    bool formatDecided = false;
    std::vector<Hole> holes;
    LineCursor lines(text);
    std::string_view line;
    while (lines.next(line) && holes.size() < kMaxHoles) {
        if (equalsNoCase(line, "M71") || startsWithNoCase(line, "METRIC")) {
            factor = kMetric;
        } else if (equalsNoCase(line, "M72") || equalsNoCase(line, "INCH")) {
            factor = kInch;
        } else if (!line.empty() && line[0] == 'X') {
            if (!formatDecided) {
                formatDecided = true;
                if (line.find('.') != std::string_view::npos)
                    factor *= 1000;
                else if (digitsAfterSign(line, 1) == 6)
                    factor /= 10;
            }
            size_t pos = 1;
            double x = 0, y = 0;
            if (!parseDouble(line, pos, x) || pos >= line.size() || line[pos] != 'Y')
                continue;
            ++pos;
            if (!parseDouble(line, pos, y))
                continue;
            const Hole h{x * factor, y * factor};
            // A hole beyond any usable size would be dropped later anyway;
            // leaving it out keeps the ordering's arithmetic finite.
            if (usable(h.x) && usable(h.y))
                holes.push_back(h);
        }
    }

    const std::vector<Hole> ordered = orderHoles(holes);
    int32_t number = 0;
    for (const Hole &h : ordered)
        appendPoint(list, h.x, h.y, ++number);
    return list.empty() ? 0 : 1;
}

} // namespace vx
