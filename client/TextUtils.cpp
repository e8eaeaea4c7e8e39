#include "client/TextUtils.h"

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
