// HP-GL plotter files (".plt", ".prn", ".hpgl"): pen-up and pen-down moves
// in plotter units (40 a millimetre), absolute or relative, polylines encoded
// in base 64 or 32 (PE), and the PCL job around an HP-GL/2 part skipped.
#include "readers/readers.h"
#include "foundation/text_input.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

namespace vx {

namespace {

constexpr double kUnitsPerMm = 40.0;
constexpr double kJoin = 0.0001;

class PlotterState {
public:
    explicit PlotterState(PointList &list) : m_list(list) {}

    // True when the last character was a "P" that starts a command.
    bool afterP() const { return m_afterP; }

    // Handles one character; true while a parameter list is open after it.
    bool character(char c)
    {
        const bool afterP = m_afterP;
        switch (c) {
        case '\t':
        case ' ':
        case ',':
            return m_params; // separators leave everything as it is
        case 'P':
            m_afterP = true;
            m_nextIsX = true;
            return m_params;
        default:
            break;
        }
        m_afterP = false;
        if (afterP && (c == 'A' || c == 'R' || c == 'D' || c == 'U')) {
            if (c == 'A' || c == 'R')
                m_relative = c == 'R';
            else
                m_penDown = c == 'D';
            m_params = true;
        } else if (c == 'A') {
            m_nextIsX = true;
        } else {
            m_params = false; // "C", "CI" and everything else read no parameters
        }
        return m_params;
    }

    void number(int64_t units)
    {
        const double v = static_cast<double>(units) / kUnitsPerMm;
        if (m_nextIsX) {
            m_prevX = m_x;
            m_x = m_relative ? m_x + v : v;
            m_nextIsX = false;
            return;
        }
        m_prevY = m_y;
        m_y = m_relative ? m_y + v : v;
        m_nextIsX = true;
        segment();
    }

    // A move of a PE polyline, in plotter units: pen up or down for this
    // move only, relative to the pen unless absolute. The pen stays as the
    // move left it.
    void encodedMove(double x, double y, bool down, bool absolute)
    {
        m_prevX = m_x;
        m_prevY = m_y;
        m_x = absolute ? x / kUnitsPerMm : m_x + x / kUnitsPerMm;
        m_y = absolute ? y / kUnitsPerMm : m_y + y / kUnitsPerMm;
        m_penDown = down;
        segment();
    }

    // After a PE instruction or a PCL sequence: no command is open.
    void endCommand()
    {
        m_afterP = false;
        m_params = false;
        m_nextIsX = true;
    }

private:
    // The move from the previous position to the current one.
    void segment()
    {
        if (!m_penDown) {
            ++m_contour;
            return;
        }
        const int32_t id = contourId();
        // The previous position starts the segment unless the contour already
        // ends there. A point of an earlier contour does not count: after a
        // pen-up move on the spot, the new contour must still start there.
        const bool joined = !m_list.empty() && m_list.back().contour == id &&
                            std::fabs(m_list.back().x - m_prevX) < kJoin &&
                            std::fabs(m_list.back().y - m_prevY) < kJoin;
        if (!joined)
            appendPoint(m_list, m_prevX, m_prevY, id);
        appendPoint(m_list, m_x, m_y, id);
    }

    // Only changes of number matter; keep it in the positive 32-bit range.
    int32_t contourId() const { return static_cast<int32_t>(m_contour & 0x3FFFFFFF); }

    PointList &m_list;
    bool m_penDown = true;
    bool m_relative = false;
    bool m_nextIsX = true;
    bool m_afterP = false;
    bool m_params = false;
    double m_x = 0, m_y = 0, m_prevX = 0, m_prevY = 0;
    int64_t m_contour = 0;
};

// Decodes the parameters of a PE instruction from `i` (just after its "E")
// up to and past its ";"; an ESC ends it too and is left for the caller.
size_t decodePolyline(std::string_view text, size_t i, PlotterState &state)
{
    constexpr int kMaxFractionBits = 26;
    // Beyond this digit weight a number could not be held: 60 bits at most.
    constexpr uint64_t kLargest = uint64_t(1) << 54;
    enum class Value : uint8_t { Coordinate, Pen, Fraction };
    Value expected = Value::Coordinate;
    bool base32 = false, penUp = false, absolute = false, haveX = false, spoiled = false;
    int fraction = 0;
    double x = 0;
    uint64_t value = 0, weight = 1;
    bool tooLarge = false;

    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ';') {
            ++i;
            break;
        }
        if (c == 0x1B)
            break;
        // Digits: low ones first; the last (most significant) one is in
        // the upper range and ends the number.
        const unsigned char d = base32 ? (c & 0x7F) : c;
        int digit = -1;
        bool last = false;
        if (d >= 63 && d < (base32 ? 95 : 127)) {
            digit = d - 63;
        } else if (base32 ? (d >= 95 && d <= 126) : (d >= 191 && d <= 254)) {
            digit = d - (base32 ? 95 : 191);
            last = true;
        }
        if (digit < 0) {
            // Flags ignore the eighth bit; blanks, control characters and
            // everything else are skipped.
            switch (c & 0x7F) {
            case ':':
                expected = Value::Pen;
                break;
            case '>':
                expected = Value::Fraction;
                break;
            case '<':
                penUp = true;
                break;
            case '=':
                absolute = true;
                break;
            case '7':
                base32 = true;
                break;
            default:
                break;
            }
            continue;
        }
        if (weight > kLargest)
            tooLarge = true;
        else
            value += static_cast<uint64_t>(digit) * weight;
        weight = weight > kLargest ? weight : weight * (base32 ? 32 : 64);
        if (!last)
            continue;

