// The DXF entity reader: turns the entities of the ENTITIES section and of
// block bodies into contours of the working list, one contour number each.
#include "dxf_reader.h"

#include "text_input.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vx::dxf {

namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kZeroLine = 1e-4;

enum Known : unsigned {
    k10 = 1u << 0,
    k20 = 1u << 1,
    k11 = 1u << 2,
    k21 = 1u << 3,
    k40 = 1u << 4,
    k41 = 1u << 5,
    k42 = 1u << 6,
    k50 = 1u << 7,
    k51 = 1u << 8,
    k2 = 1u << 9,
};

// Entities drawn in their own plane: seen from below (extrusion Z of -1) all
// of their X coordinates are mirrored, whatever the order of their groups.
bool inOwnPlane(Kind k)
{
    return k == Kind::LwPolyline || k == Kind::Circle || k == Kind::Arc || k == Kind::Insert ||
           k == Kind::Polyline;
}

struct Entity {
    Kind kind = Kind::Other;
    int32_t contour = 0;
    size_t start = 0; // its first node in the list
    bool ignored = false;
    bool mirrored = false; // extrusion Z of -1 seen
    unsigned known = 0;
    double x10 = 0, y10 = 0, x11 = 0, y11 = 0;
    double v40 = 0, v41 = 0, v42 = 0, v50 = 0, v51 = 0;
    int64_t flags = 0;
    int64_t degree = 3;
    int linePoints = 0;
    // LWPOLYLINE vertices
    size_t vertices = 0;
    double firstX = 0, firstY = 0, prevX = 0, prevY = 0, bulge = 0;
    std::string_view name;
    std::string_view text;
    bool hasText = false;
};

// The POLYLINE whose VERTEX entities are being read.
struct Polyline {
    bool active = false;
    bool ignored = false;
    bool closed = false;
    bool mirrored = false;
    int32_t contour = 0;
    size_t vertices = 0;
    double firstX = 0, firstY = 0, prevX = 0, prevY = 0, prevBulge = 0;
};

void push(PointList &out, double x, double y, int32_t contour) { out.push_back(Node{x, y, contour, 0}); }

void mirrorX(PointList &out, size_t from)
{
    for (size_t i = from; i < out.size(); ++i)
        out[i].x = -out[i].x;
}

bool hasAll(const Entity &e, unsigned bits) { return (e.known & bits) == bits; }

void lwVertex(Entity &e, double x, double y, PointList &out)
{
    if (e.vertices > 0 && e.bulge != 0)
        appendBulgeArc(out, e.prevX, e.prevY, x, y, e.bulge, e.contour);
    else
        push(out, x, y, e.contour);
    if (e.vertices == 0) {
        e.firstX = x;
        e.firstY = y;
    }
    e.prevX = x;
    e.prevY = y;
    e.bulge = 0;
    ++e.vertices;
}

void polylineVertex(Polyline &poly, const Entity &v, PointList &out)
{
    const size_t from = out.size();
    if (poly.vertices > 0 && poly.prevBulge != 0)
        appendBulgeArc(out, poly.prevX, poly.prevY, v.x10, v.y10, poly.prevBulge, poly.contour);
    else
        push(out, v.x10, v.y10, poly.contour);
    if (poly.mirrored)
        mirrorX(out, from);
    if (poly.vertices == 0) {
        poly.firstX = v.x10;
        poly.firstY = v.y10;
    }
    poly.prevX = v.x10;
    poly.prevY = v.y10;
    poly.prevBulge = (v.known & k42) ? v.v42 : 0;
    ++poly.vertices;
}

void closePolyline(Polyline &poly, PointList &out)
{
    if (!poly.ignored && poly.closed && poly.vertices > 0) {
        const size_t from = out.size();
        if (poly.prevBulge != 0)
            appendBulgeArc(out, poly.prevX, poly.prevY, poly.firstX, poly.firstY, poly.prevBulge, poly.contour);
        else
            push(out, poly.firstX, poly.firstY, poly.contour);
        if (poly.mirrored)
            mirrorX(out, from);
    }
    poly = Polyline{};
}

} // namespace

