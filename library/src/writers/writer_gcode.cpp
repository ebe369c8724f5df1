// G-code program of a panel for a 4-axis hot-wire machine: header comments,
// heat, the approach, the cut in inverse-time feed, the return.
#include "writers/gcode_path.h"
#include "writers/writer_common.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace vx {

namespace {

// No machine reaches 100 m: larger values come from a degenerate panel, and
// bounding them keeps every line short.
constexpr double kMaxCoordinate = 1e5;
// A move shorter than a nanometre still lasts 60 ns at most.
constexpr double kMaxInverseFeed = 1e9;
// F keeps at least three significant digits, up to this many decimals.
constexpr int kMaxFeedDecimals = 12;
constexpr double kPowers[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};

// Carriage positions in units of the last written decimal, in the order of
// the machine's axis letters.
using Position = std::array<int64_t, 4>;

// An approach or return move, at units-per-minute feed.
struct Traverse {
    Position to;
    bool allAxes; // or only the axes that move
};

// The faces once offset by their kerf, and where the wire meets the towers.
struct Panel {
    explicit Panel(const VxMachine &m) : machine(m), towers(m), scale(kPowers[m.decimals]) {}
    const VxMachine &machine;
    std::vector<Vec2> root, tip;
    TowerProjection towers;
    double scale;
};

// What the first pass over the cut finds, for the header and the approach.
struct CutSummary {
    Position start{}, end{};
    double rootLength = 0, tipLength = 0, minutes = 0;
    bool withinLimits = true;
};

// "." decimals; a value that rounds to zero is written without its sign.
void appendNumber(std::string &out, double v, int decimals)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    const std::string_view text(buf, r.ec == std::errc() ? static_cast<size_t>(r.ptr - buf) : 0);
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string_view::npos)
        out.append(text.substr(1));
    else
        out.append(text);
}

std::string number(double v, int decimals)
{
    std::string s;
    appendNumber(s, v, decimals);
    return s;
}

void appendScaled(std::string &out, int64_t q, int decimals)
{
    if (q < 0)
        out += '-';
    const uint64_t magnitude = q < 0 ? 0 - static_cast<uint64_t>(q) : static_cast<uint64_t>(q);
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, magnitude);
    const auto count = static_cast<size_t>(r.ptr - digits);
    const auto fraction = static_cast<size_t>(decimals);
    // At least one digit before the point.
    char buf[48];
    const size_t pad = count < fraction + 1 ? fraction + 1 - count : 0;
    std::fill(buf, buf + pad, '0');
    std::copy(digits, digits + count, buf + pad);
    const size_t total = pad + count;
    out.append(buf, total - fraction);
    if (fraction > 0) {
        out += '.';
        out.append(buf + total - fraction, fraction);
    }
}

// A feed with at least three significant digits: with few decimals a slow
// feed would otherwise read F0, which no controller takes.
void appendFeed(std::string &out, double feed, int decimals)
{
    while (decimals < kMaxFeedDecimals && feed * kPowers[decimals] < 100)
        ++decimals;
    // Below 1e15 in units of the last decimal: the integer path is exact.
    appendScaled(out, std::llround(feed * kPowers[decimals]), decimals);
}

double distance(Vec2 a, Vec2 b) { return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y)); }

bool allEqual(const std::vector<Vec2> &face)
{
    return std::all_of(face.begin(), face.end(),
                       [&](const Vec2 &p) { return p.x == face[0].x && p.y == face[0].y; });
}

// The faces as doubles; false when a coordinate is not a finite number.
bool readFace(const RecordView &records, std::vector<Vec2> &face)
{
    face.resize(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const float x = records.x(i), y = records.y(i);
        if (!std::isfinite(x) || !std::isfinite(y))
            return false;
        face[i] = {x, y};
    }
    return true;
}

// Calls visit(position, inverseFeed, rootMove, tipMove) for each position of
// the cut, the first with no feed. F makes the faster face move at `feed`. A
// move that would not change any written position is left out; the next one
// then starts from the last written point. 0, or VX_ERR_GCODE_POINT.
template <typename Visit> int walkCut(const Panel &panel, Visit &&visit)
{
    const size_t n = panel.root.size();
    Position previous{};
    size_t last = 0;
    for (size_t i = 0; i < n; ++i) {
        const Vec2 r = panel.root[i], t = panel.tip[i];
        const Vec2 first = panel.towers.first(r, t), second = panel.towers.second(r, t);
        const double values[4] = {first.x, first.y, second.x, second.y};
        Position p;
        for (int a = 0; a < 4; ++a) {
            if (!(std::fabs(values[a]) <= kMaxCoordinate))
                return VX_ERR_GCODE_POINT;
            p[a] = std::llround(values[a] * panel.scale);
        }
        if (i > 0 && p == previous)
            continue;
        double inverseFeed = 0, rootMove = 0, tipMove = 0;
        if (i > 0) {
            rootMove = distance(panel.root[last], r);
            tipMove = distance(panel.tip[last], t);
            const double longer = std::max(rootMove, tipMove);
            inverseFeed = longer > 0 ? std::min(panel.machine.feed / longer, kMaxInverseFeed) : kMaxInverseFeed;
        }
        visit(p, inverseFeed, rootMove, tipMove);
        previous = p;
        last = i;
    }
    return 0;
}