        // Even numbers are positive, odd ones negative.
        const auto magnitude = static_cast<int64_t>(value >> 1);
        const int64_t number = (value & 1) ? -magnitude : magnitude;
        const bool usable = !tooLarge;
        value = 0;
        weight = 1;
        tooLarge = false;
        if (expected == Value::Pen) {
            expected = Value::Coordinate;
        } else if (expected == Value::Fraction) {
            expected = Value::Coordinate;
            if (usable && number >= -kMaxFractionBits && number <= kMaxFractionBits)
                fraction = static_cast<int>(number);
        } else if (!haveX) {
            x = std::ldexp(static_cast<double>(number), -fraction);
            haveX = true;
            spoiled = !usable;
        } else {
            // A coordinate beyond any plotter's range spoils its pair.
            if (usable && !spoiled)
                state.encodedMove(x, std::ldexp(static_cast<double>(number), -fraction), !penUp, absolute);
            haveX = spoiled = false;
            penUp = absolute = false;
        }
    }
    return i;
}

enum class Mode : uint8_t { Hpgl, Pcl };

// Length of the PCL escape sequence at `i` (an ESC), data bytes included, or
// 0 when what follows the ESC is not one. ESC%#A and the universal exit
// (ESC%-12345X) enter PCL, whose text is not plotted; ESC%#B enters HP-GL/2.
size_t pclSequence(std::string_view text, size_t i, Mode &mode)
{
    const size_t start = i++;
    if (i >= text.size())
        return 0;
    const auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char parameterised = at(i);
    // The two-character sequences PCL defines (reset, margins, half line
    // feed, display functions); an ESC before any other letter stays the
    // plain character it always was.
    if (parameterised != 0 && std::strchr("E9=YZ", parameterised))
        return 2;
    if (parameterised < 33 || parameterised > 47)
        return 0;
    ++i;
    unsigned char group = 0;
    if (i < text.size() && at(i) >= 96 && at(i) <= 126)
        group = at(i++);
    uint64_t data = 0;
    for (;;) {
        // Value field: sign, digits, decimal point.
        bool negative = false;
        uint64_t number = 0;
        if (i < text.size() && (at(i) == '+' || at(i) == '-'))
            negative = at(i++) == '-';
        while (i < text.size() && ((at(i) >= '0' && at(i) <= '9') || at(i) == '.')) {
            if (at(i) != '.' && number < (uint64_t(1) << 40))
                number = number * 10 + (at(i) - '0');
            ++i;
        }
        if (i >= text.size())
            return 0;
        const unsigned char p = at(i++);
        if (p < 64 || p > 126)
            return 0;
        const unsigned char upper = p & 0xDF;
        // Data follows W (raster, fonts, patterns) and transparent print.
        if (upper == 'W' || (parameterised == '&' && group == 'p' && upper == 'X'))
            data = negative ? 0 : number;
        if (p >= 96)
            continue; // lower case: the sequence goes on
        if (parameterised == '%' && group == 0) {
            if (p == 'A' || (p == 'X' && negative && number == 12345))
                mode = Mode::Pcl;
            else if (p == 'B')
                mode = Mode::Hpgl;
        }
        break;
    }
    const size_t left = text.size() - i;
    return i - start + static_cast<size_t>(std::min<uint64_t>(data, left));
}

// A PJL line that hands the job over to HP-GL/2 (plotter drivers write
// "@PJL ENTER LANGUAGE=HPGL2" after the universal exit).
bool entersHpgl(std::string_view line)
{
    std::string upper(line);
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const size_t enter = upper.find("ENTER");
    const size_t language = upper.find("LANGUAGE", enter == std::string::npos ? upper.size() : enter);
    return language != std::string::npos && upper.find("HPGL", language) != std::string::npos;
}

} // namespace

int readHpgl(const char *path, TitleBuffer &, PointList &list)
{
    std::string text;
    const int loaded = loadFile(path, text);
    if (loaded < 0)
        return loaded;

    // The whole buffer is walked: a zero byte is one more character that
    // ends a parameter list, not the end of the file.
    PlotterState state(list);
    Mode mode = Mode::Hpgl;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\x1B') {
            // A PCL sequence counts as one character that ends the list.
            if (const size_t n = pclSequence(text, i, mode)) {
                state.character(text[i]);
                i += n;
                continue;
            }
        }
        if (mode == Mode::Pcl) {
            if (text.compare(i, 4, "@PJL") == 0) {
                const size_t eol = text.find('\n', i);
                const size_t end = eol == std::string::npos ? text.size() : eol + 1;
                if (entersHpgl(std::string_view(text).substr(i, end - i)))
                    mode = Mode::Hpgl;
                i = end;
                continue;
            }
            const size_t next = text.find_first_of("\x1B@", i + 1);
            i = next == std::string::npos ? text.size() : next;
            continue;
        }
        if (text[i] == 'E' && state.afterP()) {
            i = decodePolyline(text, i + 1, state);
            state.endCommand();
            continue;
        }
        const bool open = state.character(text[i]);
        size_t next = i + 1;
        int64_t units = 0;
        // A fraction is not read: its "." ends the list on the next turn.
        if (open && parseInteger(text, next, units)) {
            state.number(units);
        } else {
            next = i + 1;
            // Blanks change nothing and every attempt inside a run of them
            // fails alike: step over the run at once.
            if (open)
                while (next < text.size() && (text[next] == ' ' || text[next] == '\t'))
                    ++next;
        }
        i = next;
    }
    return list.empty() ? 0 : 1;
}

} // namespace vx
