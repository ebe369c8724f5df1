// Number entry: key filters, the decimal validator, the lenient parser and
// the display patterns.
#include "core/numeric_entry.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <vector>

using namespace orv;

namespace {

int16_t filtered(void (*filter)(int16_t &), int16_t key)
{
    filter(key);
    return key;
}

} // namespace

TEST(KeyFilters, KeepDigitsSeparatorsBackspaceAndEnterAndOnlySignedBoxesKeepMinus)
{
    for (int16_t key : {48, 57, 44, 46, 8, 13}) {
        EXPECT_EQ(filtered(unsignedKeyFilter, key), key);
        EXPECT_EQ(filtered(signedKeyFilter, key), key);
    }
    EXPECT_EQ(filtered(unsignedKeyFilter, 45), 0);
    EXPECT_EQ(filtered(signedKeyFilter, 45), 45);
    for (int16_t key : {43, 65, 101, 32, 47, 58, 0x7FFF, -1}) {
        EXPECT_EQ(filtered(unsignedKeyFilter, key), 0) << key;
        EXPECT_EQ(filtered(signedKeyFilter, key), 0) << key;
    }
}

TEST(DecimalValidator, AcceptsSignedDecimalsWithAtMostOnePoint)
{
    for (const char *ok : {"12", "-12", "+12", "12.5", ".5", "-.5", "5.", ".", "-.", "0", "-0.000"})
        EXPECT_TRUE(isDecimal(ok)) << ok;
}

TEST(DecimalValidator, RefusesCommasExponentsBlanksAndMisplacedSigns)
{
    for (const char *bad : {"", "-", "+", "1,5", "12,", "1.2.3", "12-3", "1e5", "1 000", "--3", "-a5", "5.a5",
                            "5.-", "+-1", "..", "-..", " 5", "5 ", "\xC3\xA9"})
        EXPECT_FALSE(isDecimal(bad)) << bad;
}

