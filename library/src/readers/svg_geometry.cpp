// SVG numbers, lengths, transform lists, path data and the outline they are
// sampled into.
#include "readers/svg_geometry.h"

#include "foundation/bezier.h"
#include "foundation/text_input.h"
#include "readers/dxf_reader.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace vx::svg {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kArcSteps = dxf::kCurvePoints - 1;
constexpr int64_t kMaxContour = int64_t(1) << 30;
constexpr double kMmPerPx = 25.4 / 96.0;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// cos and sin of a whole number of degrees, exact at the quarter turns so
// that rotate(90) maps whole numbers to whole numbers.
void cosSin(double degrees, double &c, double &s)
{
    const double quarter = degrees / 90.0;
    if (quarter == std::floor(quarter) && std::fabs(quarter) < 1e15) {
        static constexpr double kCos[] = {1, 0, -1, 0};
        static constexpr double kSin[] = {0, 1, 0, -1};
        const auto k = static_cast<int>(std::fmod(quarter, 4.0) + 4) % 4;
        c = kCos[k];
        s = kSin[k];
        return;
    }
    const double r = degrees * kPi / 180.0;
    c = std::cos(r);
    s = std::sin(r);
}

// Angle from vector u to vector v, in (-π, π].
double angleBetween(double ux, double uy, double vx, double vy)
{
    return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
}

} // namespace

// ---- numbers

void Scanner::skipSpace()
{
    while (!atEnd() && isSpace(m_text[m_pos]))
        ++m_pos;
}

void Scanner::skipSeparator()
{
    skipSpace();
    if (peek() == ',') {
        ++m_pos;
        skipSpace();
    }
}

bool Scanner::number(double &value)
{
    const size_t saved = m_pos;
    skipSeparator();
    size_t p = m_pos;
    const size_t n = m_text.size();
    if (p < n && (m_text[p] == '+' || m_text[p] == '-'))
        ++p;
    size_t digits = 0;
    for (; p < n && isDigit(m_text[p]); ++p)
        ++digits;
    if (p < n && m_text[p] == '.')
        for (++p; p < n && isDigit(m_text[p]); ++p)
            ++digits;
    if (digits == 0) {
        m_pos = saved;
        return false;
    }
    // An "e" without digits after it is not part of the number.
    if (p < n && (m_text[p] == 'e' || m_text[p] == 'E')) {
        size_t q = p + 1;
        if (q < n && (m_text[q] == '+' || m_text[q] == '-'))
            ++q;
        if (q < n && isDigit(m_text[q])) {
            while (q < n && isDigit(m_text[q]))
                ++q;
            p = q;
        }
    }
    const char *first = m_text.data() + m_pos + (m_text[m_pos] == '+' ? 1 : 0);
    const auto [end, ec] = std::from_chars(first, m_text.data() + p, value);
    if (ec != std::errc() || end != m_text.data() + p || !std::isfinite(value)) {
        m_pos = saved;
        return false;
    }
    m_pos = p;
    return true;
}

bool Scanner::flag(bool &value)
{
    const size_t saved = m_pos;
    skipSeparator();
    if (peek() == '0' || peek() == '1') {
        value = peek() == '1';
        ++m_pos;
        return true;
    }
    m_pos = saved;
    return false;
}

// ---- lengths

bool parseLength(std::string_view text, Length &out)
{
    Scanner s(text);
    s.skipSpace();
    Length l;
    if (!s.number(l.value))
        return false;
    std::string_view unit = s.rest();
    while (!unit.empty() && isSpace(unit.back()))
        unit.remove_suffix(1);
    static constexpr std::pair<std::string_view, Unit> kUnits[] = {
        {"", Unit::None}, {"px", Unit::Px}, {"mm", Unit::Mm}, {"cm", Unit::Cm},     {"in", Unit::In},
        {"pt", Unit::Pt}, {"pc", Unit::Pc}, {"%", Unit::Percent}, {"em", Unit::Other}, {"ex", Unit::Other}};
    for (const auto &[name, u] : kUnits)
        if (equalsNoCase(unit, name)) {
            l.unit = u;
            out = l;
            return true;
        }
    return false;
}

