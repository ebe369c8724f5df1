// Number entry and display routines shared by every numeric box, the point
// lists and the exported files. Nothing here depends on the process locale.
#include "core/numeric_entry.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

namespace orv {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// True when |value| lies exactly halfway between two numbers of `decimals`
// decimals: value = odd × 2^-(decimals + 1), since 10^d = 5^d × 2^d.
bool isDecimalTie(double value, int decimals)
{
    int e = 0;
    const double f = std::frexp(value, &e);
    uint64_t m = static_cast<uint64_t>(std::ldexp(f, 53));
    if (m == 0)
        return false;
    const int zeros = std::countr_zero(m);
    const int scale = -(e - 53 + zeros);
    return scale == decimals + 1;
}

// Adds one unit in the last place of a digit string that may hold a ".".
void incrementDigits(std::string &s)
{
    for (size_t i = s.size(); i-- > 0;) {
        if (s[i] == '.')
            continue;
        if (s[i] != '9') {
            ++s[i];
            return;
        }
        s[i] = '0';
    }
    s.insert(s.begin(), '1');
}

// Length of the UTF-8 sequence starting at s[i], 1 for a stray byte.
size_t utf8Length(std::string_view s, size_t i)
{
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (i + n > s.size())
        return 1;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 1;
    return n;
}

} // namespace

void unsignedKeyFilter(int16_t &keyCode)
{
    const bool kept = (keyCode >= 48 && keyCode <= 57) || keyCode == 44 || keyCode == 46 || keyCode == 8 ||
                      keyCode == 13;
    if (!kept)
        keyCode = 0;
}

void signedKeyFilter(int16_t &keyCode)
{
    if (keyCode != 45)
        unsignedKeyFilter(keyCode);
}

bool isDecimal(std::string_view text)
{
    if (text.empty())
        return false;
    // A final point reads as ".0", so "5." and "." are complete numbers.
    const bool addZero = text.back() == '.';
    int state = 0;
    auto step = [&state](char c) {
        static constexpr int table[6][4] = {
            // digit, ".", sign, other
            {1, 3, 2, 5}, {1, 3, 5, 5}, {1, 3, 5, 5}, {4, 5, 5, 5}, {4, 5, 5, 5}, {5, 5, 5, 5},
        };
        const int kind = isDigit(c) ? 0 : c == '.' ? 1 : (c == '+' || c == '-') ? 2 : 3;
        state = table[state][kind];
    };
    for (char c : text)
        step(c);
    if (addZero)
        step('0');
    return state == 1 || state == 4;
}

