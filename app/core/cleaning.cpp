// The thinning decisions and the two cleanings. A chord is accepted when
// every point between anchor and chord end lies within T of the chord
// (clamped to its ends): a convex stadium, so testing the vertices of the
// hull of those points decides for all of them and long runs stay linear.
#include "core/cleaning.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace orv {

namespace {

struct XY {
    float x, y;
};

double cross(const XY &o, const XY &a, const XY &b)
{
    return (double(a.x) - o.x) * (double(b.y) - o.y) - (double(a.y) - o.y) * (double(b.x) - o.x);
}

// A candidate chord from the anchor a to the chord end b.
struct Chord {
    Chord(const XY &from, const XY &to, float tolerance2)
        : a(from), ex(double(to.x) - from.x), ey(double(to.y) - from.y), l2(ex * ex + ey * ey),
          t2(tolerance2), point(static_cast<float>(l2) <= tolerance2)
    {
    }
    XY a;
    double ex, ey, l2;
    float t2;
    bool point; // no longer than the tolerance: counts as its anchor

    double along(const XY &p) const { return (double(p.x) - a.x) * ex + (double(p.y) - a.y) * ey; }

    // Squared distances are rounded to 32 bits before they meet T²; t is
    // clamped to the chord's ends.
    bool within(const XY &p) const
    {
        const double px = double(p.x) - a.x, py = double(p.y) - a.y;
        if (point)
            return static_cast<float>(px * px + py * py) <= t2;
        const double dot = px * ex + py * ey;
        const double t = dot <= 0 ? 0.0 : dot >= l2 ? 1.0 : dot / l2;
        const double cx = t * ex - px, cy = t * ey - py;
        return static_cast<float>(cx * cx + cy * cy) <= t2;
    }
};

// The points between the anchor and the chord end: the convex hull of the
// older ones, as a lower and an upper chain, plus the few newest. Of the
// hull's vertices only those farthest from the chord's line on either side,
// and those that project before the anchor or past the chord's end, can be
// farther from the chord than all the others.
class Between {
public:
    void reset(const XY &anchor)
    {
        m_anchor = anchor;
        m_lower.clear();
        m_upper.clear();
        m_recent.clear();
        m_frame = -1;
        std::fill(std::begin(m_climb), std::end(m_climb), 0);
        m_farthest2 = 0;
        m_coneEmpty = true;
        m_coneWide = false;
    }
    void add(const XY &p)
    {
        m_recent.push_back(p);
        widen(double(p.x) - m_anchor.x, double(p.y) - m_anchor.y);
        if (m_recent.size() >= kRecent)
            compact();
    }
    bool accepted(const Chord &c)
    {
        for (const XY &p : m_recent)
            if (!c.within(p))
                return false;
        const size_t n = size();
        if (c.point || n <= 4) {
            for (size_t i = 0; i < n; ++i)
                if (!c.within(vertex(i)))
                    return false;
            return true;
        }
        if (!c.within(vertex(climb(0, -c.ey, c.ex))) || !c.within(vertex(climb(1, c.ey, -c.ex))))
            return false;
        if (!allAhead(c)) {
            const size_t back = climb(2, -c.ex, -c.ey);
            if (c.along(vertex(back)) < 0 && !allWithin(back, c, [&](const XY &p) { return c.along(p) < 0; }))
                return false;
        }
        // No point farther from the anchor than the chord's end projects
        // past it (with a margin for rounding).
        if (m_farthest2 < c.l2 * (1 - 1e-9))
            return true;
        const size_t front = climb(3, c.ex, c.ey);
        return !(c.along(vertex(front)) > c.l2 && !allWithin(front, c, [&](const XY &p) { return c.along(p) > c.l2; }));
    }

private:
    static constexpr size_t kRecent = 8;