double millimetresPer(Unit unit)
{
    switch (unit) {
    case Unit::None:
    case Unit::Px:
        return kMmPerPx;
    case Unit::Mm:
        return 1;
    case Unit::Cm:
        return 10;
    case Unit::In:
        return 25.4;
    case Unit::Pt:
        return 25.4 / 72;
    case Unit::Pc:
        return 25.4 / 6;
    default:
        return 0;
    }
}

bool userUnits(const Length &length, double &out)
{
    const double mm = millimetresPer(length.unit);
    if (mm == 0)
        return false;
    out = length.value * (mm / kMmPerPx);
    return std::isfinite(out);
}

// ---- transform lists

namespace {

// Reads "(v, v, ...)" with `min` to `max` values.
bool arguments(Scanner &s, double *v, int min, int max, int &count)
{
    s.skipSpace();
    if (s.peek() != '(')
        return false;
    s.advance();
    count = 0;
    s.skipSpace();
    while (count < max && s.number(v[count]))
        ++count;
    s.skipSpace();
    if (s.peek() != ')' || count < min)
        return false;
    s.advance();
    return true;
}

bool oneTransform(Scanner &s, Matrix &m)
{
    static constexpr std::string_view kNames[] = {"matrix", "translate", "scale", "rotate", "skewX", "skewY"};
    const std::string_view rest = s.rest();
    int which = -1;
    for (int i = 0; i < 6; ++i)
        if (rest.starts_with(kNames[i]))
            which = i;
    if (which < 0)
        return false;
    for (size_t i = 0; i < kNames[which].size(); ++i)
        s.advance();
    double v[6] = {0, 0, 0, 0, 0, 0};
    int n = 0;
    static constexpr int kMin[] = {6, 1, 1, 1, 1, 1};
    static constexpr int kMax[] = {6, 2, 2, 3, 1, 1};
    if (!arguments(s, v, kMin[which], kMax[which], n))
        return false;
    double c = 1, sn = 0;
    switch (which) {
    case 0:
        m = {v[0], v[1], v[2], v[3], v[4], v[5]};
        return true;
    case 1:
        m = Matrix::translate(v[0], n == 2 ? v[1] : 0);
        return true;
    case 2:
        m = Matrix::scale(v[0], n == 2 ? v[1] : v[0]);
        return true;
    case 3:
        if (n == 2)
            return false;
        cosSin(v[0], c, sn);
        m = Matrix::translate(v[1], v[2]) * Matrix{c, sn, -sn, c, 0, 0} * Matrix::translate(-v[1], -v[2]);
        return true;
    case 4:
    case 5: {
        cosSin(v[0], c, sn);
        if (c == 0)
            return false; // a skew of a quarter turn has no tangent
        m = which == 4 ? Matrix{1, 0, sn / c, 1, 0, 0} : Matrix{1, sn / c, 0, 1, 0, 0};
        return true;
    }
    }
    return false;
}

} // namespace

bool parseTransform(std::string_view text, Matrix &out)
{
    Scanner s(text);
    Matrix m;
    s.skipSpace();
    while (!s.atEnd()) {
        Matrix one;
        if (!oneTransform(s, one))
            return false;
        m = m * one;
        s.skipSeparator();
    }
    out = m;
    return true;
}

// ---- the outline

void Outline::emit(double x, double y)
{
    if (m_budget == 0) {
        m_exhausted = true;
        return;
    }
    --m_budget;
    appendPoint(m_list, m_matrix.x(x, y), m_matrix.y(x, y), static_cast<int32_t>(m_contour));
}

// Writes the subpath's start before its first segment.
void Outline::segmentTo(double x, double y)
{
    if (!m_written) {
        if (++m_contour >= kMaxContour) {
            m_exhausted = true;
            return;
        }
        emit(m_x, m_y);
        m_written = true;
    }
    m_x = x;
    m_y = y;
}

void Outline::moveTo(double x, double y)
{
    m_x = m_startX = x;
    m_y = m_startY = y;
    m_written = false;
}

