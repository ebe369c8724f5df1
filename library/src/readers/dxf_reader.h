// Internals of the DXF reader: group-code pairs read in place from the loaded
// text, the drawing's layer and block tables, curve sampling and the entity
// reader shared by the ENTITIES section and block bodies.
#pragma once

#include "foundation/point_list.h"
#include "readers/readers.h"

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

struct ControlPoint {
    double x, y;
};

// Curves are kept as descriptions and sampled when they are read: the
// cutting order walks them once, and only the nodes it keeps are sampled
// again for the output. The formulas are the ones of the working list, so
// every sample is the same number.
enum class Curve : uint8_t {
    Points,  // explicit points: x, y pairs
    Circle,  // cx, cy, r
    Arc,     // cx, cy, r, start, sweep (radians)
    Ellipse, // cx, cy, a, b, cos θ, sin θ, start, sweep
    Bulge,   // px, py, qx, qy, cx, cy, r, start, sweep: P, 99 points, Q
    Spline,  // order, control point count, knots, control points (x, y)
};

struct Segment {
    uint32_t data;  // offset of its values in Shapes::data
    uint32_t count; // samples
    uint32_t start; // index of its first sample in its shape
    Curve kind;
};

// The points of one entity, in the coordinates of its block: segments one
// after the other, X negated afterwards when the entity is seen from below.
struct Shape {
    uint32_t firstSegment = 0;
    uint32_t segments = 0;
    uint32_t samples = 0;
    bool mirrored = false;
};

// Every shape of a drawing, block bodies included, built one at a time.
class Shapes {
public:
    std::vector<double> data;
    std::vector<Segment> segments;
    std::vector<Shape> shapes;

    // Starts the shape that the next calls extend.
    void begin();
    // Forgets what the shape being built holds.
    void discard();
    void point(double x, double y);
    // The last explicit point, which must exist (a LINE's).
    const double *lastPoint(size_t back) const { return &data[data.size() - 2 * (back + 1)]; }
    void dropLastPoint();
    void circle(double cx, double cy, double r);
    // Angles in radians; an end before the start is moved one turn on.
    void arc(double cx, double cy, double r, double start, double end);
    // `ratio` is signed: a negative ratio runs the minor axis the other way
    // (an ellipse seen from below).
    void ellipse(double cx, double cy, double mx, double my, double ratio, double start, double end);
    // The arc from P to Q with the given bulge: P, 99 points, then Q exactly.
    void bulge(double px, double py, double qx, double qy, double bulge);
    void spline(const std::vector<double> &knots, const std::vector<ControlPoint> &controls, size_t order);
    // Closes the shape: its index, or -1 when it has no point.
    int64_t end(bool mirrored);

private:
    Segment &open(Curve kind, uint32_t count, size_t values);
    uint64_t m_samples = 0; // in the shape being built
    size_t m_firstSegment = 0;
};

// Sample i of a segment, in its entity's coordinates.
struct Sample {
    double x, y;
};
Sample sampleOf(const Shapes &shapes, const Segment &segment, uint32_t i, std::vector<double> &scratch);

// cos and sin of 2π·i/100 for i = 0..100: the angles of every circle.
const double *unitCircleCos();
const double *unitCircleSin();

// A bound on the magnitude of every coordinate of the segment's samples;
// not a number when there is none.
double segmentReach(const Shapes &shapes, const Segment &segment);

// An INSERT: scale about the block's base point, rotation, then the
// insertion point; X negated afterwards when seen from below. `parent` is the
// enclosing insert, applied next (-1: none).
struct Transform {
    double sx, sy, bx, by, cosR, sinR, x, y;
    int32_t parent;
    bool mirrored;

    Sample apply(Sample p) const
    {
        const double x1 = sx * (p.x - bx);
        const double y1 = sy * (p.y - by);
        Sample q{x + x1 * cosR - y1 * sinR, y + x1 * sinR + y1 * cosR};
        if (mirrored)
            q.x = -q.x;
        return q;
    }
};

// One entity of the drawing as placed: its shape, the insert it was placed
// by (-1: none) and its contour number.
struct Piece {
    uint32_t shape;
    int32_t transform;
    int32_t contour;
};

// Pieces in contour-number order, with the inserts that place them: the
// drawing itself, or a block body with numbers from 1.
struct Body {
    std::vector<Piece> pieces;
    std::vector<Transform> transforms;
    uint64_t samples = 0; // nodes the working list would hold
};

struct Block {
    std::string_view name;
    size_t body = 0; // offset of the first line after the header
    double baseX = 0, baseY = 0;
    enum class State : uint8_t { Unread, Reading, Read } state = State::Unread;
    Body expanded;    // its body, its own references expanded
    int64_t span = 0; // contour numbers the body uses
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
    Shapes shapes;

    // Nodes that block expansions may still add, and B-spline basis
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

// Whether a spline can be sampled: a usable knot vector of the right length,
// within the work left, which is reduced by what it will cost.
bool splineUsable(const std::vector<double> &knots, size_t controls, int64_t degree, double &work);

// The clamped cubic B-spline through the fit points, with chord-length
// parameters from 0 to 1: its knots and control points. Tangents given as
// null leave that end natural. False when the points give no curve.
bool fitSpline(const std::vector<ControlPoint> &fits, const ControlPoint *startTangent,
               const ControlPoint *endTangent, std::vector<double> &knots, std::vector<ControlPoint> &controls);

// Value of one B-spline sample with only the basis functions that are not
// zero at u; `lastBasis` receives N(n-1).
ControlPoint splinePoint(const double *knots, size_t knotCount, const double *controls, size_t n, size_t order,
                         double u, std::vector<double> &scratch, double &lastBasis);
ControlPoint splinePoint(const std::vector<double> &knots, const std::vector<ControlPoint> &controls, size_t order,
                         double u, std::vector<double> &scratch, double &lastBasis);

enum class Stop : uint8_t { End, EndBlk, EndSec };

// Reads entities from `pos` until ENDBLK, ENDSEC or the end of the text,
// adding pieces to `out` with contour numbers from `counter` on. Block
// references are expanded from the tables; `depth` counts nested blocks.
class EntityReader {
public:
    EntityReader(Drawing &drawing, TitleBuffer &title) : m_drawing(drawing), m_title(title) {}
    Stop read(size_t pos, Body &out, int64_t &counter, int depth, size_t *endPos = nullptr);

private:
    // Expands a block reference: scale, rotation (degrees) and insertion point.
    void insert(std::string_view name, double x, double y, double sx, double sy, double degrees, bool mirrored,
                Body &out, int64_t &counter, int depth);
    // The block's body read once, with its own references expanded; null
    // inside a cycle or beyond the nesting limit.
    const Body *expandedBlock(Block &block, int depth);

    Drawing &m_drawing;
    TitleBuffer &m_title;
    std::vector<double> m_knots;
    std::vector<ControlPoint> m_controls;
};

// A drawing read for the cutting order: its shapes and its pieces.
struct DrawingPieces {
    Shapes shapes;
    Body body;
    size_t fileBytes = 0;
};

// Reads a DXF file into pieces: 1 when a piece has a point, 0 when none, or
// a negative code.
int readDxfPieces(const char *path, TitleBuffer &title, DrawingPieces &out);

// The working list of a drawing: every sample of every piece, in order.
void appendSamples(const DrawingPieces &drawing, PointList &list);

} // namespace vx::dxf