    // Keeps the directions of every point from the anchor within a cone
    // (dMin counter-clockwise to dMax) while that cone stays under a half turn.
    void widen(double vx, double vy)
    {
        m_farthest2 = std::max(m_farthest2, vx * vx + vy * vy);
        if (m_coneWide || (vx == 0 && vy == 0))
            return;
        if (m_coneEmpty) {
            m_dMin[0] = m_dMax[0] = vx;
            m_dMin[1] = m_dMax[1] = vy;
            m_coneEmpty = false;
            return;
        }
        if (m_dMax[0] * vy - m_dMax[1] * vx > 0) {
            m_dMax[0] = vx;
            m_dMax[1] = vy;
        } else if (vx * m_dMin[1] - vy * m_dMin[0] > 0) {
            m_dMin[0] = vx;
            m_dMin[1] = vy;
        }
        // Close to a half turn, or beyond: no longer trusted.
        const double spread = m_dMin[0] * m_dMax[1] - m_dMin[1] * m_dMax[0];
        if (spread < 0 || (m_dMin[0] * m_dMax[0] + m_dMin[1] * m_dMax[1] < 0 &&
                           spread * spread < 1e-18 * (m_dMin[0] * m_dMin[0] + m_dMin[1] * m_dMin[1]) *
                                                 (m_dMax[0] * m_dMax[0] + m_dMax[1] * m_dMax[1])))
            m_coneWide = true;
    }
    // True when every point projects ahead of the anchor on the chord.
    bool allAhead(const Chord &c) const
    {
        if (m_coneWide || m_coneEmpty)
            return m_coneEmpty;
        const auto ahead = [&](const double *d) {
            const double dot = d[0] * c.ex + d[1] * c.ey;
            return dot > 0 && dot * dot > 1e-18 * c.l2 * (d[0] * d[0] + d[1] * d[1]);
        };
        return ahead(m_dMin) && ahead(m_dMax);
    }

    // The chains are ordered along one of the four axis directions, the one
    // the run travels, so that new points extend the chains at their ends.
    // Quarter turns keep every cross product as it is.
    double key1(const XY &p) const { return m_axis[0] * p.x + m_axis[1] * p.y; }
    double key2(const XY &p) const { return m_axis[0] * p.y - m_axis[1] * p.x; }
    bool before(const XY &a, const XY &b) const
    {
        const double a1 = key1(a), b1 = key1(b);
        return a1 < b1 || (a1 == b1 && key2(a) < key2(b));
    }

    // The polygon counter-clockwise: the lower chain, then the upper chain
    // backwards without its two ends.
    size_t size() const
    {
        if (m_lower.size() <= 1)
            return m_lower.size();
        return m_lower.size() + m_upper.size() - 2;
    }
    const XY &vertex(size_t i) const
    {
        return i < m_lower.size() ? m_lower[i] : m_upper[m_upper.size() - 2 - (i - m_lower.size())];
    }

    // The vertex farthest in direction (dx, dy), climbing from the previous
    // answer of the same slot: around a convex polygon the height has one
    // top, and the chord's direction turns little from one call to the next.
    size_t climb(int slot, double dx, double dy)
    {
        const size_t n = size();
        const auto f = [&](size_t i) { return vertex(i).x * dx + vertex(i).y * dy; };
        size_t i = m_climb[slot] < n ? m_climb[slot] : 0;
        size_t steps = 0;
        while (steps < n && f((i + 1) % n) > f(i)) {
            i = (i + 1) % n;
            ++steps;
        }
        if (steps == 0)
            while (steps < n && f((i + n - 1) % n) > f(i)) {
                i = (i + n - 1) % n;
                ++steps;
            }
        m_climb[slot] = i;
        return i;
    }

    // Tests the chain of vertices around `from` for which inside() holds.
    template <typename Inside> bool allWithin(size_t from, const Chord &c, Inside &&inside)
    {
        const size_t n = size();
        if (!c.within(vertex(from)))
            return false;
        for (size_t k = 1; k < n && inside(vertex((from + k) % n)); ++k)
            if (!c.within(vertex((from + k) % n)))
                return false;
        for (size_t k = 1; k < n && inside(vertex((from + n - k) % n)); ++k)
            if (!c.within(vertex((from + n - k) % n)))
                return false;
        return true;
    }