void Outline::lineTo(double x, double y)
{
    if (m_exhausted)
        return;
    segmentTo(x, y);
    emit(x, y);
}

void Outline::cubicTo(double x1, double y1, double x2, double y2, double x, double y)
{
    if (m_exhausted)
        return;
    const double ax = m_x, ay = m_y;
    segmentTo(x, y);
    // The first parameter is the current point; the last is the end as written.
    sampleCubic(ax, ay, x1, y1, x2, y2, x, y, 1, kBezierSteps - 1, [this](double px, double py) { emit(px, py); });
    emit(x, y);
}

// A quadratic piece is the cubic with its control point taken two thirds
// of the way from each end.
void Outline::quadTo(double x1, double y1, double x, double y)
{
    constexpr double k = 2.0 / 3.0;
    cubicTo(m_x + k * (x1 - m_x), m_y + k * (y1 - m_y), x + k * (x1 - x), y + k * (y1 - y), x, y);
}

void Outline::arcTo(double rx, double ry, double degrees, bool large, bool sweep, double x, double y)
{
    if (m_exhausted || (x == m_x && y == m_y))
        return; // an arc to its own start is left out
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0) {
        lineTo(x, y);
        return;
    }
    // From the end points to the centre (SVG's implementation notes).
    double c = 1, s = 0;
    cosSin(degrees, c, s);
    const double hx = (m_x - x) / 2, hy = (m_y - y) / 2;
    const double x1 = c * hx + s * hy, y1 = -s * hx + c * hy;
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double k = den > 0 && num > 0 ? std::sqrt(num / den) : 0;
    if (large == sweep)
        k = -k;
    const double cx1 = k * rx * y1 / ry, cy1 = -k * ry * x1 / rx;
    const double cx = c * cx1 - s * cy1 + (m_x + x) / 2;
    const double cy = s * cx1 + c * cy1 + (m_y + y) / 2;
    const double ux = (x1 - cx1) / rx, uy = (y1 - cy1) / ry;
    const double start = angleBetween(1, 0, ux, uy);
    double delta = angleBetween(ux, uy, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && delta > 0)
        delta -= 2 * kPi;
    else if (sweep && delta < 0)
        delta += 2 * kPi;
    segmentTo(x, y);
    for (int i = 1; i < kArcSteps; ++i) {
        const double t = start + i * delta / kArcSteps;
        const double ex = rx * std::cos(t), ey = ry * std::sin(t);
        emit(cx + c * ex - s * ey, cy + s * ex + c * ey);
    }
    emit(x, y);
}

void Outline::close()
{
    if (m_written && (m_x != m_startX || m_y != m_startY))
        lineTo(m_startX, m_startY);
    m_x = m_startX;
    m_y = m_startY;
    m_written = false;
}

void Outline::ellipse(double cx, double cy, double rx, double ry)
{
    const double *cs = dxf::unitCircleCos();
    const double *sn = dxf::unitCircleSin();
    moveTo(cx + rx, cy);
    for (int i = 1; i <= kArcSteps && !m_exhausted; ++i) {
        const int k = i == kArcSteps ? 0 : i;
        lineTo(cx + rx * cs[k], cy + ry * sn[k]);
    }
    m_written = false;
}

// ---- path data

namespace {

bool isCommand(char c)
{
    switch (c) {
    case 'M': case 'm': case 'L': case 'l': case 'H': case 'h': case 'V': case 'v': case 'C': case 'c':
    case 'S': case 's': case 'Q': case 'q': case 'T': case 't': case 'A': case 'a': case 'Z': case 'z':
        return true;
    default:
        return false;
    }
}

class PathReader {
public:
    PathReader(std::string_view data, Outline &out) : m_s(data), m_out(out) {}