double parseLenient(std::string_view text, std::string_view decimalSeparator, std::string_view groupSeparator)
{
    std::string clean;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (isDigit(c) || c == '-' || c == '+') {
            clean += c;
            ++i;
        } else if (c == ',' || c == '.') {
            clean += '.';
            ++i;
        } else if (!decimalSeparator.empty() && text.substr(i).starts_with(decimalSeparator)) {
            clean += '.';
            i += decimalSeparator.size();
        } else if (c == ' ') {
            ++i;
        } else if (text.substr(i).starts_with("\u00A0")) {
            i += 2;
        } else if (!groupSeparator.empty() && text.substr(i).starts_with(groupSeparator)) {
            i += groupSeparator.size();
        } else {
            // A raw no-break space byte (from an 8-bit text) is skipped too.
            if (static_cast<unsigned char>(c) == 0xA0 && utf8Length(text, i) == 1) {
                ++i;
                continue;
            }
            break;
        }
    }

    // The longest leading number: sign, digits, point, digits.
    size_t end = 0;
    const bool negative = !clean.empty() && clean[0] == '-';
    if (!clean.empty() && (clean[0] == '-' || clean[0] == '+'))
        end = 1;
    const size_t digitsFrom = end;
    bool anyDigit = false;
    while (end < clean.size() && isDigit(clean[end])) {
        ++end;
        anyDigit = true;
    }
    if (end < clean.size() && clean[end] == '.') {
        ++end;
        while (end < clean.size() && isDigit(clean[end])) {
            ++end;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0;
    double value = 0;
    const char *first = clean.data() + digitsFrom;
    const auto [ptr, ec] = std::from_chars(first, clean.data() + end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr == first)
        return 0;
    if (std::isinf(static_cast<float>(value)))
        return 0;
    return negative ? -value : value;
}

std::string &pointDisplayFix(std::string &text)
{
    const size_t comma = text.find(',');
    if (comma != std::string::npos)
        text[comma] = '.';
    return text;
}

std::string pointDisplayFixed(std::string text)
{
    pointDisplayFix(text);
    return text;
}

NumberPattern::NumberPattern(std::string_view pattern)
{
    const size_t point = pattern.find('.');
    const std::string_view intPart = pattern.substr(0, point);
    m_minInt = static_cast<int>(std::count(intPart.begin(), intPart.end(), '0'));
    if (point != std::string_view::npos) {
        const std::string_view decPart = pattern.substr(point + 1);
        m_minDec = static_cast<int>(std::count(decPart.begin(), decPart.end(), '0'));
        m_maxDec = static_cast<int>(std::count_if(decPart.begin(), decPart.end(),
                                                  [](char c) { return c == '0' || c == '#'; }));
        m_maxDec = std::min(m_maxDec, 20);
        m_minDec = std::min(m_minDec, m_maxDec);
    }
}

void NumberPattern::formatTo(std::string &out, double value) const
{
    if (std::isnan(value)) {
        out += "NaN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-Inf" : "Inf";
        return;
    }
    const double a = std::fabs(value);
    char buf[400];
    std::string digits;
    if (a != 0 && isDecimalTie(a, m_maxDec)) {
        // Exactly halfway: the exact text has one more decimal, a final 5; round it away from zero.
        auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, m_maxDec + 1);
        digits.assign(buf, r.ptr - 1);
        if (!digits.empty() && digits.back() == '.')
            digits.pop_back();
        incrementDigits(digits);
    } else {
        auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, m_maxDec);
        digits.assign(buf, r.ptr);
    }

    const size_t point = digits.find('.');
    std::string intPart = digits.substr(0, point);
    std::string decPart = point == std::string::npos ? std::string() : digits.substr(point + 1);
    while (static_cast<int>(decPart.size()) > m_minDec && decPart.back() == '0')
        decPart.pop_back();
    const bool zero = std::all_of(intPart.begin(), intPart.end(), [](char c) { return c == '0'; }) &&
                      std::all_of(decPart.begin(), decPart.end(), [](char c) { return c == '0'; });
    // Optional integer digits: "#" shows no leading zero.
    while (!intPart.empty() && intPart[0] == '0')
        intPart.erase(0, 1);
    if (static_cast<int>(intPart.size()) < m_minInt)
        intPart.insert(0, static_cast<size_t>(m_minInt) - intPart.size(), '0');

    if (value < 0 && !zero)
        out += '-';
    out += intPart;
    if (!decPart.empty()) {
        out += '.';
        out += decPart;
    }
}

std::string NumberPattern::format(double value) const
{
    std::string s;
    formatTo(s, value);
    return s;
}

std::string formatNumber(double value, std::string_view pattern)
{
    return NumberPattern(pattern).format(value);
}

std::string formatForBox(double value, std::string_view pattern)
{
    std::string s = formatNumber(value, pattern);
    pointDisplayFix(s);
    return s;
}

std::string shortestFloatText(float value, std::string_view decimalSeparator)
{
    if (value == 0)
        return "0";
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::string s(buf, r.ptr);
    const size_t point = s.find('.');
    if (point != std::string::npos)
        s.replace(point, 1, decimalSeparator);
    return s;
}

} // namespace orv
