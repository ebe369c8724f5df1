// The DXF entity reader: turns the entities of the ENTITIES section and of
// block bodies into pieces, one shape and one contour number each.
#include "readers/dxf_reader.h"

#include "foundation/text_input.h"

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
    k12 = 1u << 10,
    k22 = 1u << 11,
    k13 = 1u << 12,
    k23 = 1u << 13,
};

// Entities drawn in their own plane: seen from below (extrusion Z of -1) all
// of their X coordinates are mirrored, whatever the order of their groups.
bool inOwnPlane(Kind k)
{
    return k == Kind::LwPolyline || k == Kind::Circle || k == Kind::Arc || k == Kind::Insert ||
           k == Kind::Polyline;
}

// Entities that make a shape of their own as they are read.
bool ownsShape(Kind k)
{
    return k == Kind::Line || k == Kind::Point || k == Kind::LwPolyline || k == Kind::Circle || k == Kind::Arc ||
           k == Kind::Ellipse || k == Kind::Spline;
}

struct Entity {
    Kind kind = Kind::Other;
    int32_t contour = 0;
    bool ignored = false;
    bool mirrored = false; // extrusion Z of -1 seen
    unsigned known = 0;
    double x10 = 0, y10 = 0, x11 = 0, y11 = 0;
    double v40 = 0, v41 = 0, v42 = 0, v50 = 0, v51 = 0;
    int64_t flags = 0;
    int64_t degree = 3;
    int linePoints = 0;
    // SPLINE fit points and end tangents
    std::vector<ControlPoint> fits;
    double x12 = 0, y12 = 0, x13 = 0, y13 = 0;
    // LWPOLYLINE vertices
    size_t vertices = 0;
    double firstX = 0, firstY = 0, prevX = 0, prevY = 0, bulge = 0;
    std::string_view name;
    std::string_view text;
    bool hasText = false;
};

// The POLYLINE whose VERTEX entities are being read; its shape stays open
// until the polyline ends.
struct Polyline {
    bool active = false;
    bool ignored = false;
    bool closed = false;
    bool mirrored = false;
    int32_t contour = 0;
    size_t vertices = 0;
    double firstX = 0, firstY = 0, prevX = 0, prevY = 0, prevBulge = 0;
};

bool hasAll(const Entity &e, unsigned bits) { return (e.known & bits) == bits; }

void addPiece(Body &out, const Shapes &shapes, int64_t shape, int32_t contour)
{
    if (shape < 0)
        return;
    out.pieces.push_back(Piece{static_cast<uint32_t>(shape), -1, contour});
    out.samples += shapes.shapes[static_cast<size_t>(shape)].samples;
}

void lwVertex(Entity &e, double x, double y, Shapes &shapes)
{
    if (e.vertices > 0 && e.bulge != 0)
        shapes.bulge(e.prevX, e.prevY, x, y, e.bulge);
    else
        shapes.point(x, y);
    if (e.vertices == 0) {
        e.firstX = x;
        e.firstY = y;
    }
    e.prevX = x;
    e.prevY = y;
    e.bulge = 0;
    ++e.vertices;
}

void polylineVertex(Polyline &poly, const Entity &v, Shapes &shapes)
{
    if (poly.vertices > 0 && poly.prevBulge != 0)
        shapes.bulge(poly.prevX, poly.prevY, v.x10, v.y10, poly.prevBulge);
    else
        shapes.point(v.x10, v.y10);
    if (poly.vertices == 0) {
        poly.firstX = v.x10;
        poly.firstY = v.y10;
    }
    poly.prevX = v.x10;
    poly.prevY = v.y10;
    poly.prevBulge = (v.known & k42) ? v.v42 : 0;
    ++poly.vertices;
}

void closePolyline(Polyline &poly, Shapes &shapes, Body &out)
{
    if (poly.ignored) {
        shapes.discard();
    } else {
        if (poly.closed && poly.vertices > 0) {
            if (poly.prevBulge != 0)
                shapes.bulge(poly.prevX, poly.prevY, poly.firstX, poly.firstY, poly.prevBulge);
            else
                shapes.point(poly.firstX, poly.firstY);
        }
        addPiece(out, shapes, shapes.end(poly.mirrored), poly.contour);
    }
    poly = Polyline{};
}

} // namespace