Stop EntityReader::read(size_t pos, PointList &out, int64_t &counter, int depth, size_t *endPos)
{
    PairCursor cursor(m_drawing.text, pos);
    Pair p;
    Entity e;
    bool open = false;
    Polyline poly;
    Stop stop = Stop::End;

    // A value as a number: false when it holds none (the group is then unused).
    double v = 0;
    auto number = [&](unsigned bit) {
        if (!readNumber(p.value, v))
            return false;
        e.known |= bit;
        return true;
    };
    // X of an entity given in world coordinates: only X read after a
    // view-from-below extrusion is mirrored.
    auto worldX = [&] { return e.mirrored ? -v : v; };

    auto finish = [&] {
        if (e.ignored) {
            out.resize(e.start);
            if (e.kind == Kind::Polyline)
                poly.ignored = true;
            return;
        }
        switch (e.kind) {
        case Kind::Line:
            if (e.linePoints == 2) {
                const Node &a = out[out.size() - 2];
                const Node &b = out.back();
                if (std::fabs(a.x - b.x) < kZeroLine && std::fabs(a.y - b.y) < kZeroLine)
                    out.pop_back();
            }
            break;
        case Kind::LwPolyline:
            if (e.vertices == 1) {
                out.resize(e.start);
            } else if ((e.flags & 1) && e.vertices > 1) {
                if (e.bulge != 0)
                    appendBulgeArc(out, e.prevX, e.prevY, e.firstX, e.firstY, e.bulge, e.contour);
                else
                    push(out, e.firstX, e.firstY, e.contour);
            }
            break;
        case Kind::Polyline:
            poly.closed = (e.flags & 1) != 0;
            poly.mirrored = e.mirrored;
            break;
        case Kind::Vertex:
            if (poly.active && !poly.ignored && !(e.flags & 16))
                polylineVertex(poly, e, out);
            break;
        case Kind::Circle:
            if (hasAll(e, k10 | k20 | k40))
                appendCircle(out, e.x10, e.y10, e.v40, e.contour);
            break;
        case Kind::Arc:
            if (hasAll(e, k10 | k20 | k40 | k50 | k51))
                appendArc(out, e.x10, e.y10, e.v40, e.v50 * kDegree, e.v51 * kDegree, e.contour);
            break;
        case Kind::Ellipse:
            // Seen from below, the minor axis runs the other way.
            if (hasAll(e, k10 | k20 | k11 | k21 | k40 | k41 | k42))
                appendEllipse(out, e.x10, e.y10, e.x11, e.y11, e.mirrored ? -e.v40 : e.v40, e.v41, e.v42,
                              e.contour);
            break;
        case Kind::Spline:
            // Bit 8: planar; bit 1: closed.
            if ((e.flags & 8) && appendSpline(out, m_knots, m_controls, e.degree, e.contour, m_drawing.splineWork) &&
                (e.flags & 1))
                push(out, m_controls.front().x, m_controls.front().y, e.contour);
            break;
        case Kind::Insert:
            if (e.known & k2)
                insert(e.name, e.x10, e.y10, (e.known & k41) ? e.v41 : 1, (e.known & k42) ? e.v42 : 1,
                       (e.known & k50) ? e.v50 : 0, out, counter, depth);
            break;
        case Kind::Text:
            if (e.hasText && m_title.blank())
                m_title.assign(e.text);
            break;
        default:
            break;
        }
        if (e.mirrored && inOwnPlane(e.kind))
            mirrorX(out, e.start);
    };

    while (cursor.next(p)) {
        if (p.code != 0) {
            if (!open || e.ignored)
                continue;
            switch (p.code) {
            case 8:
                if (m_drawing.layerOff(p.value))
                    e.ignored = true;
                continue;
            case 66: // vertices or attributes follow: only a POLYLINE or an INSERT has them
            case 67: // paper space
            {
                int64_t flag = 0;
                if (readInteger(p.value, flag) && flag != 0 &&
                    (p.code == 67 || (e.kind != Kind::Polyline && e.kind != Kind::Insert)))
                    e.ignored = true;
                continue;
            }
            case 230:
                if (e.kind != Kind::Vertex && readNumber(p.value, v) && v == -1)
                    e.mirrored = true;
                continue;
            default:
                break;
            }
            switch (e.kind) {
            case Kind::Line:
                if (p.code == 10 && number(k10))
                    e.x10 = worldX();
                else if (p.code == 11 && number(k11))
                    e.x11 = worldX();
                else if ((p.code == 20 || p.code == 21) && readNumber(p.value, v)) {
                    push(out, p.code == 20 ? e.x10 : e.x11, v, e.contour);
                    ++e.linePoints;
                }
                break;
            case Kind::Point:
                if (p.code == 10 && number(k10))
                    e.x10 = worldX();
                else if (p.code == 20 && readNumber(p.value, v))
                    push(out, e.x10, v, e.contour);
                break;
            case Kind::LwPolyline:
                if (p.code == 10 && number(k10))
                    e.x10 = v;
                else if (p.code == 20 && readNumber(p.value, v))
                    lwVertex(e, e.x10, v, out);
                else if (p.code == 42 && readNumber(p.value, v))
                    e.bulge = v;
                else if (p.code == 70)
                    readInteger(p.value, e.flags);
                break;
            case Kind::Polyline:
                if (p.code == 70)
                    readInteger(p.value, e.flags);
                break;
            case Kind::Vertex:
                if (p.code == 10 && number(k10))
                    e.x10 = v;
                else if (p.code == 20 && number(k20))
                    e.y10 = v;
                else if (p.code == 42 && number(k42))
                    e.v42 = v;
                else if (p.code == 70)
                    readInteger(p.value, e.flags);
                break;
            case Kind::Circle:
            case Kind::Arc:
            case Kind::Ellipse:
            case Kind::Insert:
                switch (p.code) {
                case 2:
                    if (e.kind == Kind::Insert) {
                        e.name = p.value;
                        e.known |= k2;
                    }
                    break;
                case 10:
                    if (number(k10))
                        e.x10 = e.kind == Kind::Ellipse ? worldX() : v;
                    break;
                case 20:
                    if (number(k20))
                        e.y10 = v;
                    break;
                case 11:
                    if (number(k11))
                        e.x11 = e.kind == Kind::Ellipse ? worldX() : v;
                    break;
                case 21:
                    if (number(k21))
                        e.y11 = v;
                    break;
                case 40:
                    if (number(k40))
                        e.v40 = v;
                    break;
                case 41:
                    if (number(k41))
                        e.v41 = v;
                    break;
                case 42:
                    if (number(k42))
                        e.v42 = v;
                    break;
                case 50:
                    if (number(k50))
                        e.v50 = v;
                    break;
                case 51:
                    if (number(k51))
                        e.v51 = v;
                    break;
                default:
                    break;
                }
                break;
            case Kind::Spline:
                // Control points are world coordinates: the extrusion only
                // tells the plane, so X is never mirrored.
                if (p.code == 10 && number(k10))
                    e.x10 = v;
                else if (p.code == 20 && readNumber(p.value, v))
                    m_controls.push_back({e.x10, v});
                else if (p.code == 40 && readNumber(p.value, v))
                    m_knots.push_back(v);
                else if (p.code == 70)
                    readInteger(p.value, e.flags);
                else if (p.code == 71)
                    readInteger(p.value, e.degree);
                break;
            case Kind::Text:
                if (p.code == 1) {
                    e.text = p.line;
                    e.hasText = true;
                }
                break;
            default:
                break;
            }
            continue;
        }

        if (open)
            finish();
        open = false;
        const Kind kind = kindOf(p.value);
        if (kind != Kind::Vertex && poly.active)
            closePolyline(poly, out);
        if (kind == Kind::EndBlk || kind == Kind::EndSec) {
            stop = kind == Kind::EndBlk ? Stop::EndBlk : Stop::EndSec;
            break;
        }
        if (kind == Kind::Other)
            continue;
        if (kind != Kind::Vertex) {
            if (counter >= kMaxContourNumber) {
                m_drawing.finished = true;
                break;
            }
            ++counter;
        }
        e = Entity{};
        e.kind = kind;
        e.start = out.size();
        e.contour = kind == Kind::Vertex ? poly.contour : static_cast<int32_t>(counter);
        if (kind == Kind::Spline) {
            m_knots.clear();
            m_controls.clear();
        } else if (kind == Kind::Polyline) {
            poly = Polyline{};
            poly.active = true;
            poly.contour = e.contour;
        }
        open = true;
    }
    if (open)
        finish();
    if (poly.active)
        closePolyline(poly, out);
    if (endPos)
        *endPos = cursor.position();
    return stop;
}

