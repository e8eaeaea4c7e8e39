// The shared line wrapping.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "engine/Font.h"
#include "engine/TextWrap.h"

namespace {

std::string Wrap(const std::string& text, int maxWidth, int* lines = nullptr, char breakByte = '\n',
                 bool testAfterControlBytes = false) {
    WrapOptions options;
    options.advances = kBuiltInAdvances;
    options.maxWidth = maxWidth;
    options.breakByte = breakByte;
    options.testAfterControlBytes = testAfterControlBytes;
    return WrapLines(options, text, lines);
}

// Removes the break bytes: what is left must be the input with its blanks.
std::string Unbroken(const std::string& wrapped, char breakByte) {
    std::string out;
    for (char c : wrapped)
        if (c != breakByte)
            out.push_back(c);
    return out;
}

TEST(TextWrap, TextThatFitsComesBackUnchanged) {
    int lines = -1;
    EXPECT_EQ(Wrap("Hello\nworld", 100, &lines), "Hello\nworld");
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(Wrap("", 100, &lines), "");
    EXPECT_EQ(lines, 0);
}

TEST(TextWrap, ExactWidthFitsAndOneMorePixelBreaksAtTheLastBlank) {
    // "ab cd" is 7 + 7 + 3 + 6 + 7 = 30 pixels wide.
    int lines = 0;
    EXPECT_EQ(Wrap("ab cd", 30, &lines), "ab cd");
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(Wrap("ab cd", 29, &lines), "ab\ncd");
    EXPECT_EQ(lines, 1);
}

TEST(TextWrap, LongWordsAreBrokenAfterTheOverflowingByteWithoutLosingAny) {
    // 30 "m" of 11 pixels into 50 pixels: 4 fit, the fifth overflows and stays.
    const std::string word(30, 'm');
    int lines = 0;
    const std::string wrapped = Wrap(word, 50, &lines);
    EXPECT_EQ(wrapped.substr(0, 6), "mmmmm\n");
    EXPECT_EQ(Unbroken(wrapped, '\n'), word);
    EXPECT_EQ(lines, 6);
}

// The wrapping steps exactly as the rules state them, with no guard. Where
// they would go round forever (a restart that was reached before with the same
// output) there is no result to compare with.
std::optional<std::pair<std::string, int>> WrapBySteps(const std::string& text, int maxWidth, char breakByte,
                                                       bool testAfterControlBytes) {
    std::string out;
    std::vector<size_t> placed(text.size());
    std::set<std::pair<size_t, std::string>> restarts;
    int lines = 0;
    int w = 0;
    size_t i = 0;
    auto isBreak = [&](size_t k) { return text[k] == ' ' || text[k] == '\n'; };
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        placed[i] = out.size();
        out.push_back(text[i]);
        if (c == 1) {
            size_t k = i + 1;
            for (; k < i + 5 && k < text.size(); ++k) {
                placed[k] = out.size();
                out.push_back(text[k]);
            }
            i = k;
            continue;
        }
        bool test = true;
        if (c >= 32) {
            w += kBuiltInAdvances[c - 32];
        } else if (c == 10) {
            ++lines;
            w = 0;
            test = testAfterControlBytes;
        } else {
            test = testAfterControlBytes;
        }
        if (!test || w <= maxWidth) {
            ++i;
            continue;
        }
        long p = -1;
        if (isBreak(i)) {
            p = long(i);
        } else {
            for (long j = long(i) - 1; j >= long(i) - 20 && j >= 0; --j) {
                if (isBreak(size_t(j))) {
                    p = j;
                    break;
                }
            }
        }
        ++lines;
        w = 0;
        if (p >= 0) {
            out.resize(placed[size_t(p)]);
            out.push_back(breakByte);
            i = size_t(p) + 1;
            if (!restarts.insert({i, out}).second)
                return std::nullopt;
        } else {
            out.push_back(breakByte);
            ++i;
        }
    }
    return std::make_pair(out, lines);
}

