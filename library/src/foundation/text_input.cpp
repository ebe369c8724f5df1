#include "foundation/text_input.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <new>
#include <sys/stat.h>

namespace vx {

int loadFile(const char *path, std::string &contents)
{
    if (!path)
        return -105;
    // Only regular files: a folder or a pipe named like a drawing is no file
    // to read (and a pipe would block).
    struct stat info;
    if (::stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return -105;
    std::FILE *f = std::fopen(path, "rb");
    if (!f)
        return -105;
    int result = 0;
    long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0)
        size = std::ftell(f);
    if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
        std::fclose(f);
        return -106;
    }
    try {
        contents.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc &) {
        std::fclose(f);
        return -107;
    }
    if (size > 0 && std::fread(contents.data(), 1, contents.size(), f) != contents.size())
        result = -108;
    std::fclose(f);
    return result;
}

bool LineCursor::next(std::string_view &line, std::string_view &end)
{
    if (m_pos >= m_text.size())
        return false;
    const size_t start = m_pos;
    size_t i = start;
    while (i < m_text.size() && m_text[i] != '\n' && m_text[i] != '\r')
        ++i;
    line = m_text.substr(start, i - start);
    size_t endLen = 0;
    if (i < m_text.size()) {
        endLen = 1;
        if (m_text[i] == '\r' && i + 1 < m_text.size() && m_text[i + 1] == '\n')
            endLen = 2;
    }
    end = m_text.substr(i, endLen);
    m_pos = i + endLen;
    return true;
}

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
} // namespace

bool parseDouble(std::string_view text, size_t &pos, double &value, bool blanksOnly)
{
    size_t i = pos;
    while (i < text.size() && (blanksOnly ? isBlank(text[i]) : isCSpace(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t bodyStart = i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    double v = 0;
    const auto res = std::from_chars(text.data() + bodyStart, text.data() + i, v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is no number.
        size_t e = bodyStart;
        while (e < i && text[e] != 'e' && text[e] != 'E')
            ++e;
        if (e < i && e + 1 < i && text[e + 1] == '-')
            v = 0;
        else
            return false;
    } else if (res.ec != std::errc() || res.ptr != text.data() + i) {
        return false;
    }
    if (!std::isfinite(v))
        return false;
    value = negative ? -v : v;
    pos = i;
    return true;
}

bool parseWholeDouble(std::string_view text, double &value)
{
    size_t pos = 0;
    if (!parseDouble(text, pos, value))
        return false;
    while (pos < text.size() && isCSpace(text[pos]))
        ++pos;
    return pos == text.size();
}

bool parseInteger(std::string_view text, size_t &pos, int64_t &value)
{
    size_t i = pos;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t start = i;
    uint64_t v = 0;
    while (i < text.size() && isDigit(text[i])) {
        const uint64_t d = static_cast<uint64_t>(text[i] - '0');
        if (v > (static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) - d) / 10)
            return false;
        v = v * 10 + d;
        ++i;
    }
    if (i == start)
        return false;
    value = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    pos = i;
    return true;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

} // namespace vx
