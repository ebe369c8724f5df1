// PostScript outlines (".eps"): the path operators of PostScript, read token
// by token with a short list of numeric operands, in points (1/72 inch)
// converted to millimetres. Prolog procedures that alias an operator and the
// path procedures of Illustrator's and cairo's prologs are understood; no
// other procedure is run.
#include "readers/dxf_reader.h"
#include "readers/ps_tokens.h"
#include "readers/readers.h"
#include "foundation/bezier.h"
#include "foundation/matrix.h"
#include "foundation/text_input.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <unordered_map>
#include <vector>

namespace vx {

namespace {

using ps::Token;
using ps::Tokenizer;

constexpr double kMmPerPoint = 25.4 / 72.0;
constexpr size_t kOperands = 10;
constexpr size_t kMaxSaved = 1024;     // gsave levels kept; deeper ones reuse the last
constexpr size_t kMaxDefinitions = 4096;
constexpr size_t kMaxNameLength = 127;
constexpr int kArcSteps = dxf::kCurvePoints - 1; // as DXF arcs

enum class Op : uint8_t {
    None,
    Newpath,
    Moveto,
    Lineto,
    Rlineto,
    Closepath,
    Translate,
    Scale,
    Rotate,
    Gsave,
    Grestore,
    Slicer,
    Setrgbcolor,
    Curveto,
    Rcurveto,
    CurveFromCurrent, // Illustrator's v: the first control point is the current point
    CurveToEnd,       // Illustrator's y: the second control point is the end
    Arc,
    Arcn,
    Concat,          // with the matrix of the array just closed
    ConcatOperands,  // cairo's cm: six numbers
    Rectangle,       // cairo's re: x y width height
    Definer,         // a procedure of "def" or "bind def" (Matplotlib's _d)
};

struct Builtin {
    std::string_view name;
    Op op;
};

// Operators compared without regard to case.
constexpr Builtin kBuiltins[] = {
    {"newpath", Op::Newpath},     {"moveto", Op::Moveto},       {"lineto", Op::Lineto},
    {"rlineto", Op::Rlineto},     {"closepath", Op::Closepath}, {"translate", Op::Translate},
    {"scale", Op::Scale},         {"rotate", Op::Rotate},       {"gsave", Op::Gsave},
    {"grestore", Op::Grestore},   {"slicer", Op::Slicer},       {"setrgbcolor", Op::Setrgbcolor},
    {"curveto", Op::Curveto},     {"rcurveto", Op::Rcurveto},   {"arc", Op::Arc},
    {"arcn", Op::Arcn},           {"concat", Op::Concat},
};

// What the path procedures of Illustrator's and cairo's prologs do, for a
// name the file defines with a body that is not a plain alias.
constexpr Builtin kPrologProcedures[] = {
    {"m", Op::Moveto},     {"l", Op::Lineto},           {"L", Op::Lineto},           {"c", Op::Curveto},
    {"C", Op::Curveto},    {"v", Op::CurveFromCurrent}, {"V", Op::CurveFromCurrent}, {"y", Op::CurveToEnd},
    {"Y", Op::CurveToEnd}, {"h", Op::Closepath},        {"H", Op::Closepath},        {"f", Op::Closepath},
    {"s", Op::Closepath},  {"b", Op::Closepath},        {"re", Op::Rectangle},       {"cm", Op::ConcatOperands},
    {"q", Op::Gsave},      {"Q", Op::Grestore},
};

Op builtin(std::string_view name)
{
    for (const Builtin &b : kBuiltins)
        if (equalsNoCase(name, b.name))
            return b.op;
    return Op::None;
}

Op prologProcedure(std::string_view name)
{
    for (const Builtin &b : kPrologProcedures)
        if (name == b.name)
            return b.op;
    return Op::None;
}

struct Transform {
    double tx = 0, ty = 0; // millimetres
    double sx = 1, sy = 1;
    double angle = 0;      // kept for gsave/grestore, never applied
    Matrix m;
    bool concatenated = false; // m is not the identity
};

struct Point {
    double x, y;
};

class OutlineReader {
public:
    explicit OutlineReader(PointList &list) : m_list(list) {}

