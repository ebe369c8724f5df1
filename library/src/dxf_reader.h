// Internals of the DXF reader: group-code pairs read in place from the loaded
// text, the drawing's layer and block tables, curve sampling and the entity
// reader shared by the ENTITIES section and block bodies.
#pragma once

#include "point_list.h"
#include "readers.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vx::dxf {

inline constexpr int kBadCode = -1000000; // a group-code line that holds no integer

struct Pair {
    int code = kBadCode;
    std::string_view value; // the value line without its end
    std::string_view line;  // the value line with its end
    size_t pos = 0;         // offset of the group-code line
};

// Walks the text as pairs of lines (group code, value). Lines end at LF,
// CR LF or a lone CR and have no length limit.
class PairCursor {
public:
    explicit PairCursor(std::string_view text, size_t pos = 0)
        : m_begin(text.data()), m_end(text.data() + text.size()),
          m_p(text.data() + (pos < text.size() ? pos : text.size()))
    {
    }

    size_t position() const { return static_cast<size_t>(m_p - m_begin); }

    // False at the end of the text; a code line without its value line ends it too.
    bool next(Pair &pair)
    {
        if (m_p >= m_end)
            return false;
        pair.pos = position();
        const char *codeEnd = lineEnd(m_p);
        pair.code = parseCode(m_p, codeEnd);
        m_p = afterEnd(codeEnd);
        if (m_p >= m_end)
            return false;
        const char *valueEnd = lineEnd(m_p);
        const char *next = afterEnd(valueEnd);
        pair.value = std::string_view(m_p, static_cast<size_t>(valueEnd - m_p));
        pair.line = std::string_view(m_p, static_cast<size_t>(next - m_p));
        m_p = next;
        return true;
    }

    // Integer conversion of a group-code line: blanks around an optional sign
    // and at most nine digits; anything else is kBadCode.
    static int parseCode(const char *p, const char *end);

private:
    const char *lineEnd(const char *p) const
    {
        while (p < m_end) {
            const unsigned char c = static_cast<unsigned char>(*p);
            if (c <= '\r' && (c == '\n' || c == '\r'))
                break;
            ++p;
        }
        return p;
    }
    const char *afterEnd(const char *p) const
    {
        if (p >= m_end)
            return p;
        if (*p++ == '\r' && p < m_end && *p == '\n')
            ++p;
        return p;
    }

    const char *m_begin;
    const char *m_end;
    const char *m_p;
};

// Number of a value line, read like the C library's conversions: leading
// white space, then the longest number; false when there is none, or when it
// is not finite.
bool readNumber(std::string_view value, double &out);
bool readInteger(std::string_view value, int64_t &out);

enum class Kind : uint8_t {
    Other,
    Line,
    LwPolyline,
    Spline,
    Ellipse,
    Circle,
    Vertex,
    Arc,
    Polyline,
    Point,
    Insert,
    Text,
    EndBlk,
    EndSec,
};

// The entity named by a group-0 value, without regard to case.
Kind kindOf(std::string_view name);

struct Block {
    std::string_view name;
    size_t body = 0; // offset of the first line after the header
    double baseX = 0, baseY = 0;
    enum class State : uint8_t { Unread, Reading, Read } state = State::Unread;
    PointList points;  // the expanded body, contour numbers from 1
    int64_t span = 0;  // contour numbers the body uses
};

// Everything one reading shares: the loaded text, the tables and the limits
// that keep absurd files bounded.
struct Drawing {
    explicit Drawing(std::string_view text);

    std::string_view text;
    std::unordered_set<std::string_view> offLayers;
    std::vector<Block> blocks;
    std::unordered_map<std::string_view, size_t> blockByName;
    std::unordered_map<std::string, size_t> blockByFoldedName;

    // Nodes that block expansions may still copy, and B-spline basis
    // evaluations left for splines; both grow with the file size.
    size_t expansionBudget = 0;
    double splineWork = 0;
    bool exhausted = false; // a limit was reached: no more expansions
    bool finished = false;  // the contour numbers are spent: nothing more is read

    bool layerOff(std::string_view name) const { return !offLayers.empty() && offLayers.count(name) != 0; }
    void addBlock(std::string_view name, size_t body, double baseX, double baseY);
    // Exact name first, then without regard to case; null when unknown.
    Block *findBlock(std::string_view name);
};

inline constexpr int kMaxBlockDepth = 32;
inline constexpr int64_t kMaxContourNumber = int64_t(1) << 30;
inline constexpr int kCurvePoints = 101; // circles, arcs, ellipses and bulge arcs
inline constexpr int kSplineSamplesPerControlPoint = 100;

// Curve sampling. Each appends its points with the given contour number.
void appendCircle(PointList &out, double cx, double cy, double r, int32_t contour);
// Angles in radians; an end before the start is moved one turn on.
void appendArc(PointList &out, double cx, double cy, double r, double start, double end, int32_t contour);
// `ratio` is signed: a negative ratio runs the minor axis the other way
// (an ellipse seen from below).
void appendEllipse(PointList &out, double cx, double cy, double mx, double my, double ratio, double start,
                   double end, int32_t contour);
// The arc from P to Q with the given bulge: P, 99 points, then Q exactly.
void appendBulgeArc(PointList &out, double px, double py, double qx, double qy, double bulge, int32_t contour);

struct ControlPoint {
    double x, y;
};

// Samples a non-rational B-spline: 100 samples per control point over
// [0, last knot], the last one 0.0001 before it, then the last control point.
// False (nothing appended) when the knot vector cannot be used or the work
// would exceed `work`, which is reduced by what is spent.
bool appendSpline(PointList &out, const std::vector<double> &knots, const std::vector<ControlPoint> &controls,
                  int64_t degree, int32_t contour, double &work);

// Value of one B-spline sample with only the basis functions that are not
// zero at u; `lastBasis` receives N(n-1). Exposed for tests.
ControlPoint splinePoint(const std::vector<double> &knots, const std::vector<ControlPoint> &controls, size_t order,
                         double u, std::vector<double> &scratch, double &lastBasis);

enum class Stop : uint8_t { End, EndBlk, EndSec };

// Reads entities from `pos` until ENDBLK, ENDSEC or the end of the text,
// appending to `out` with contour numbers from `counter` on. Block
// references are expanded from the tables; `depth` counts nested blocks.
class EntityReader {
public:
    EntityReader(Drawing &drawing, TitleBuffer &title) : m_drawing(drawing), m_title(title) {}
    Stop read(size_t pos, PointList &out, int64_t &counter, int depth, size_t *endPos = nullptr);

private:
    // Expands a block reference: scale, rotation (degrees) and insertion point.
    void insert(std::string_view name, double x, double y, double sx, double sy, double degrees, PointList &out,
                int64_t &counter, int depth);
    // The block's body read once, with its own references expanded; null
    // inside a cycle or beyond the nesting limit.
    const PointList *expandedBlock(Block &block, int depth);

    Drawing &m_drawing;
    TitleBuffer &m_title;
    std::vector<double> m_knots;
    std::vector<ControlPoint> m_controls;
};

} // namespace vx::dxf