    // Adds the sorted recent points to one chain: the part of the chain
    // before the first of them stays, the rest is rebuilt by the monotone
    // chain. `lower` keeps left turns, the upper chain right turns; points on
    // an edge are dropped, as they lie inside any convex region that holds
    // the edge's ends.
    void extend(std::vector<XY> &chain, bool lower)
    {
        const auto from = std::lower_bound(chain.begin(), chain.end(), m_recent.front(),
                                           [this](const XY &p, const XY &q) { return before(p, q); });
        m_tail.assign(from, chain.end());
        chain.erase(from, chain.end());
        const auto push = [&](const XY &q) {
            while (chain.size() >= 2) {
                const double turn = cross(chain[chain.size() - 2], chain.back(), q);
                if (lower ? turn > 0 : turn < 0)
                    break;
                chain.pop_back();
            }
            chain.push_back(q);
        };
        size_t i = 0, j = 0;
        while (i < m_tail.size() || j < m_recent.size()) {
            if (j == m_recent.size() || (i < m_tail.size() && !before(m_recent[j], m_tail[i])))
                push(m_tail[i++]);
            else
                push(m_recent[j++]);
        }
    }

    void compact()
    {
        if (m_frame < 0) {
            const double dx = double(m_recent.back().x) - m_recent.front().x;
            const double dy = double(m_recent.back().y) - m_recent.front().y;
            m_frame = std::fabs(dx) >= std::fabs(dy) ? (dx >= 0 ? 0 : 2) : (dy >= 0 ? 1 : 3);
            // Unit axis (1, 0), (0, 1), (-1, 0) or (0, -1): exact products.
            m_axis[0] = m_frame == 0 ? 1 : m_frame == 2 ? -1 : 0;
            m_axis[1] = m_frame == 1 ? 1 : m_frame == 3 ? -1 : 0;
        }
        XY climbed[4];
        const size_t n = size();
        for (int slot = 0; slot < 4 && n > 0; ++slot)
            climbed[slot] = vertex(std::min(m_climb[slot], n - 1));
        std::sort(m_recent.begin(), m_recent.end(), [this](const XY &p, const XY &q) { return before(p, q); });
        extend(m_lower, true);
        extend(m_upper, false);
        m_recent.clear();
        // Each climb resumes from where its last answer now stands.
        for (int slot = 0; slot < 4; ++slot)
            m_climb[slot] = n > 0 ? locate(climbed[slot]) : 0;
    }

    // The polygon index of v, or of a vertex near where it was.
    size_t locate(const XY &v) const
    {
        const auto order = [this](const XY &p, const XY &q) { return before(p, q); };
        const auto lo = std::lower_bound(m_lower.begin(), m_lower.end(), v, order);
        if (lo != m_lower.end() && lo->x == v.x && lo->y == v.y)
            return static_cast<size_t>(lo - m_lower.begin());
        const auto up = std::lower_bound(m_upper.begin(), m_upper.end(), v, order);
        if (up != m_upper.end() && up->x == v.x && up->y == v.y && up != m_upper.begin() && up + 1 != m_upper.end())
            return m_lower.size() + (m_upper.end() - up) - 2;
        return std::min(static_cast<size_t>(lo - m_lower.begin()), size() - 1);
    }

    XY m_anchor{0, 0};
    double m_farthest2 = 0; // greatest squared distance of a point from the anchor
    double m_dMin[2] = {0, 0}, m_dMax[2] = {0, 0};
    bool m_coneEmpty = true, m_coneWide = false;
    std::vector<XY> m_lower, m_upper, m_recent, m_tail;
    int m_frame = -1;
    double m_axis[2] = {1, 0};
    size_t m_climb[4] = {0, 0, 0, 0};
};

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
        between.reset(pts[s]);
        between.add(pts[s + 1]);
        size_t end = s + 2;
        for (;;) {
            if (!between.accepted(Chord(pts[s], pts[end], t2))) {
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
