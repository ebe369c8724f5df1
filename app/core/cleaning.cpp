// The thinning decisions and the two cleanings. A chord is accepted when
// every point between anchor and chord end lies within T of the chord
// (clamped to its ends): a convex stadium, so testing the vertices of the
// hull of those points decides for all of them and long runs stay linear.
#include "core/cleaning.h"

#include <algorithm>
#include <cstdint>

namespace orv {

namespace {

struct XY {
    float x, y;
};

double cross(const XY &o, const XY &a, const XY &b)
{
    return (double(a.x) - o.x) * (double(b.y) - o.y) - (double(a.y) - o.y) * (double(b.x) - o.x);
}

// The points between the anchor and the chord end, reduced now and then to
// the vertices of their convex hull.
class Between {
public:
    void reset()
    {
        m_pts.clear();
        m_compactAt = 32;
    }
    void add(const XY &p)
    {
        m_pts.push_back(p);
        if (m_pts.size() >= m_compactAt) {
            compact();
            m_compactAt = std::max<size_t>(32, 2 * m_pts.size());
        }
    }
    const std::vector<XY> &points() const { return m_pts; }

private:
    // Monotone chain; points on a hull edge are dropped, as they lie inside
    // any convex region that holds the edge's ends.
    void compact()
    {
        std::sort(m_pts.begin(), m_pts.end(),
                  [](const XY &a, const XY &b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
        m_hull.assign(2 * m_pts.size(), XY{});
        size_t k = 0;
        for (size_t i = 0; i < m_pts.size(); ++i) {
            while (k >= 2 && cross(m_hull[k - 2], m_hull[k - 1], m_pts[i]) <= 0)
                --k;
            m_hull[k++] = m_pts[i];
        }
        for (size_t i = m_pts.size() - 1, lower = k + 1; i > 0; --i) {
            while (k >= lower && cross(m_hull[k - 2], m_hull[k - 1], m_pts[i - 1]) <= 0)
                --k;
            m_hull[k++] = m_pts[i - 1];
        }
        m_hull.resize(k > 1 ? k - 1 : k);
        m_pts.swap(m_hull);
    }

    std::vector<XY> m_pts, m_hull;
    size_t m_compactAt = 32;
};

// Squared distances are rounded to 32 bits before they meet T².
bool within(const XY &p, const XY &a, const XY &b, float t2)
{
    const double ex = double(b.x) - a.x, ey = double(b.y) - a.y;
    const double l2 = ex * ex + ey * ey;
    const double px = double(p.x) - a.x, py = double(p.y) - a.y;
    if (static_cast<float>(l2) <= t2)
        return static_cast<float>(px * px + py * py) <= t2;
    const double t = std::clamp((px * ex + py * ey) / l2, 0.0, 1.0);
    const double cx = t * ex - px, cy = t * ey - py;
    return static_cast<float>(cx * cx + cy * cy) <= t2;
}

bool chordAccepted(const Between &between, const XY &a, const XY &b, float t2)
{
    for (const XY &p : between.points())
        if (!within(p, a, b, t2))
            return false;
    return true;
}

// keep[i] for every point; needs at least three points.
std::vector<uint8_t> thin(const std::vector<XY> &pts, float tolerance)
{
    const float t2 = tolerance * tolerance;
    const size_t last = pts.size() - 1;
    std::vector<uint8_t> keep(pts.size(), 0);
    keep[0] = keep[last] = 1;
    Between between;
    size_t s = 0;
    while (s + 2 <= last) {
        between.reset();
        between.add(pts[s + 1]);
        size_t end = s + 2;
        for (;;) {
            if (!chordAccepted(between, pts[s], pts[end], t2)) {
                s = end - 1;
                keep[s] = 1;
                break;
            }
            if (end == last) { // the list ended: every point up to the last goes
                s = last;
                break;
            }
            between.add(pts[end++]);
        }
    }
    return keep;
}

template <typename Point> std::vector<XY> coordinates(const std::vector<Point> &pts)
{
    std::vector<XY> xy;
    xy.reserve(pts.size());
    for (const Point &p : pts)
        xy.push_back({p.X, p.Y});
    return xy;
}

void markVector(std::vector<PointProfil> &pts, float tolerance)
{
    if (pts.size() < 3) {
        for (PointProfil &p : pts)
            p.Flags = static_cast<int16_t>(p.Flags | kKeepMark);
        return;
    }
    const std::vector<uint8_t> keep = thin(coordinates(pts), tolerance);
    for (size_t i = 0; i < pts.size(); ++i)
        if (keep[i])
            pts[i].Flags = static_cast<int16_t>(pts[i].Flags | kKeepMark);
}

} // namespace

int32_t thinList(std::vector<ContourPoint> &points, float tolerance)
{
    if (points.size() < 4)
        return static_cast<int32_t>(points.size());
    const std::vector<uint8_t> keep = thin(coordinates(points), tolerance);
    size_t w = 0;
    for (size_t i = 0; i < points.size(); ++i)
        if (keep[i])
            points[w++] = points[i];
    points.resize(w);
    return static_cast<int32_t>(w);
}

void markProfile(ProfilePoints &points, float tolerance)
{
    std::vector<PointProfil> pts = points.toVector();
    markVector(pts, tolerance);
    points.assign(pts);
}

bool cleaningOffersChoice(const Profils &doc) { return doc.NbPointsE() == doc.NbPointsS(); }

Notice cleaningQuestion()
{
    return {"Le nettoyage peut être total ou conserver les points synchrones si les profils ont le même nombre de "
            "points.\r\nVoulez-vous conserver les points synchrones?",
            "Nettoyage", NoticeIcon::Question};
}

CleaningResult cleanTotal(Profils &doc, std::vector<ContourPoint> &pointsLus, float &toleranceLecture, float divisor)
{
    CleaningResult result;
    for (Side s : kSides) {
        ProfilePoints &profile = doc.points(s);
        if (profile.empty())
            continue;
        const std::vector<PointProfil> before = profile.toVector();
        float xMin = before[0].X, xMax = xMin, yMin = before[0].Y, yMax = yMin;
        pointsLus.assign(before.size(), ContourPoint{});
        for (size_t i = 0; i < before.size(); ++i) {
            const PointProfil &p = before[i];
            xMin = std::min(xMin, p.X);
            xMax = std::max(xMax, p.X);
            yMin = std::min(yMin, p.Y);
            yMax = std::max(yMax, p.Y);
            pointsLus[i].X = p.X;
            pointsLus[i].Y = p.Y;
        }
        const float width = xMax - xMin, height = yMax - yMin;
        toleranceLecture = std::max(width, height) / divisor;
        thinList(pointsLus, toleranceLecture);

        std::vector<PointProfil> after(pointsLus.size());
        for (size_t i = 0; i < pointsLus.size(); ++i)
            after[i] = {pointsLus[i].X, pointsLus[i].Y, 0};
        if (after != before) {
            profile.assign(after);
            result.changed[s] = true;
        }
    }
    return result;
}

CleaningResult cleanSynchronous(Profils &doc)
{
    CleaningResult result;
    if (doc.NbPointsE() != doc.NbPointsS()) {
        result.notice = critical("Les profils n'ont pas le même nombre de points, le nettoyage synchrone est impossible.",
                                 "Choix impossible");
        return result;
    }
    std::vector<PointProfil> e = doc.PointsE.toVector(), s = doc.PointsS.toVector();
    const std::vector<PointProfil> oldE = e, oldS = s;
    markVector(e, kSyncCleaningTolerance);
    markVector(s, kSyncCleaningTolerance);
    size_t w = 0;
    for (size_t i = 0; i < e.size(); ++i) {
        if (e[i].has(kKeepMark) || s[i].has(kKeepMark)) {
            e[w] = e[i];
            s[w] = s[i];
            e[w].Flags = static_cast<int16_t>(e[w].Flags & ~kKeepMark);
            s[w].Flags = static_cast<int16_t>(s[w].Flags & ~kKeepMark);
            ++w;
        }
    }
    e.resize(w);
    s.resize(w);
    if (e != oldE) {
        doc.PointsE.assign(e);
        result.changed[Emplanture] = true;
    }
    if (s != oldS) {
        doc.PointsS.assign(s);
        result.changed[Saumon] = true;
    }
    return result;
}

} // namespace orv
