// The four point transforms, each a function of a point's old coordinates
// and its profile's pivot box.
#include "core/transforms.h"

#include <cmath>

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979;

struct Box {
    bool has = false;
    float xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    double cx() const { return (double(xMin) + xMax) / 2; }
    double cy() const { return (double(yMin) + yMax) / 2; }
};

Box selectionBox(const ProfilePoints &points)
{
    Box b;
    points.forEachRun([&](int32_t, std::span<const PointProfil> run) {
        for (const PointProfil &p : run) {
            if (!p.has(kSelected))
                continue;
            if (!b.has) {
                b = {true, p.X, p.X, p.Y, p.Y};
                continue;
            }
            if (p.X < b.xMin)
                b.xMin = p.X;
            if (p.X > b.xMax)
                b.xMax = p.X;
            if (p.Y < b.yMin)
                b.yMin = p.Y;
            if (p.Y > b.yMax)
                b.yMax = p.Y;
        }
    });
    return b;
}

// Applies f(point, box) to the selected points of each profile that has any.
template <typename F> TransformResult transform(Profils &doc, F &&f)
{
    TransformResult result;
    for (Side s : kSides) {
        ProfilePoints &points = doc.points(s);
        const Box box = selectionBox(points);
        if (!box.has)
            continue;
        points.forEachEdit([&](int32_t, PointProfil &p) {
            if (p.has(kSelected))
                f(p, box);
        });
        result.moved[s] = true;
    }
    return result;
}

} // namespace

bool hasSelection(const Profils &doc)
{
    return selectionBox(doc.PointsE).has || selectionBox(doc.PointsS).has;
}

TransformResult mirrorSelection(Profils &doc, Mirror mirror)
{
    return transform(doc, [mirror](PointProfil &p, const Box &b) {
        if (mirror == Mirror::Vertical)
            p.Y = static_cast<float>(double(b.yMin) + b.yMax - p.Y);
        else
            p.X = static_cast<float>(double(b.xMin) + b.xMax - p.X);
    });
}

TransformResult stretchSelection(Profils &doc, Stretch axis, double percent)
{
    return transform(doc, [axis, percent](PointProfil &p, const Box &b) {
        if (axis != Stretch::Y)
            p.X = static_cast<float>((p.X - b.cx()) * percent / 100 + b.cx());
        if (axis != Stretch::X)
            p.Y = static_cast<float>((p.Y - b.cy()) * percent / 100 + b.cy());
    });
}

TransformResult rotateSelection(Profils &doc, double degrees)
{
    const double r = degrees * kPi / 180;
    const double c = std::cos(r), s = std::sin(r);
    return transform(doc, [c, s](PointProfil &p, const Box &b) {
        const double x = p.X - b.cx(), y = p.Y - b.cy();
        p.X = static_cast<float>(x * c + b.cx() - y * s);
        p.Y = static_cast<float>(x * s + b.cy() + y * c);
    });
}

TransformResult moveSelection(Profils &doc, Axis axis, double d)
{
    return transform(doc, [axis, d](PointProfil &p, const Box &) {
        if (axis == Axis::X)
            p.X = static_cast<float>(p.X + d);
        else
            p.Y = static_cast<float>(p.Y + d);
    });
}

} // namespace orv