bool withinLimits(const Position &p, const Panel &panel)
{
    for (int a = 0; a < 4; ++a) {
        const double lo = panel.machine.limits[2 * a], hi = panel.machine.limits[2 * a + 1];
        const double v = static_cast<double>(p[a]) / panel.scale;
        if (!(lo == 0 && hi == 0) && (v < lo || v > hi))
            return false;
    }
    return true;
}

// Reads and offsets the faces, then walks the cut once for its lengths,
// time and limits. 0, or a VX_ERR_GCODE_* code.
int planCut(const RecordView &rootRecords, const RecordView &tipRecords, Panel &panel, CutSummary &summary)
{
    if (rootRecords.size() < 2)
        return VX_ERR_GCODE_TOO_FEW;
    if (!readFace(rootRecords, panel.root) || !readFace(tipRecords, panel.tip))
        return VX_ERR_GCODE_POINT;
    if (allEqual(panel.root) && allEqual(panel.tip))
        return VX_ERR_GCODE_TOO_FEW;
    offsetFace(panel.root, panel.machine.kerfRoot);
    offsetFace(panel.tip, panel.machine.kerfTip);
    size_t count = 0;
    const int r = walkCut(panel, [&](const Position &p, double inverseFeed, double rootMove, double tipMove) {
        if (count++ == 0)
            summary.start = p;
        summary.end = p;
        summary.rootLength += rootMove;
        summary.tipLength += tipMove;
        summary.minutes += inverseFeed > 0 ? 1 / inverseFeed : 0;
        summary.withinLimits = summary.withinLimits && withinLimits(p, panel);
    });
    if (r)
        return r;
    return count < 2 ? VX_ERR_GCODE_TOO_FEW : 0;
}

double carriageMove(const Position &a, const Position &b, int first, double scale)
{
    const auto dx = static_cast<double>(b[first] - a[first]), dy = static_cast<double>(b[first + 1] - a[first + 1]);
    return std::sqrt(dx * dx + dy * dy) / scale;
}

// Adds a move at units-per-minute feed unless it goes nowhere, with its time
// as if the faster carriage moved at the feed.
void addTraverse(std::vector<Traverse> &moves, const Position &from, const Position &to, const Panel &panel,
                 CutSummary &summary)
{
    if (to == from)
        return;
    moves.push_back({to, false});
    summary.minutes += std::max(carriageMove(from, to, 0, panel.scale), carriageMove(from, to, 2, panel.scale)) /
                       panel.machine.feed;
}

// From the origin up to the first point's heights and across to it; after
// the cut, across to X = U = 0 and down to the origin. Without the
// approach, one straight move to the first point and no return.
void planTraverses(const Panel &panel, CutSummary &summary, std::vector<Traverse> &approach,
                   std::vector<Traverse> &back)
{
    const Position origin{0, 0, 0, 0}, &start = summary.start, &end = summary.end;
    if (!panel.machine.approach) {
        approach.push_back({start, true});
        return;
    }
    const Position up{0, start[1], 0, start[3]}, across{0, end[1], 0, end[3]};
    addTraverse(approach, origin, up, panel, summary);
    addTraverse(approach, up, start, panel, summary);
    addTraverse(back, end, across, panel, summary);
    addTraverse(back, across, origin, panel, summary);
    // The approach starts from the origin, which must be within reach too.
    summary.withinLimits = summary.withinLimits && withinLimits(origin, panel);
    for (const std::vector<Traverse> *list : {&approach, &back})
        for (const Traverse &t : *list)
            summary.withinLimits = summary.withinLimits && withinLimits(t.to, panel);
}