    void run()
    {
        char command = 0;
        for (;;) {
            m_s.skipSeparator();
            if (m_s.atEnd() || !m_out.open())
                return;
            const char c = m_s.peek();
            if (isCommand(c)) {
                if (command == 0 && c != 'M' && c != 'm')
                    return; // path data starts with a move
                command = c;
                m_s.advance();
                if (c == 'Z' || c == 'z') {
                    m_out.close();
                    m_previous = 'Z';
                    continue;
                }
            } else if (command == 0 || command == 'Z' || command == 'z') {
                return; // numbers with no command to repeat
            }
            if (!step(command))
                return;
            // Coordinates after a move are lines.
            if (command == 'M')
                command = 'L';
            else if (command == 'm')
                command = 'l';
        }
    }

private:
    bool numbers(double *v, int n)
    {
        for (int i = 0; i < n; ++i)
            if (!m_s.number(v[i]))
                return false;
        return true;
    }

    // One set of parameters of the command; false at an error.
    bool step(char command)
    {
        const bool rel = command >= 'a';
        const double ox = rel ? m_out.currentX() : 0, oy = rel ? m_out.currentY() : 0;
        const double cx = m_out.currentX(), cy = m_out.currentY();
        double v[7];
        char kind = static_cast<char>(rel ? command - 'a' + 'A' : command);
        switch (kind) {
        case 'M':
            if (!numbers(v, 2))
                return false;
            m_out.moveTo(ox + v[0], oy + v[1]);
            break;
        case 'L':
            if (!numbers(v, 2))
                return false;
            m_out.lineTo(ox + v[0], oy + v[1]);
            break;
        case 'H':
            if (!numbers(v, 1))
                return false;
            m_out.lineTo(ox + v[0], cy);
            break;
        case 'V':
            if (!numbers(v, 1))
                return false;
            m_out.lineTo(cx, oy + v[0]);
            break;
        case 'C':
        case 'S': {
            const int n = kind == 'C' ? 6 : 4;
            if (!numbers(v, n))
                return false;
            double x1 = cx, y1 = cy;
            if (kind == 'C') {
                x1 = ox + v[0];
                y1 = oy + v[1];
            } else if (m_previous == 'C') {
                x1 = 2 * cx - m_ctrlX; // the reflection of the last control point
                y1 = 2 * cy - m_ctrlY;
            }
            m_ctrlX = ox + v[n - 4];
            m_ctrlY = oy + v[n - 3];
            m_out.cubicTo(x1, y1, m_ctrlX, m_ctrlY, ox + v[n - 2], oy + v[n - 1]);
            m_previous = 'C';
            return true;
        }
        case 'Q':
        case 'T': {
            const int n = kind == 'Q' ? 4 : 2;
            if (!numbers(v, n))
                return false;
            if (kind == 'Q') {
                m_ctrlX = ox + v[0];
                m_ctrlY = oy + v[1];
            } else if (m_previous == 'Q') {
                m_ctrlX = 2 * cx - m_ctrlX;
                m_ctrlY = 2 * cy - m_ctrlY;
            } else {
                m_ctrlX = cx;
                m_ctrlY = cy;
            }
            m_out.quadTo(m_ctrlX, m_ctrlY, ox + v[n - 2], oy + v[n - 1]);
            m_previous = 'Q';
            return true;
        }
        case 'A': {
            bool large = false, sweep = false;
            if (!numbers(v, 3) || !m_s.flag(large) || !m_s.flag(sweep) || !numbers(v + 3, 2))
                return false;
            m_out.arcTo(v[0], v[1], v[2], large, sweep, ox + v[3], oy + v[4]);
            break;
        }
        default:
            return false;
        }
        m_previous = kind;
        return true;
    }

    Scanner m_s;
    Outline &m_out;
    char m_previous = 0; // 'C' after a cubic, 'Q' after a quadratic piece
    double m_ctrlX = 0, m_ctrlY = 0;
};

} // namespace

void drawPath(std::string_view data, Outline &out)
{
    // A relative move that opens the data counts from the origin, not from
    // where the previous element ended.
    out.moveTo(0, 0);
    PathReader(data, out).run();
}

void drawPoints(std::string_view points, bool closed, Outline &out)
{
    Scanner s(points);
    double x = 0, y = 0;
    bool first = true;
    while (out.open() && s.number(x) && s.number(y)) {
        if (first)
            out.moveTo(x, y);
        else
            out.lineTo(x, y);
        first = false;
    }
    if (closed)
        out.close();
}

} // namespace vx::svg
