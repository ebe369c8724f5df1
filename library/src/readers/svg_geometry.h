// Geometry of SVG drawings: numbers, lengths and transform lists as SVG
// writes them, and the outline that path data and basic shapes are sampled
// into (Bézier pieces at 11 parameters, arcs at 101 points).
#pragma once

#include "foundation/matrix.h"
#include "foundation/point_list.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vx::svg {

using vx::Matrix;

// Reads SVG number lists: white space and commas separate, a sign or a
// second "." starts the next number ("1-2.5.5" is 1, -2.5, 0.5).
class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) {}
    void skipSpace();
    // White space with at most one comma in it.
    void skipSeparator();
    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    void advance() { ++m_pos; }
    // A finite number, after separators; the position is kept on failure.
    bool number(double &value);
    // An arc flag: one "0" or "1", after separators.
    bool flag(bool &value);
    std::string_view rest() const { return m_text.substr(m_pos); }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

enum class Unit : uint8_t { None, Px, Mm, Cm, In, Pt, Pc, Percent, Other };

struct Length {
    double value = 0;
    Unit unit = Unit::None;
};

// A whole attribute value as one length; false when it is not one.
bool parseLength(std::string_view text, Length &out);
// Millimetres of one unit at 96 pixels an inch; 0 for %, em and the like.
double millimetresPer(Unit unit);
// The length in user units (pixels), when it has an absolute unit.
bool userUnits(const Length &length, double &out);

// A transform list; false (and nothing changed) when it is not valid. An
// empty list is the identity.
bool parseTransform(std::string_view text, Matrix &out);

// Points as the working list receives them: subpaths become contours, and a
// subpath is written only once it has a segment. The matrix maps user units
// to millimetres with Y up.
class Outline {
public:
    Outline(PointList &list, size_t pointBudget) : m_list(list), m_budget(pointBudget) {}

    void setMatrix(const Matrix &m) { m_matrix = m; }
    // False once the point budget or the contour numbers are spent: nothing
    // more is written.
    bool open() const { return !m_exhausted; }

    void moveTo(double x, double y);
    void lineTo(double x, double y);
    void cubicTo(double x1, double y1, double x2, double y2, double x, double y);
    void quadTo(double x1, double y1, double x, double y);
    // The elliptical arc of SVG's endpoint form to (x, y).
    void arcTo(double rx, double ry, double degrees, bool large, bool sweep, double x, double y);
    // Back to the start of the subpath; a segment after it starts a new one there.
    void close();
    // A whole ellipse with axes along X and Y: 101 points, the last on the first.
    void ellipse(double cx, double cy, double rx, double ry);

    double currentX() const { return m_x; }
    double currentY() const { return m_y; }

private:
    void emit(double x, double y);
    void segmentTo(double x, double y);

    PointList &m_list;
    size_t m_budget;
    Matrix m_matrix;
    int64_t m_contour = 0;
    double m_x = 0, m_y = 0;           // current point, user units
    double m_startX = 0, m_startY = 0; // of the subpath
    bool m_written = false;            // the subpath's first point is in the list
    bool m_exhausted = false;
};

// Path data: every command, absolute and relative, drawn up to the first error.
void drawPath(std::string_view data, Outline &out);
// "points" of a polyline or polygon; an odd last coordinate is dropped.
void drawPoints(std::string_view points, bool closed, Outline &out);

} // namespace vx::svg
