// PostScript outlines (".eps"): the path operators of flattened PostScript,
// read token by token, in points (1/72 inch) converted to millimetres.
#include "readers/readers.h"
#include "foundation/text_input.h"

#include <array>
#include <string>

namespace vx {

namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;
constexpr size_t kOperands = 10;

struct Transform {
    double tx = 0, ty = 0; // millimetres
    double sx = 1, sy = 1;
    double angle = 0; // kept for gsave/grestore, never applied
};

class OutlineReader {
public:
    explicit OutlineReader(PointList &list) : m_list(list) {}

    void token(std::string_view t)
    {
        double v = 0;
        if (parseWholeDouble(t, v)) {
            push(v);
            return;
        }
        op(t);
        m_count = 0;
    }

    // A marked file ends with a contour that is not part of the outline.
    void finish()
    {
        if (!m_marker || m_list.empty())
            return;
        const int32_t last = m_list.back().contour;
        while (!m_list.empty() && m_list.back().contour == last)
            m_list.pop_back();
    }

private:
    void push(double v)
    {
        if (m_count == kOperands) {
            for (size_t i = 1; i < kOperands; ++i)
                m_operands[i - 1] = m_operands[i];
            --m_count;
        }
        m_operands[m_count++] = v;
    }

    // The k-th of the last n operands (PostScript order), when there are n.
    bool operands(size_t n) const { return m_count >= n; }
    double arg(size_t n, size_t k) const { return m_operands[m_count - n + k]; }

    int32_t contourId() const { return static_cast<int32_t>(m_contour & 0x3FFFFFFF); }
    bool lastInContour() const { return !m_list.empty() && m_list.back().contour == contourId(); }

    void op(std::string_view t)
    {
        if (equalsNoCase(t, "newpath")) {
            m_pathOpen = false;
            ++m_contour;
        } else if (equalsNoCase(t, "moveto")) {
            ++m_contour;
            // Without its operands a moveto still ends the path before it,
            // but starts nothing that a lineto could draw from.
            m_pathOpen = operands(2);
            if (!m_pathOpen)
                return;
            m_firstX = arg(2, 0) * kMmPerPoint * m_t.sx + m_t.tx;
            m_firstY = arg(2, 1) * kMmPerPoint * m_t.sy + m_t.ty;
            if (!m_suppressed)
                appendPoint(m_list, m_firstX, m_firstY, contourId());
        } else if (equalsNoCase(t, "lineto")) {
            if (operands(2) && lastInContour() && !m_suppressed)
                appendPoint(m_list, arg(2, 0) * kMmPerPoint * m_t.sx + m_t.tx,
                            arg(2, 1) * kMmPerPoint * m_t.sy + m_t.ty, contourId());
        } else if (equalsNoCase(t, "rlineto")) {
            if (operands(2) && lastInContour() && !m_suppressed) {
                const Node last = m_list.back();
                appendPoint(m_list, last.x + arg(2, 0) * kMmPerPoint * m_t.sx,
                            last.y + arg(2, 1) * kMmPerPoint * m_t.sy, contourId());
            }
        } else if (equalsNoCase(t, "closepath")) {
            if (m_pathOpen && lastInContour() && !m_suppressed)
                appendPoint(m_list, m_firstX, m_firstY, contourId());
            m_pathOpen = false;
            ++m_contour;
        } else if (equalsNoCase(t, "translate")) {
            if (operands(2)) {
                m_t.tx = arg(2, 0) * kMmPerPoint;
                m_t.ty = arg(2, 1) * kMmPerPoint;
            }
        } else if (equalsNoCase(t, "scale")) {
            if (operands(2)) {
                m_t.sx = arg(2, 0);
                m_t.sy = arg(2, 1);
            }
        } else if (equalsNoCase(t, "rotate")) {
            if (operands(1))
                m_t.angle = arg(1, 0);
        } else if (equalsNoCase(t, "gsave")) {
            m_saved = m_t;
        } else if (equalsNoCase(t, "grestore")) {
            m_t = m_saved;
        } else if (equalsNoCase(t, "slicer")) {
            m_marker = true;
        } else if (equalsNoCase(t, "setrgbcolor")) {
            if (operands(3))
                m_suppressed = m_marker && arg(3, 0) == 1 && arg(3, 1) == 0 && arg(3, 2) == 0;
        }
    }

    PointList &m_list;
    std::array<double, kOperands> m_operands{};
    size_t m_count = 0;
    Transform m_t, m_saved;
    int64_t m_contour = 0;
    double m_firstX = 0, m_firstY = 0;
    bool m_pathOpen = false;
    bool m_marker = false;
    bool m_suppressed = false;
};

} // namespace

int readEps(const char *path, TitleBuffer &, PointList &list)
{
    std::string text;
    const int loaded = loadFile(path, text);
    if (loaded < 0)
        return loaded;

    LineCursor lines(text);
    std::string_view line;
    if (!lines.next(line) || !line.starts_with("%!PS-Adobe-"))
        return 0;
    OutlineReader reader(list);
    while (lines.next(line)) {
        size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && isBlank(line[i]))
                ++i;
            const size_t start = i;
            while (i < line.size() && !isBlank(line[i]))
                ++i;
            if (i > start)
                reader.token(line.substr(start, i - start));
        }
    }
    reader.finish();
    return list.empty() ? 0 : 1;
}

} // namespace vx
