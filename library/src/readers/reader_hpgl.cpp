// HP-GL plotter files (".plt", ".prn", ".hpgl"): pen-up and pen-down moves
// in plotter units (40 a millimetre), absolute or relative.
#include "readers/readers.h"
#include "foundation/text_input.h"

#include <cmath>
#include <string>

namespace vx {

namespace {

constexpr double kUnitsPerMm = 40.0;
constexpr double kJoin = 0.0001;

class PlotterState {
public:
    explicit PlotterState(PointList &list) : m_list(list) {}

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

private:
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
    size_t i = 0;
    while (i < text.size()) {
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