void EntityReader::insert(std::string_view name, double x, double y, double sx, double sy, double degrees,
                          PointList &out, int64_t &counter, int depth)
{
    if (m_drawing.exhausted)
        return;
    Block *block = m_drawing.findBlock(name);
    if (!block)
        return;
    const PointList *body = expandedBlock(*block, depth + 1);
    if (!body)
        return;
    if (body->size() > m_drawing.expansionBudget || counter + block->span > kMaxContourNumber) {
        m_drawing.exhausted = true;
        return;
    }
    m_drawing.expansionBudget -= body->size();
    const double r = degrees * kDegree;
    const double c = std::cos(r), s = std::sin(r);
    const double bx = block->baseX, by = block->baseY;
    for (const Node &n : *body) {
        const double x1 = sx * (n.x - bx);
        const double y1 = sy * (n.y - by);
        out.push_back(Node{x + x1 * c - y1 * s, y + x1 * s + y1 * c, static_cast<int32_t>(counter + n.contour), 0});
    }
    counter += block->span;
}

const PointList *EntityReader::expandedBlock(Block &block, int depth)
{
    if (block.state == Block::State::Read)
        return &block.points;
    // A block that inserts itself, directly or not, or a nesting too deep,
    // adds nothing more from there.
    if (block.state == Block::State::Reading || depth > kMaxBlockDepth)
        return nullptr;
    block.state = Block::State::Reading;
    PointList points;
    int64_t span = 0;
    read(block.body, points, span, depth);
    block.points = std::move(points);
    block.span = span;
    block.state = Block::State::Read;
    return &block.points;
}

} // namespace vx::dxf
