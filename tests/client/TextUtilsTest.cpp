// WrapText, SplitString and the number reader shared by the ini files and
// "loginserver.txt".
#include <gtest/gtest.h>

#include <climits>

#include "client/TextUtils.h"
#include "engine/Font.h"
#include "tests/support/TestApp.h"

namespace {

struct WrapCase {
    const char* name;
    std::string text;
    int width;
    std::string wrapped;
    int lines;
};

TEST(WrapText, Table) {
    // Built-in widths: a 7, b 7, blank 3, c 6, d 7, m 11.
    const std::string longWord(30, 'm');
    const WrapCase cases[] = {
        {"empty text", "", 100, "", 1},
        {"fits, breaks counted", "Hello\nworld", 100, "Hello\nworld", 2},
        {"exactly the width fits", "ab cd", 30, "ab cd", 1},
        {"one pixel more breaks at the blank", "ab cd", 29, "ab\ncd", 2},
        {"word longer than a line", longWord, 50,
         "mmmmm\nmmmmm\nmmmmm\nmmmmm\nmmmmm\nmmmmm\n", 7},
        {"word at the start with no blank before it", "mmmmmm ab", 50, "mmmmm\nm ab", 2},
        {"colour bytes count no width", std::string("ab\x01zzzz") + "cd\x02", 27,
         std::string("ab\x01zzzz") + "cd\x02", 1},
        {"cut-off colour code at the end", std::string("ab\x01zz"), 100, std::string("ab\x01zz"), 1},
        // The blank (or line break) that began the line is the only break
        // point in reach of the overflowing byte; breaking there again would
        // make no progress, so the word is broken instead.
        {"long word after a blank near the line start", "a " + std::string(24, 'b'), 50,
         "a\nbbbbbbbb\nbbbbbbbb\nbbbbbbbb\n", 5},
        {"long word after a line break", "\n" + std::string(12, 'b'), 50, "\nbbbbbbbb\nbbbb", 3},
    };
    for (const WrapCase& c : cases) {
        int lines = -1;
        EXPECT_EQ(WrapText(kBuiltInAdvances, c.width, c.text, &lines), c.wrapped) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

TEST(WrapText, NullLineCountIsAllowed) { EXPECT_EQ(WrapText(kBuiltInAdvances, 29, "ab cd"), "ab\ncd"); }

TEST(WrapText, FontAndACopyOfItsWidthsWrapAlike) {
    TestApp test;
    test.LoadFont();
    const Font* font = test.app->font;
    ASSERT_NE(font, nullptr);
    int copy[Font::kAdvanceCount];
    std::copy(font->advances, font->advances + Font::kAdvanceCount, copy);
    const std::string text = "The status page says the servers restart at noon today.";
    int fontLines = 0;
    int copyLines = 0;
    EXPECT_EQ(WrapText(font, 120, text, &fontLines), WrapText(copy, 120, text, &copyLines));
    EXPECT_EQ(fontLines, copyLines);
    EXPECT_GT(fontLines, 1);
    // The table is what decides: wider letters, more lines.
    for (int& advance : copy)
        advance *= 2;
    WrapText(copy, 120, text, &copyLines);
    EXPECT_GT(copyLines, fontLines);
}

struct SplitCase {
    const char* text;
    const char* delimiter;
    std::vector<std::string> parts;
};

TEST(SplitString, Table) {
    const SplitCase cases[] = {
        {"a||b|", "|", {"a", "b"}},
        {"|", "|", {}},
        {"", "|", {}},
        {"abc", "|", {"abc"}},
        {"a::b:::c", "::", {"a", "b", ":c"}},
        {"line one\nline two\n", "\n", {"line one", "line two"}},
        {"abc", "", {"abc"}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitString(c.text, c.delimiter), c.parts) << c.text << " / " << c.delimiter;
}

TEST(SplitString, LeavesTheCallersTextAlone) {
    const std::string text = "a|b";
    SplitString(text, "|");
    EXPECT_EQ(text, "a|b");
}

TEST(ReadLeadingInt, Table) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"", 0},
        {"12", 12},
        {"12abc", 12},
        {"abc", 0},
        {"-5", -5},
        {"+7", 7},
        {" \t 42", 42},
        {"- 5", 0},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", INT32_MAX},
        {"99999999999999999999", INT32_MAX},
        {"-99999999999999999999", INT32_MIN},
        {"70000\r", 70000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadLeadingInt(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