std::string duration(double minutes)
{
    const long long total = std::llround(minutes * 60);
    char buf[64];
    if (total >= 3600)
        std::snprintf(buf, sizeof buf, "%lld h %02lld min %02lld s", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(buf, sizeof buf, "%lld min %02lld s", total / 60, total % 60);
    return buf;
}

void writeHeader(OutputFile &out, const CutSummary &summary, const VxMachine &m, size_t points)
{
    const int d = m.decimals;
    const std::string axes(m.axes, 4), firstTower = axes.substr(0, 2), secondTower = axes.substr(2, 2);
    const std::string mm = " mm";
    // Plain ASCII: some controllers choke on other bytes, even in comments.
    out.line("(Decoupe au fil chaud 4 axes " + axes + ")");
    out.line("(Distance entre les tours : " + number(m.towers, d) + mm + ")");
    out.line("(Emplanture a " + number(m.rootPos, d) + " mm de la tour " + (m.rootSide ? secondTower : firstTower) +
             ")");
    out.line("(Ecartement emplanture - saumon : " + number(m.span, d) + mm + ")");
    std::string feed = "(Vitesse de coupe : ";
    appendFeed(feed, m.feed, d);
    out.line(feed + " mm/min)");
    out.line("(Saignee : emplanture " + number(m.kerfRoot, d) + " mm, saumon " + number(m.kerfTip, d) + mm + ")");
    if (m.heat > 0)
        out.line("(Chauffe : S" + number(m.heat, d) + ", attente " + number(m.dwell, d) + " s)");
    else
        out.line("(Chauffe : sans commande)");
    out.line("(Points par face : " + std::to_string(points) + ")");
    out.line("(Longueur de coupe : emplanture " + number(summary.rootLength, d) + " mm, saumon " +
             number(summary.tipLength, d) + mm + ")");
    const double seconds = m.heat > 0 ? m.dwell : 0;
    out.line("(Duree estimee : " + duration(summary.minutes + seconds / 60) + ")");
}

// Writes "G1" moves, naming the axes that differ from `at` (all with
// `allAxes`), and keeps `at` up to date.
class MoveWriter {
public:
    MoveWriter(OutputFile &out, const VxMachine &m) : m_out(out), m_machine(m) {}

    void feedMode(bool inverseTime) { m_out.line(inverseTime ? "G93" : "G94"); }
    void move(const Position &to, bool allAxes, double feed)
    {
        const int d = m_machine.decimals;
        m_line.assign("G1");
        for (int a = 0; a < 4; ++a) {
            if (!allAxes && to[a] == m_at[a])
                continue;
            m_line += ' ';
            m_line += m_machine.axes[a];
            appendScaled(m_line, to[a], d);
        }
        m_line += " F";
        appendFeed(m_line, feed, d);
        m_out.line(m_line);
        m_at = to;
        ++m_count;
    }
    void traverses(const std::vector<Traverse> &list)
    {
        for (const Traverse &t : list)
            move(t.to, t.allAxes, m_machine.feed);
    }
    int count() const { return m_count; }

private:
    OutputFile &m_out;
    const VxMachine &m_machine;
    std::string m_line;
    Position m_at{};
    int m_count = 0;
};

} // namespace

int writeGCode(const RecordView &root, const RecordView &tip, const char *path, const VxMachine &machine)
{
    Panel panel(machine);
    CutSummary summary;
    if (const int r = planCut(root, tip, panel, summary))
        return r;
    std::vector<Traverse> approach, back;
    planTraverses(panel, summary, approach, back);
    if (!summary.withinLimits)
        return VX_ERR_GCODE_LIMITS;
    OutputFile out;
    if (!out.open(path))
        return VX_ERR_CREATE;
    const int d = machine.decimals;
    writeHeader(out, summary, machine, root.size());
    out.line("G21 G90 G17");
    if (std::string_view(machine.axes) == "XYUV") {
        // LinuxCNC's preview draws each plane at its tower.
        out.line("(AXIS,XY_Z_POS," + number(0, d) + ")");
        out.line("(AXIS,UV_Z_POS," + number(machine.towers, d) + ")");
    }
    if (machine.heat > 0) {
        out.line("M3 S" + number(machine.heat, d));
        if (machine.dwell > 0)
            out.line("G4 P" + number(machine.dwell, d));
    }
    MoveWriter moves(out, machine);
    if (!approach.empty()) {
        moves.feedMode(false);
        moves.traverses(approach);
    }
    moves.feedMode(true);
    bool first = true;
    walkCut(panel, [&](const Position &p, double inverseFeed, double, double) {
        if (!first)
            moves.move(p, true, inverseFeed);
        first = false;
    });
    if (!back.empty()) {
        moves.feedMode(false);
        moves.traverses(back);
    }
    if (machine.heat > 0)
        out.line("M5");
    out.line("M2");
    if (!out.commit())
        return VX_ERR_CREATE;
    return moves.count();
}

} // namespace vx