    void token(const Token &t)
    {
        if (t.kind == Token::Kind::Number) {
            push(t.number);
            return;
        }
        handle(t);
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

    // Where data read from the file itself ends, once an operator starts
    // reading it: "~>" after an image filtered from ASCII85, "cleartomark"
    // after the encrypted part of an embedded font (eexec). Empty otherwise.
    std::string_view takeInlineData()
    {
        const std::string_view end = m_dataEnd;
        m_dataEnd = {};
        return end;
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
    bool drawing() const { return lastInContour() && !m_suppressed; }

    Point place(double x, double y) const
    {
        if (m_t.concatenated) {
            const double px = m_t.m.x(x, y);
            y = m_t.m.y(x, y);
            x = px;
        }
        return {x * kMmPerPoint * m_t.sx + m_t.tx, y * kMmPerPoint * m_t.sy + m_t.ty};
    }
    Point offset(double dx, double dy) const
    {
        if (m_t.concatenated) {
            const Matrix &m = m_t.m;
            const double px = m.a * dx + m.c * dy;
            dy = m.b * dx + m.d * dy;
            dx = px;
        }
        return {dx * kMmPerPoint * m_t.sx, dy * kMmPerPoint * m_t.sy};
    }
    void append(Point p) { appendPoint(m_list, p.x, p.y, contourId()); }

    void moveTo(double x, double y)
    {
        ++m_contour;
        m_pathOpen = true;
        const Point p = place(x, y);
        m_firstX = p.x;
        m_firstY = p.y;
        if (!m_suppressed)
            append(p);
    }
    void lineTo(double x, double y)
    {
        if (drawing())
            append(place(x, y));
    }
    void closePath()
    {
        if (m_pathOpen && drawing())
            appendPoint(m_list, m_firstX, m_firstY, contourId());
        m_pathOpen = false;
        ++m_contour;
    }

    // A cubic Bézier piece from the current point, sampled at 11 parameters
    // (the first is the current point itself).
    void curve(Point b, Point c, Point d)
    {
        const Point a{m_list.back().x, m_list.back().y};
        sampleCubic(a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, 1, kBezierSteps,
                    [this](double x, double y) { append({x, y}); });
    }

    // An arc of centre (x, y) from angle a1 to a2 in degrees, counter-
    // clockwise (or clockwise): a line from the current point to its start,
    // or a move there when there is none.
    void arc(double x, double y, double r, double a1, double a2, bool clockwise)
    {
        // The end is moved by whole turns to lie on the arc's side of the
        // start; more than one turn draws the same circle.
        double sweep = clockwise ? a1 - a2 : a2 - a1;
        if (!std::isfinite(sweep))
            return;
        if (sweep < 0) {
            sweep = std::fmod(sweep, 360.0);
            if (sweep < 0)
                sweep += 360;
        }
        sweep = std::min(sweep, 360.0) * (clockwise ? -1 : 1);
        const double start = a1 * std::numbers::pi / 180, step = sweep * std::numbers::pi / 180 / kArcSteps;
        for (int i = 0; i <= kArcSteps; ++i) {
            const double a = start + i * step;
            const double px = x + r * std::cos(a), py = y + r * std::sin(a);
            if (i == 0 && !lastInContour())
                moveTo(px, py);
            else
                lineTo(px, py);
        }
    }

    void concat(const Matrix &n)
    {
        for (double v : {n.a, n.b, n.c, n.d, n.e, n.f})
            if (!std::isfinite(v))
                return;
        m_t.m = m_t.m * n;
        m_t.concatenated = true;
    }

    Op lookup(std::string_view name) const
    {
        const Op op = builtin(name);
        if (op != Op::None)
            return op;
        const auto it = m_defined.find(std::string(name));
        return it == m_defined.end() ? Op::None : it->second;
    }

    // A name the file defines: a procedure that only calls an operator or
    // another alias is that operator; another body is what Illustrator's or
    // cairo's prolog makes of the name, if anything.
    void define(std::string_view name, const Token &value)
    {
        if (name.empty() || name.size() > kMaxNameLength || builtin(name) != Op::None)
            return;
        Op op = Op::None;
        if (value.kind == Token::Kind::Literal) {
            op = lookup(value.text);
        } else if (value.count == 1 && value.first != "{") {
            op = lookup(value.first);
        } else if ((value.count == 1 && value.first == "def") ||
                   (value.count == 2 && value.first == "bind" && value.second == "def")) {
            op = Op::Definer;
        } else {
            op = prologProcedure(name);
        }
        if (m_defined.size() < kMaxDefinitions || m_defined.count(std::string(name)))
            m_defined[std::string(name)] = op;
    }

    // Definitions: "/name {body} [bind] def", "/name /operator load def",
    // or a definer procedure in place of "def".
    bool definition(const Token &t)
    {
        switch (t.kind) {
        case Token::Kind::Literal:
            // Watched for an ASCII85 filter on the file itself.
            m_ascii85 = t.text == "ASCII85Decode";
            m_key = m_literal;
            m_literal = t.text;
            m_hasValue = false;
            return true;
        case Token::Kind::Procedure:
            m_key = m_literal;
            m_literal = {};
            m_value = t;
            m_hasValue = true;
            return true;
        default:
            break;
        }
        if (t.kind != Token::Kind::Name)
            return false;
        if (t.text == "bind" && m_hasValue)
            return true;
        if (t.text == "load" && !m_literal.empty() && !m_key.empty()) {
            m_value = Token{};
            m_value.kind = Token::Kind::Literal;
            m_value.text = m_literal;
            m_literal = {};
            m_hasValue = true;
            return true;
        }
        if (m_hasValue && (t.text == "def" || lookup(t.text) == Op::Definer)) {
            define(m_key, m_value);
            m_key = m_literal = {};
            m_hasValue = false;
            return true;
        }
        return false;
    }

    void handle(const Token &t)
    {
        const bool matrix = m_matrixReady;
        m_matrixReady = false;
        if (definition(t))
            return;
        m_key = m_literal = {};
        m_hasValue = false;
        if (t.kind == Token::Kind::ArrayOpen) {
            m_arrayOpen = true;
            return;
        }
        if (t.kind == Token::Kind::ArrayClose) {
            // The operands since "[" are the array: a matrix when six.
            m_matrixReady = m_arrayOpen && m_count == 6;
            if (m_matrixReady)
                m_matrix = {m_operands[0], m_operands[1], m_operands[2], m_operands[3], m_operands[4], m_operands[5]};
            m_arrayOpen = false;
            return;
        }
        m_arrayOpen = false;
        if (t.kind != Token::Kind::Name)
            return;
        if (t.text == "currentfile") {
            m_currentFile = true;
        } else if (t.text == "filter") {
            m_pendingData = m_currentFile && m_ascii85;
            m_currentFile = false;
        } else if (m_pendingData && (t.text == "image" || t.text == "imagemask" || t.text == "colorimage")) {
            m_dataEnd = "~>";
            m_pendingData = false;
        } else if (t.text == "eexec") {
            m_dataEnd = "cleartomark";
        }
        op(lookup(t.text), matrix);
    }

    void op(Op code, bool matrix)
    {
        switch (code) {
        case Op::Newpath:
            m_pathOpen = false;
            ++m_contour;
            break;
        case Op::Moveto:
            if (operands(2)) {
                moveTo(arg(2, 0), arg(2, 1));
            } else {
                // Without its operands a moveto still ends the path before
                // it, but starts nothing that a lineto could draw from.
                ++m_contour;
                m_pathOpen = false;
            }
            break;
        case Op::Lineto:
            if (operands(2))
                lineTo(arg(2, 0), arg(2, 1));
            break;
        case Op::Rlineto:
            if (operands(2) && drawing()) {
                const Point d = offset(arg(2, 0), arg(2, 1));
                appendPoint(m_list, m_list.back().x + d.x, m_list.back().y + d.y, contourId());
            }
            break;
        case Op::Closepath:
            closePath();
            break;
        case Op::Curveto:
            if (operands(6) && drawing())
                curve(place(arg(6, 0), arg(6, 1)), place(arg(6, 2), arg(6, 3)), place(arg(6, 4), arg(6, 5)));
            break;
        case Op::Rcurveto:
            if (operands(6) && drawing()) {
                const Point a{m_list.back().x, m_list.back().y};
                Point p[3];
                for (size_t k = 0; k < 3; ++k) {
                    const Point d = offset(arg(6, 2 * k), arg(6, 2 * k + 1));
                    p[k] = {a.x + d.x, a.y + d.y};
                }
                curve(p[0], p[1], p[2]);
            }
            break;
        case Op::CurveFromCurrent:
            if (operands(4) && drawing())
                curve({m_list.back().x, m_list.back().y}, place(arg(4, 0), arg(4, 1)), place(arg(4, 2), arg(4, 3)));
            break;
        case Op::CurveToEnd:
            if (operands(4) && drawing()) {
                const Point end = place(arg(4, 2), arg(4, 3));
                curve(place(arg(4, 0), arg(4, 1)), end, end);
            }
            break;
        case Op::Arc:
        case Op::Arcn:
            if (operands(5))
                arc(arg(5, 0), arg(5, 1), arg(5, 2), arg(5, 3), arg(5, 4), code == Op::Arcn);
            break;
        case Op::Rectangle:
            if (operands(4)) {
                const double x = arg(4, 0), y = arg(4, 1), w = arg(4, 2), h = arg(4, 3);
                moveTo(x, y);
                lineTo(x + w, y);
                lineTo(x + w, y + h);
                lineTo(x, y + h);
                closePath();
            }
            break;
        case Op::Concat:
            if (matrix)
                concat(m_matrix);
            break;
        case Op::ConcatOperands:
            if (operands(6))
                concat(Matrix{arg(6, 0), arg(6, 1), arg(6, 2), arg(6, 3), arg(6, 4), arg(6, 5)});
            break;
        case Op::Translate:
            if (operands(2)) {
                m_t.tx = arg(2, 0) * kMmPerPoint;
                m_t.ty = arg(2, 1) * kMmPerPoint;
            }
            break;
        case Op::Scale:
            if (operands(2)) {
                m_t.sx = arg(2, 0);
                m_t.sy = arg(2, 1);
            }
            break;
        case Op::Rotate:
            if (operands(1))
                m_t.angle = arg(1, 0);
            break;
        case Op::Gsave:
            // The first level is the one copy the reader always kept; deeper
            // levels beyond the limit share the last one kept.
            if (m_saved.size() < kMaxSaved)
                m_saved.push_back(m_t);
            else
                ++m_overflow;
            break;
        case Op::Grestore:
            if (m_overflow > 0) {
                --m_overflow;
                m_t = m_saved.back();
            } else if (!m_saved.empty()) {
                m_t = m_saved.back();
                m_bottom = m_t;
                m_saved.pop_back();
            } else {
                m_t = m_bottom;
            }
            break;
        case Op::Slicer:
            m_marker = true;
            break;
        case Op::Setrgbcolor:
            if (operands(3))
                m_suppressed = m_marker && arg(3, 0) == 1 && arg(3, 1) == 0 && arg(3, 2) == 0;
            break;
        case Op::None:
        case Op::Definer:
            break;
        }
    }

    PointList &m_list;
    std::array<double, kOperands> m_operands{};
    size_t m_count = 0;
    Transform m_t;
    std::vector<Transform> m_saved;
    Transform m_bottom; // what a grestore without gsave goes back to
    size_t m_overflow = 0;
    int64_t m_contour = 0;
    double m_firstX = 0, m_firstY = 0;
    bool m_pathOpen = false;
    bool m_marker = false;
    bool m_suppressed = false;

    std::unordered_map<std::string, Op> m_defined;
    std::string_view m_key, m_literal;
    Token m_value{};
    bool m_hasValue = false;

    Matrix m_matrix;
    bool m_arrayOpen = false;
    bool m_matrixReady = false;

    bool m_currentFile = false, m_ascii85 = false, m_pendingData = false;
    std::string_view m_dataEnd;
};

// The PostScript part of a DOS EPS file (binary header with a preview), or
// the whole text.
std::string_view postScriptPart(std::string_view text)
{
    if (text.size() < 12 || text.substr(0, 4) != "\xC5\xD0\xD3\xC6")
        return text;
    const auto word = [&](size_t at) {
        uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k)
            v |= static_cast<uint32_t>(static_cast<unsigned char>(text[at + k])) << (8 * k);
        return static_cast<size_t>(v);
    };
    const size_t start = word(4), length = word(8);
    if (start >= text.size())
        return {};
    return text.substr(start, std::min(length, text.size() - start));
}

} // namespace

int readEps(const char *path, TitleBuffer &, PointList &list)
{
    std::string contents;
    const int loaded = loadFile(path, contents);
    if (loaded < 0)
        return loaded;

    const std::string_view text = postScriptPart(contents);
    LineCursor lines(text);
    std::string_view line;
    if (!lines.next(line) || !line.starts_with("%!PS-Adobe-"))
        return 0;
    OutlineReader reader(list);
    Tokenizer tokens(text.substr(lines.position()));
    Token t;
    while (tokens.next(t)) {
        reader.token(t);
        const std::string_view end = reader.takeInlineData();
        if (!end.empty())
            tokens.skipPast(end);
    }
    reader.finish();
    return list.empty() ? 0 : 1;
}

} // namespace vx
