// Whole-file loading, line splitting and locale-free number parsing for the
// readers. Lines have no length limit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

// Loads a whole file: 0, or -105 (open), -106 (size), -107 (memory), -108 (read).
int loadFile(const char *path, std::string &contents);

// Walks the lines of a text; a line ends at LF, CR LF or a lone CR.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : m_text(text) {}
    // The next line without its end, and the end itself ("", "\n", "\r\n" or "\r").
    bool next(std::string_view &line, std::string_view &end);
    bool next(std::string_view &line)
    {
        std::string_view end;
        return next(line, end);
    }
    size_t position() const { return m_pos; }
    void seek(size_t pos) { m_pos = pos < m_text.size() ? pos : m_text.size(); }
    bool atEnd() const { return m_pos >= m_text.size(); }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
inline bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads a decimal number at `pos` after skipping C white space (or only
// blanks): optional sign, digits with one optional ".", optional exponent.
// Only finite values are accepted. On success `pos` moves past the number.
bool parseDouble(std::string_view text, size_t &pos, double &value, bool blanksOnly = false);
// The same for a whole value: the text must hold the number and white space only.
bool parseWholeDouble(std::string_view text, double &value);
// Reads a decimal integer at `pos` after C white space: optional sign,
// digits. Values beyond the 64-bit range fail.
bool parseInteger(std::string_view text, size_t &pos, int64_t &value);

// Case-insensitive ASCII comparisons.
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);

} // namespace vx