Stop EntityReader::read(size_t pos, Body &out, int64_t &counter, int depth, size_t *endPos)
{
    Shapes &shapes = m_drawing.shapes;
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
            if (e.kind == Kind::Polyline)
                poly.ignored = true;
            else if (ownsShape(e.kind))
                shapes.discard();
            return;
        }
        switch (e.kind) {
        case Kind::Line:
            if (e.linePoints == 2) {
                const double *a = shapes.lastPoint(1);
                const double *b = shapes.lastPoint(0);
                if (std::fabs(a[0] - b[0]) < kZeroLine && std::fabs(a[1] - b[1]) < kZeroLine)
                    shapes.dropLastPoint();
            }
            break;
        case Kind::LwPolyline:
            if (e.vertices == 1) {
                shapes.discard();
            } else if ((e.flags & 1) && e.vertices > 1) {
                if (e.bulge != 0)
                    shapes.bulge(e.prevX, e.prevY, e.firstX, e.firstY, e.bulge);
                else
                    shapes.point(e.firstX, e.firstY);
            }
            break;
        case Kind::Polyline:
            poly.closed = (e.flags & 1) != 0;
            poly.mirrored = e.mirrored;
            break;
        case Kind::Vertex:
            if (poly.active && !poly.ignored && !(e.flags & 16))
                polylineVertex(poly, e, shapes);
            break;
        case Kind::Circle:
            if (hasAll(e, k10 | k20 | k40))
                shapes.circle(e.x10, e.y10, e.v40);
            break;
        case Kind::Arc:
            if (hasAll(e, k10 | k20 | k40 | k50 | k51))
                shapes.arc(e.x10, e.y10, e.v40, e.v50 * kDegree, e.v51 * kDegree);
            break;
        case Kind::Ellipse:
            // Seen from below, the minor axis runs the other way.
            if (hasAll(e, k10 | k20 | k11 | k21 | k40 | k41 | k42))
                shapes.ellipse(e.x10, e.y10, e.x11, e.y11, e.mirrored ? -e.v40 : e.v40, e.v41, e.v42);
            break;
        case Kind::Spline: {
            // Bit 1: closed. The planar bit (8) is not needed: Z is never
            // read. Without control points, the cubic through the fit points.
            int64_t degree = e.degree;
            if (m_controls.empty() && !e.fits.empty()) {
                const ControlPoint start{e.x12, e.y12}, end{e.x13, e.y13};
                degree = 3;
                if (!fitSpline(e.fits, hasAll(e, k12 | k22) ? &start : nullptr,
                               hasAll(e, k13 | k23) ? &end : nullptr, m_knots, m_controls))
                    break;
            }
            // The curve ends at its last control point.
            if (splineUsable(m_knots, m_controls.size(), degree, m_drawing.splineWork)) {
                shapes.spline(m_knots, m_controls, static_cast<size_t>(degree) + 1);
                shapes.point(m_controls.back().x, m_controls.back().y);
                if (e.flags & 1)
                    shapes.point(m_controls.front().x, m_controls.front().y);
            }
            break;
        }
        case Kind::Insert:
            if (e.known & k2)
                insert(e.name, e.x10, e.y10, (e.known & k41) ? e.v41 : 1, (e.known & k42) ? e.v42 : 1,
                       (e.known & k50) ? e.v50 : 0, e.mirrored, out, counter, depth);
            break;
        case Kind::Text:
            if (e.hasText && m_title.blank())
                m_title.assign(e.text);
            break;
        default:
            break;
        }
        if (ownsShape(e.kind))
            addPiece(out, shapes, shapes.end(e.mirrored && inOwnPlane(e.kind)), e.contour);
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
                    shapes.point(p.code == 20 ? e.x10 : e.x11, v);
                    ++e.linePoints;
                }
                break;
            case Kind::Point:
                if (p.code == 10 && number(k10))
                    e.x10 = worldX();
                else if (p.code == 20 && readNumber(p.value, v))
                    shapes.point(e.x10, v);
                break;
            case Kind::LwPolyline:
                if (p.code == 10 && number(k10))
                    e.x10 = v;
                else if (p.code == 20 && readNumber(p.value, v))
                    lwVertex(e, e.x10, v, shapes);
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
                else if (p.code == 11 && number(k11))
                    e.x11 = v;
                else if (p.code == 21 && readNumber(p.value, v))
                    e.fits.push_back({e.x11, v});
                else if (p.code == 12 && number(k12))
                    e.x12 = v;
                else if (p.code == 22 && number(k22))
                    e.y12 = v;
                else if (p.code == 13 && number(k13))
                    e.x13 = v;
                else if (p.code == 23 && number(k23))
                    e.y13 = v;
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
            closePolyline(poly, shapes, out);
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
        e.contour = kind == Kind::Vertex ? poly.contour : static_cast<int32_t>(counter);
        if (ownsShape(kind) || kind == Kind::Polyline)
            shapes.begin();
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
        closePolyline(poly, shapes, out);
    if (endPos)
        *endPos = cursor.position();
    return stop;
}

void EntityReader::insert(std::string_view name, double x, double y, double sx, double sy, double degrees,
                          bool mirrored, Body &out, int64_t &counter, int depth)
{
    if (m_drawing.exhausted)
        return;
    Block *block = m_drawing.findBlock(name);
    if (!block)
        return;
    const Body *body = expandedBlock(*block, depth + 1);
    if (!body)
        return;
    if (body->samples > m_drawing.expansionBudget || counter + block->span > kMaxContourNumber) {
        m_drawing.exhausted = true;
        return;
    }
    m_drawing.expansionBudget -= body->samples;
    // The body is kept once; this reference only places it.
    const double r = degrees * kDegree;
    const auto placed = static_cast<int32_t>(out.transforms.size());
    out.transforms.push_back(
        Transform{sx, sy, block->baseX, block->baseY, std::cos(r), std::sin(r), x, y, -1, mirrored});
    for (Transform t : body->transforms) {
        t.parent = t.parent < 0 ? placed : placed + 1 + t.parent;
        out.transforms.push_back(t);
    }
    for (Piece piece : body->pieces) {
        piece.transform = piece.transform < 0 ? placed : placed + 1 + piece.transform;
        piece.contour = static_cast<int32_t>(counter + piece.contour);
        out.pieces.push_back(piece);
    }
    out.samples += body->samples;
    counter += block->span;
}

const Body *EntityReader::expandedBlock(Block &block, int depth)
{
    if (block.state == Block::State::Read)
        return &block.expanded;
    // A block that inserts itself, directly or not, or a nesting too deep,
    // adds nothing more from there.
    if (block.state == Block::State::Reading || depth > kMaxBlockDepth)
        return nullptr;
    block.state = Block::State::Reading;
    Body body;
    int64_t span = 0;
    read(block.body, body, span, depth);
    block.expanded = std::move(body);
    block.span = span;
    block.state = Block::State::Read;
    return &block.expanded;
}

} // namespace vx::dxf
