// Number entry and display: key filters, the decimal validator, the lenient
// parser, the point display fix and the fixed display patterns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// The display patterns of the boxes, point lists and exported files.
inline constexpr std::string_view kFmtBox = "#####0.0#";       // boxes, mouse coordinates, status bar
inline constexpr std::string_view kFmtBoxEntry = "#####0.0##"; // stretch, rotation, move and wing-gap write-back
inline constexpr std::string_view kFmtBoxInit = "####0.0#";    // box contents when the window opens
inline constexpr std::string_view kFmtAngleInit = "##0.0#";    // dihedral angle when the window opens
inline constexpr std::string_view kFmtCoord = "#####0.00";     // point list coordinates
inline constexpr std::string_view kFmtIndex = "#####";         // point list numbers
inline constexpr std::string_view kFmtFile3 = "#####0.000";
inline constexpr std::string_view kFmtFile6 = "#####0.000000";

// The message of a refused entry.
inline constexpr std::string_view kMsgNotDecimal = "Veuillez entrer un nombre décimal.";
inline constexpr std::string_view kTitleEntryError = "Erreur de saisie";

// Key filters of the numeric boxes: a key code they do not keep becomes 0.
// Unsigned boxes keep digits, "," "." Backspace and Enter; signed boxes also "-".
void unsignedKeyFilter(int16_t &keyCode);
void signedKeyFilter(int16_t &keyCode);

// True for a well-formed decimal: optional sign, digits, at most one "." and
// digits after it ("12", "-.5", "5.", "." are valid; "1,5", "1e5", "" are not).
bool isDecimal(std::string_view text);

// Reads a number out of loose text: digits and signs are kept, "," "." and the
// locale's decimal separator read as a point, blanks, no-break spaces and the
// locale's group separator are skipped, and anything else ends the text. The
// longest leading number is taken; no number, or one beyond the range of a
// 32-bit float, gives 0. Separators are UTF-8 text (a no-break space is
// "\u00A0"). The caller rounds the result to a float.
double parseLenient(std::string_view text, std::string_view decimalSeparator = ".",
                    std::string_view groupSeparator = " ");

// Replaces the first "," of text by "." and returns the result.
std::string &pointDisplayFix(std::string &text);
std::string pointDisplayFixed(std::string text);

// A display pattern: "#" optional and "0" required digits before and after
// the ".". Values round half away from zero on their exact decimal value;
// the decimal separator is always ".". A value that rounds to zero shows
// without a minus sign.
class NumberPattern {
public:
    explicit NumberPattern(std::string_view pattern);
    std::string format(double value) const;
    void formatTo(std::string &out, double value) const; // appends

private:
    int m_minInt = 0;
    int m_minDec = 0;
    int m_maxDec = 0;
};

std::string formatNumber(double value, std::string_view pattern);

// formatNumber then the point display fix: what a box shows.
std::string formatForBox(double value, std::string_view pattern = kFmtBox);

// The shortest plain decimal text that reads back as the same float (no
// exponent), with the given decimal separator.
std::string shortestFloatText(float value, std::string_view decimalSeparator = ".");

} // namespace orv