TEST(LenientParser, ReadsGroupedCommaAndSuffixedTexts)
{
    EXPECT_DOUBLE_EQ(parseLenient("1 234,5"), 1234.5);
    EXPECT_DOUBLE_EQ(parseLenient("12.5mm"), 12.5);
    EXPECT_DOUBLE_EQ(parseLenient("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(parseLenient("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(parseLenient("-12."), -12);
    EXPECT_DOUBLE_EQ(parseLenient("1\u00A0234"), 1234);
}

TEST(LenientParser, GivesZeroForTextWithoutANumber)
{
    EXPECT_EQ(parseLenient("--3"), 0);
    EXPECT_EQ(parseLenient(""), 0);
    EXPECT_EQ(parseLenient("-"), 0);
    EXPECT_EQ(parseLenient("."), 0);
    EXPECT_EQ(parseLenient("abc"), 0);
    EXPECT_EQ(parseLenient("3-4"), 3);
}

TEST(LenientParser, GivesZeroForNumbersBeyondTheFloatRange)
{
    EXPECT_EQ(parseLenient(std::string(60, '9')), 0);
    EXPECT_EQ(parseLenient("-" + std::string(60, '9')), 0);
    EXPECT_DOUBLE_EQ(parseLenient("340000000000000000000000000000000000000"), 3.4e38);
}

TEST(LenientParser, UsesTheLocaleSeparatorsItIsGiven)
{
    // French: decimal comma, narrow no-break space between groups.
    EXPECT_DOUBLE_EQ(parseLenient("1\u202F234,75", ",", "\u202F"), 1234.75);
    // A locale whose decimal separator is neither "," nor ".".
    EXPECT_DOUBLE_EQ(parseLenient("3\u066B5", "\u066B", "\u066C"), 3.5);
    EXPECT_DOUBLE_EQ(parseLenient("1'000", ".", "'"), 1000);
    EXPECT_DOUBLE_EQ(parseLenient("1'000", ".", " "), 1);
}

TEST(PointDisplayFix, TurnsOnlyTheFirstCommaIntoAPoint)
{
    std::string s = "1,5,6";
    EXPECT_EQ(pointDisplayFix(s), "1.5,6");
    EXPECT_EQ(s, "1.5,6");
    EXPECT_EQ(pointDisplayFixed("12.5"), "12.5");
    EXPECT_EQ(pointDisplayFixed(""), "");
}

TEST(DisplayPatterns, ShowOptionalDecimalsOnlyWhenNeeded)
{
    EXPECT_EQ(formatNumber(3.14159, kFmtBox), "3.14");
    EXPECT_EQ(formatNumber(3.14159, kFmtBoxEntry), "3.142");
    EXPECT_EQ(formatNumber(2, kFmtBox), "2.0");
    EXPECT_EQ(formatNumber(2.5, kFmtBox), "2.5");
    EXPECT_EQ(formatNumber(12.5, kFmtFile6), "12.500000");
    EXPECT_EQ(formatNumber(-3.25, kFmtFile6), "-3.250000");
    EXPECT_EQ(formatNumber(0, kFmtBoxInit), "0.0");
    EXPECT_EQ(formatNumber(100, kFmtBoxInit), "100.0");
    EXPECT_EQ(formatNumber(0, kFmtAngleInit), "0.0");
    EXPECT_EQ(formatNumber(1.5, kFmtCoord), "1.50");
    EXPECT_EQ(formatNumber(-0.25, kFmtFile3), "-0.250");
    EXPECT_EQ(formatNumber(1234567.891, kFmtBox), "1234567.89");
}

TEST(DisplayPatterns, PointNumbersShowAsIntegers)
{
    EXPECT_EQ(formatNumber(1, kFmtIndex), "1");
    EXPECT_EQ(formatNumber(12345, kFmtIndex), "12345");
    EXPECT_EQ(formatNumber(100000, kFmtIndex), "100000");
}

TEST(DisplayPatterns, RoundHalfAwayFromZeroOnTheExactValue)
{
    // Exact binary halves round away from zero...
    EXPECT_EQ(formatNumber(0.125, kFmtBox), "0.13");
    EXPECT_EQ(formatNumber(-0.125, kFmtBox), "-0.13");
    EXPECT_EQ(formatNumber(0.375, kFmtBox), "0.38");
    EXPECT_EQ(formatNumber(2.5, kFmtIndex), "3");
    EXPECT_EQ(formatNumber(9.995, kFmtBox), "9.99"); // 9.99499999... in binary
    EXPECT_EQ(formatNumber(99.995f, kFmtBox), "100.0"); // 99.9950027... as a float
    EXPECT_EQ(formatNumber(0.0625, kFmtFile3), "0.063");
    EXPECT_EQ(formatNumber(9.5, kFmtIndex), "10");
    EXPECT_EQ(formatNumber(-99.5, kFmtIndex), "-100");
    // ...while texts that only look like halves follow their binary value.
    EXPECT_EQ(formatNumber(2.675, kFmtCoord), "2.67");
    EXPECT_EQ(formatNumber(1.005f, kFmtCoord), "1.00");
}

TEST(DisplayPatterns, AValueRoundingToZeroShowsNoMinus)
{
    EXPECT_EQ(formatNumber(-0.001, kFmtBox), "0.0");
    EXPECT_EQ(formatNumber(-0.0, kFmtBox), "0.0");
    EXPECT_EQ(formatNumber(-1e-30, kFmtFile6), "0.000000");
    EXPECT_EQ(formatNumber(-0.005, kFmtBox), "-0.01");
}

TEST(DisplayPatterns, BoxesAlwaysShowAPoint)
{
    EXPECT_EQ(formatForBox(3.14159f), "3.14");
    EXPECT_EQ(formatForBox(12.f, kFmtBoxEntry), "12.0");
}

TEST(ConfirmedEntry, TheCommaAndPointVariantsOfTwelve)
{
    // "12," is refused by the validator; "12." is accepted and reads as 12.
    EXPECT_FALSE(isDecimal("12,"));
    ASSERT_TRUE(isDecimal("12."));
    const float v = static_cast<float>(parseLenient("12."));
    EXPECT_EQ(v, 12.f);
    EXPECT_EQ(formatForBox(v), "12.0");
    EXPECT_EQ(formatForBox(static_cast<float>(parseLenient("3.14159")), kFmtBoxEntry), "3.142");
}

TEST(ShortestFloatText, ReadsBackAsTheSameFloatWithoutExponent)
{
    EXPECT_EQ(shortestFloatText(0.1f), "0.1");
    EXPECT_EQ(shortestFloatText(0.1f, ","), "0,1");
    EXPECT_EQ(shortestFloatText(-12.5f, ","), "-12,5");
    EXPECT_EQ(shortestFloatText(100.f), "100");
    EXPECT_EQ(shortestFloatText(1e-7f), "0.0000001");
    EXPECT_EQ(shortestFloatText(1e10f), "10000000000");
    EXPECT_EQ(shortestFloatText(-0.0f), "0");
    EXPECT_EQ(shortestFloatText(1.0f / 3.0f), "0.33333334");
}

// Reference rounding from the full exact decimal expansion of the value.
static std::string roundExactly(double v, int decimals)
{
    std::vector<char> buf(2000);
    auto r = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(v), std::chars_format::fixed, 1100);
    std::string s(buf.data(), r.ptr);
    const size_t point = s.find('.');
    const bool up = s[point + 1 + static_cast<size_t>(decimals)] >= '5';
    std::string kept = s.substr(0, point + 1 + static_cast<size_t>(decimals));
    if (up) {
        size_t i = kept.size();
        while (i-- > 0) {
            if (kept[i] == '.')
                continue;
            if (kept[i] != '9') {
                ++kept[i];
                break;
            }
            kept[i] = '0';
            if (i == 0)
                kept.insert(kept.begin(), '1');
        }
    }
    const bool zero = kept.find_first_not_of("0.") == std::string::npos;
    return (v < 0 && !zero ? "-" : "") + kept;
}

TEST(DisplayPatterns, AgreeWithExactRoundingOnRandomFloats)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> exponent(-12, 20);
    std::uniform_int_distribution<uint32_t> bits(0, 0xFFFFFF);
    for (int k = 0; k < 20000; ++k) {
        // Floats with few significant bits hit exact halves often.
        const float f = std::ldexp(static_cast<float>(bits(rng) >> (k % 20)), exponent(rng)) * (k % 3 ? 1 : -1);
        EXPECT_EQ(formatNumber(f, kFmtFile6), roundExactly(f, 6)) << f;
        EXPECT_EQ(formatNumber(f, kFmtFile3), roundExactly(f, 3)) << f;
    }
}
