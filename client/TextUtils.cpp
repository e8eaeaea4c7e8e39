#include "client/TextUtils.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "engine/Font.h"
#include "engine/TextWrap.h"

std::string WrapText(const Font* font, int maxWidth, const std::string& text, int* lines) {
    // Without a font the built-in widths are what a font would have.
    return WrapText(font ? font->advances : kBuiltInAdvances, maxWidth, text, lines);
}

std::string WrapText(const int* advances, int maxWidth, const std::string& text, int* lines) {
    WrapOptions options;
    options.advances = advances ? advances : kBuiltInAdvances;
    options.maxWidth = maxWidth;
    options.breakByte = '\n';
    options.testAfterControlBytes = false;
    int breaks = 0;
    std::string wrapped = WrapLines(options, text, &breaks);
    if (lines)
        *lines = 1 + breaks;
    return wrapped;
}

std::vector<std::string> SplitString(std::string text, const std::string& delimiter) {
    std::vector<std::string> parts;
    if (delimiter.empty()) {
        if (!text.empty())
            parts.push_back(text);
        return parts;
    }
    size_t start = 0;
    for (;;) {
        const size_t found = text.find(delimiter, start);
        if (found == std::string::npos)
            break;
        if (found > start)
            parts.push_back(text.substr(start, found - start));
        start = found + delimiter.size();
    }
    if (start < text.size())
        parts.push_back(text.substr(start));
    return parts;
}

int32_t ReadLeadingInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Counted in 64 bits and stopped at the limit, so a long run of digits
    // cannot overflow.
    const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min())
                                   : int64_t(std::numeric_limits<int32_t>::max());
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    return int32_t(negative ? -value : value);
}

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

float ReadLeadingFloat(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The significant digits, and the power of ten of the first of them:
    // value = 0.<digits> x 10^scale.
    std::string digits;
    int64_t scale = 0;
    bool anyDigit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!IsDigit(c))
            break;
        anyDigit = true;
        if (digits.empty() && c == '0') {
            if (point)
                --scale;  // a zero after the point moves the first digit down
            continue;
        }
        // Far more digits than a double can tell apart still count for the
        // scale, not for the text handed on.
        if (digits.size() < 800)
            digits += c;
        if (!point)
            ++scale;
    }
    if (!anyDigit)
        return 0.0f;  // "", "-", ".", "inf", "nan", "e5"
    // An exponent counts only with at least one digit: "1e" and "1e+" read 1.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            int64_t exponent = 0;
            for (; j < text.size() && IsDigit(text[j]); ++j)
                exponent = std::min<int64_t>(exponent * 10 + (text[j] - '0'), 1000000);
            scale += negativeExponent ? -exponent : exponent;
        }
    }
    const float zero = negative ? -0.0f : 0.0f;
    const float infinity = negative ? -std::numeric_limits<float>::infinity()
                                    : std::numeric_limits<float>::infinity();
    // Far outside the float's range either way; inside it the double below
    // neither overflows nor underflows.
    if (digits.empty() || scale < -60)
        return zero;
    if (scale > 60)
        return infinity;
    const std::string normal = "0." + digits + "e" + std::to_string(scale);
    double value = 0;
    std::from_chars(normal.data(), normal.data() + normal.size(), value);
    // The narrowing rounds to nearest; from half a unit above the largest
    // float up it gives infinity (ties go to the even infinity).
    const double largest = double(std::numeric_limits<float>::max());
    if (value >= largest + std::ldexp(1.0, 103))
        return infinity;
    const float narrowed = float(value);
    return negative ? -narrowed : narrowed;
}