TEST(TextWrap, BreakPointOnTheLinesFirstByteIsARealBreak) {
    struct Case {
        const char* name;
        std::string text;
        int maxWidth;
        char breakByte;
        std::string wrapped;
        int breaks;
    };
    const char cr = 13;
    const std::string is30(30, 'i');  // "i" and the blank are 3 pixels wide
    const Case cases[] = {
        // The blank that begins the text breaks; the 21 "i" that then fit
        // make the second line, the rest the third.
        {"blank then a long word", " " + is30, 60, '\n', "\n" + std::string(21, 'i') + "\n" + std::string(9, 'i'), 2},
        {"blank then a long word, text box", " " + is30, 60, cr,
         std::string(1, cr) + std::string(21, 'i') + cr + std::string(9, 'i'), 2},
        // "abc" is 20 pixels: the first blank overflows and breaks, the second
        // begins the next line and breaks there when "abc" overflows again.
        {"two blanks", "abc  abc", 20, cr, "abc\r\rabc", 2},
        {"two blanks, WrapText", "abc  abc", 20, '\n', "abc\n\nabc", 2},
        // The blank that began the line by an earlier break stays refused.
        {"blank that began the line", "a " + std::string(12, 'b'), 50, '\n', "a\nbbbbbbbb\nbbbb", 2},
    };
    for (const Case& c : cases) {
        int breaks = -1;
        EXPECT_EQ(Wrap(c.text, c.maxWidth, &breaks, c.breakByte, c.breakByte == cr), c.wrapped) << c.name;
        EXPECT_EQ(breaks, c.breaks) << c.name;
    }
}

TEST(TextWrap, AgreesWithTheStepsOnRandomTexts) {
    // Short texts of narrow and wide letters, blanks, line breaks and colour
    // codes; widths from negative to a few words.
    std::mt19937 random(12345);
    const char pieces[] = {'a', 'i', 'm', 'W', ' ', ' ', ' ', '\n', '\x02', char(200)};
    int compared = 0;
    int endless = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int length = int(random() % 48);
        for (int k = 0; k < length; ++k) {
            if (random() % 16 == 0) {
                text.push_back('\x01');
                for (int b = 0; b < 4; ++b)
                    text.push_back(char('A' + random() % 26));
            } else {
                text.push_back(pieces[random() % sizeof pieces]);
            }
        }
        // Mostly widths of a few words; now and then a negative one, where
        // nearly every line would go round forever.
        const int maxWidth = random() % 10 == 0 ? -int(random() % 6) - 1 : int(random() % 70);
        const bool textBox = random() % 2 == 0;
        const char breakByte = textBox ? char(13) : '\n';
        int breaks = -1;
        const std::string wrapped = Wrap(text, maxWidth, &breaks, breakByte, textBox);
        const auto expected = WrapBySteps(text, maxWidth, breakByte, textBox);
        if (expected) {
            ++compared;
            ASSERT_EQ(wrapped, expected->first) << "text of " << text.size() << " bytes at " << maxWidth;
            ASSERT_EQ(breaks, expected->second);
        } else {
            // Where the steps never end, the walk still loses nothing but the
            // blanks and line breaks it turns into breaks.
            ++endless;
            std::string kept, left;
            for (char c : text)
                if (c != ' ' && c != '\n')
                    kept.push_back(c);
            for (char c : wrapped)
                if (c != ' ' && c != '\n' && c != breakByte)
                    left.push_back(c);
            ASSERT_EQ(left, kept);
        }
    }
    // Both kinds of input must have come up.
    EXPECT_GT(compared, 5000);
    EXPECT_GT(endless, 50);
}

TEST(TextWrap, BlankThatBeganTheLineIsNoBreakPoint) {
    // Every pass would find the blank after "a" again; the walk must end.
    const std::string text = "a bbbbbbbbbbbb";
    for (char breakByte : {'\n', char(13)}) {
        int lines = 0;
        const std::string wrapped = Wrap(text, 50, &lines, breakByte, breakByte == 13);
        std::string restored = wrapped;
        // The one blank replaced by a break comes back as a blank.
        const size_t first = restored.find(breakByte);
        ASSERT_NE(first, std::string::npos);
        restored[first] = ' ';
        EXPECT_EQ(Unbroken(restored, breakByte), text) << wrapped;
    }
}

TEST(TextWrap, NegativeWidthBreaksAfterEveryByteAndEnds) {
    int lines = 0;
    const std::string wrapped = Wrap("ab c", -5, &lines, char(13), true);
    // The blank begins its line and is itself the break.
    EXPECT_EQ(wrapped, "a\rb\r\rc\r");
    EXPECT_EQ(lines, 4);
}

TEST(TextWrap, ColourCodesCountNoWidthAndAreNeverSplit) {
    // The colour bytes are printable ("zzzz") but add nothing.
    const std::string text = std::string("ab\x01zzzz") + "cd\x02";
    int lines = 0;
    EXPECT_EQ(Wrap(text, 28, &lines), text);
    EXPECT_EQ(lines, 0);
    // A cut-off code at the end is copied as far as it goes.
    EXPECT_EQ(Wrap("ab\x01zz", 100, &lines), "ab\x01zz");
}

}  // namespace
