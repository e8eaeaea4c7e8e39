#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

class Font;

// Breaks a text into lines no wider than maxWidth pixels of the font: a blank
// where a line overflows becomes a line break, and a word too long for a line
// is broken after the byte that overflows. No byte is lost; colour codes pass
// through whole. When lines is given it receives 1 plus one for every line
// break of the result.
std::string WrapText(const Font* font, int maxWidth, const std::string& text, int* lines = nullptr);
// The same with the font's advance widths (Font::advances) instead of the font,
// so that another thread can wrap with a copy of the table while the main
// thread owns the font.
std::string WrapText(const int* advances, int maxWidth, const std::string& text, int* lines = nullptr);

// The non-empty parts of text between the occurrences of delimiter, in order.
// An empty delimiter cuts nothing: the whole text is the one part.
std::vector<std::string> SplitString(std::string text, const std::string& delimiter);

// The leading decimal number of a text as strtol reads it: blanks skipped, an
// optional sign, the digits up to the first other byte; no digits give 0. A
// number beyond the 32-bit range gives the nearest limit, so that every build
// reads the same value from the same file.
int32_t ReadLeadingInt(const std::string& text);

// The leading decimal number of a text as the C library's strtod reads it in
// the "C" locale, narrowed to a float: blanks skipped, an optional sign,
// digits with an optional "." and an optional exponent ("e" or "E", a sign,
// digits); reading stops at the first other byte. No digits give 0.0, and so
// do "inf", "nan" and hexadecimal ("0x1A" reads as 0.0), which a typed price
// never means. Beyond the float's range the value is +-infinity, as strtod
// and the narrowing give it; what a caller may not hand on unchecked (see
// FloatToInteger).
float ReadLeadingFloat(const std::string& text);

// A floating-point value truncated toward zero, as a C cast truncates it,
// when the integer type Int holds the result; otherwise (infinity, NaN or out
// of range, where a cast has no defined result) the value the caller names.
template <class Int>
Int FloatToInteger(double value, Int otherwise) {
    static_assert(std::numeric_limits<Int>::is_integer, "an integer type");
    if (!std::isfinite(value))
        return otherwise;
    const double whole = std::trunc(value);
    // Both bounds are powers of two (or 0), exact as doubles.
    const double lowest = double(std::numeric_limits<Int>::min());
    const double beyond = std::ldexp(1.0, std::numeric_limits<Int>::digits);
    if (whole < lowest || whole >= beyond)
        return otherwise;
    return static_cast<Int>(whole);
}
