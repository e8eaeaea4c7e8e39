#include "engine/TextWrap.h"

#include <vector>

namespace {
int Advance(const int* advances, unsigned char c) {
    const unsigned index = unsigned(c) - 32u;
    return index < 224u ? advances[index] : 5;
}
bool IsBreakPoint(unsigned char c) { return c == ' ' || c == '\n'; }
}  // namespace

std::string WrapLines(const WrapOptions& options, const std::string& text, int* lines) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    // Where each input byte stands in the output, to cut back to a break point.
    std::vector<size_t> placed(text.size(), 0);
    int breaks = 0;
    int width = 0;
    size_t lineStart = 0;  // input index of the first byte of the current line
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        placed[i] = out.size();
        out.push_back(char(c));
        if (c == 1) {
            // A colour code: never read past the end of a cut-off code.
            const size_t end = i + 5 < text.size() ? i + 5 : text.size();
            for (size_t k = i + 1; k < end; ++k) {
                placed[k] = out.size();
                out.push_back(text[k]);
            }
            i = end;
            continue;
        }
        if (c >= 32) {
            width += Advance(options.advances, c);
        } else if (c == '\n') {
            ++breaks;
            width = 0;
            if (!options.testAfterControlBytes) {
                lineStart = ++i;
                continue;
            }
        } else if (!options.testAfterControlBytes) {
            ++i;
            continue;
        }
        if (width <= options.maxWidth) {
            if (c == '\n')
                lineStart = i + 1;
            ++i;
            continue;
        }
        // The line is too wide: find where to break it.
        size_t point = text.size();  // none
        if (IsBreakPoint(c)) {
            point = i;
        } else {
            const size_t lowest = i >= 20 ? i - 20 : 0;
            for (size_t j = i; j-- > lowest;) {
                if (IsBreakPoint(static_cast<unsigned char>(text[j]))) {
                    point = j;
                    break;
                }
            }
        }
        // A break point before the line's start is the break that began this
        // line (or the line break before it): breaking there again would
        // bring the walk back to the same place forever.
        if (point != text.size() && point < lineStart)
            point = text.size();
        ++breaks;
        width = 0;
        if (point != text.size()) {
            out.resize(placed[point]);
            out.push_back(options.breakByte);
            i = point + 1;
        } else {
            out.push_back(options.breakByte);
            i = i + 1;
        }
        lineStart = i;
    }
    if (lines)
        *lines = breaks;
    return out;
}
