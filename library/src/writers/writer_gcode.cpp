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
// Inverse-time F keeps at least three significant digits, up to this many decimals.
constexpr int kMaxFeedDecimals = 12;

// Carriage positions in units of the last written decimal, in the order of
// the machine's axis letters.
using Position = std::array<int64_t, 4>;

struct Move {
    Position to;
    double feed;       // mm/min, or 1/min in inverse time
    bool inverseTime;
    bool allAxes;      // cut moves name every axis, the approach only those that move
};

struct Program {
    double scale = 1;
    std::vector<Move> moves;
    double rootLength = 0, tipLength = 0, minutes = 0;
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

double distance(Vec2 a, Vec2 b) { return std::hypot(b.x - a.x, b.y - a.y); }

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

// The cut's moves in inverse time: F makes the faster face move at `feed`.
// A move that would not change any written position is left out; the next
// move then starts from the last written point.
int planCut(const RecordView &rootRecords, const RecordView &tipRecords, const VxMachine &m, Program &program,
            std::vector<Move> &cut)
{
    const size_t n = rootRecords.size();
    if (n < 2)
        return VX_ERR_GCODE_TOO_FEW;
    std::vector<Vec2> root, tip, first, second;
    if (!readFace(rootRecords, root) || !readFace(tipRecords, tip))
        return VX_ERR_GCODE_POINT;
    if (allEqual(root) && allEqual(tip))
        return VX_ERR_GCODE_TOO_FEW;
    offsetFace(root, m.kerfRoot);
    offsetFace(tip, m.kerfTip);
    projectToTowers(root, tip, m, first, second);
    size_t last = 0;
    for (size_t i = 0; i < n; ++i) {
        Position p;
        const double values[4] = {first[i].x, first[i].y, second[i].x, second[i].y};
        for (int a = 0; a < 4; ++a) {
            if (!(std::fabs(values[a]) <= kMaxCoordinate))
                return VX_ERR_GCODE_POINT;
            p[a] = std::llround(values[a] * program.scale);
        }
        if (i > 0 && p == cut.back().to)
            continue;
        double inverseFeed = 0;
        if (i > 0) {
            const double rootMove = distance(root[last], root[i]), tipMove = distance(tip[last], tip[i]);
            const double longer = std::max(rootMove, tipMove);
            inverseFeed = longer > 0 ? std::min(m.feed / longer, kMaxInverseFeed) : kMaxInverseFeed;
            program.rootLength += rootMove;
            program.tipLength += tipMove;
            program.minutes += 1 / inverseFeed;
        }
        cut.push_back({p, inverseFeed, true, true});
        last = i;
    }
    return cut.size() < 2 ? VX_ERR_GCODE_TOO_FEW : 0;
}

double carriageMove(const Position &a, const Position &b, int first, double scale)
{
    return std::hypot(static_cast<double>(b[first] - a[first]), static_cast<double>(b[first + 1] - a[first + 1])) /
           scale;
}

// Adds a move at units-per-minute feed unless it goes nowhere.
void addTraverse(Program &program, const Position &from, const Position &to, double feed, bool allAxes)
{
    if (to == from)
        return;
    program.moves.push_back({to, feed, false, allAxes});
    // As if the faster carriage moved at the feed.
    program.minutes += std::max(carriageMove(from, to, 0, program.scale), carriageMove(from, to, 2, program.scale)) /
                       feed;
}

// The whole motion: from the origin up to the first point's heights and
// across to it, the cut, then across to X = U = 0 and down to the origin.
// Without the approach, one straight move to the first point.
int planProgram(const RecordView &root, const RecordView &tip, const VxMachine &m, Program &program)
{
    program.scale = std::pow(10.0, m.decimals);
    std::vector<Move> cut;
    if (const int r = planCut(root, tip, m, program, cut))
        return r;
    const Position origin{0, 0, 0, 0};
    const Position &start = cut.front().to;
    const Position &end = cut.back().to;
    if (m.approach) {
        const Position up{0, start[1], 0, start[3]};
        addTraverse(program, origin, up, m.feed, false);
        addTraverse(program, up, start, m.feed, false);
    } else {
        program.moves.push_back({start, m.feed, false, true});
    }
    program.moves.insert(program.moves.end(), cut.begin() + 1, cut.end());
    if (m.approach) {
        const Position across{0, end[1], 0, end[3]};
        addTraverse(program, end, across, m.feed, false);
        addTraverse(program, across, origin, m.feed, false);
    }
    return 0;
}

// Every written position, and the origin the approach starts from, within
// the limits that are set.
bool withinLimits(const Program &program, const VxMachine &m)
{
    auto inside = [&](const Position &p) {
        for (int a = 0; a < 4; ++a) {
            const double lo = m.limits[2 * a], hi = m.limits[2 * a + 1];
            const double v = static_cast<double>(p[a]) / program.scale;
            if (!(lo == 0 && hi == 0) && (v < lo || v > hi))
                return false;
        }
        return true;
    };
    if (m.approach && !inside(Position{0, 0, 0, 0}))
        return false;
    return std::all_of(program.moves.begin(), program.moves.end(), [&](const Move &mv) { return inside(mv.to); });
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

void writeHeader(OutputFile &out, const Program &program, const VxMachine &m, size_t points)
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
    out.line("(Vitesse de coupe : " + number(m.feed, d) + " mm/min)");
    out.line("(Saignee : emplanture " + number(m.kerfRoot, d) + " mm, saumon " + number(m.kerfTip, d) + mm + ")");
    if (m.heat > 0)
        out.line("(Chauffe : S" + number(m.heat, d) + ", attente " + number(m.dwell, d) + " s)");
    else
        out.line("(Chauffe : sans commande)");
    out.line("(Points par face : " + std::to_string(points) + ")");
    out.line("(Longueur de coupe : emplanture " + number(program.rootLength, d) + " mm, saumon " +
             number(program.tipLength, d) + mm + ")");
    const double seconds = m.heat > 0 ? m.dwell : 0;
    out.line("(Duree estimee : " + duration(program.minutes + seconds / 60) + ")");
}

void writeMoves(OutputFile &out, const Program &program, const VxMachine &m)
{
    const int d = m.decimals;
    std::string line;
    bool inverseTime = false;
    Position at{0, 0, 0, 0};
    bool first = true;
    for (const Move &mv : program.moves) {
        if (first || mv.inverseTime != inverseTime)
            out.line(mv.inverseTime ? "G93" : "G94");
        inverseTime = mv.inverseTime;
        line.assign("G1");
        for (int a = 0; a < 4; ++a) {
            if (!mv.allAxes && mv.to[a] == at[a])
                continue;
            line += ' ';
            line += m.axes[a];
            appendScaled(line, mv.to[a], d);
        }
        line += " F";
        int feedDecimals = d;
        if (mv.inverseTime)
            while (feedDecimals < kMaxFeedDecimals && mv.feed * std::pow(10.0, feedDecimals) < 100)
                ++feedDecimals;
        appendNumber(line, mv.feed, feedDecimals);
        out.line(line);
        at = mv.to;
        first = false;
    }
}

} // namespace

int writeGCode(const RecordView &root, const RecordView &tip, const char *path, const VxMachine &machine)
{
    Program program;
    if (const int r = planProgram(root, tip, machine, program))
        return r;
    if (!withinLimits(program, machine))
        return VX_ERR_GCODE_LIMITS;
    OutputFile out;
    if (!out.open(path))
        return VX_ERR_CREATE;
    const int d = machine.decimals;
    writeHeader(out, program, machine, root.size());
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
    writeMoves(out, program, machine);
    if (machine.heat > 0)
        out.line("M5");
    out.line("M2");
    if (!out.commit())
        return VX_ERR_CREATE;
    return static_cast<int>(program.moves.size());
}

} // namespace vx
