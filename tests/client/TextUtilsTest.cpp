// WrapText, SplitString and the number reader shared by the ini files and
// "loginserver.txt".
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

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

// A typed price reads as the C library reads it in the "C" locale and then
// narrows to a float; whatever strtod would take beyond plain decimals reads 0.
TEST(ReadLeadingFloat, Table) {
    const float inf = std::numeric_limits<float>::infinity();
    const float largest = std::numeric_limits<float>::max();
    const struct {
        const char* text;
        float value;
    } cases[] = {
        {"", 0.0f},
        {"abc", 0.0f},
        {"12", 12.0f},
        {"1.5", 1.5f},
        {"  \t-2.25xyz", -2.25f},
        {"+.5", 0.5f},
        {"5.", 5.0f},
        {".", 0.0f},
        {"-", 0.0f},
        {"1,5", 1.0f},  // the "C" decimal point only
        {"1.2.3", 1.2f},
        {"1e3", 1000.0f},
        {"1E-2", 0.01f},
        {"2.5e+1", 25.0f},
        {"1e", 1.0f},  // an exponent needs a digit
        {"1e+", 1.0f},
        {"e5", 0.0f},
        {"0.000123", 0.000123f},
        {"000123.4500", 123.45f},
        {"0.1", 0.1f},
        {"inf", 0.0f},
        {"-infinity", 0.0f},
        {"nan", 0.0f},
        {"NAN(1)", 0.0f},
        {"0x1A", 0.0f},
        {"0x1p3", 0.0f},
        {"3.4028234e38", largest},
        {"3.40282356e38", largest},  // rounds down to the largest float
        {"3.5e38", inf},
        {"-3.5e38", -inf},
        {"1e39", inf},
        {"1e999999999999999", inf},
        {"1e-50", 0.0f},
        {"1e-999999999999", 0.0f},
        {"0e999999", 0.0f},
        {"100000000000000000000000000000000000000000000000000", inf},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadLeadingFloat(c.text), c.value) << '"' << c.text << '"';
    // The tie between the largest float and the next power of two goes to
    // infinity, as the narrowing of strtod's double does; so does a number
    // just below it, which strtod already rounds up to the tie.
    EXPECT_EQ(ReadLeadingFloat("340282356779733661637539395458142568448"), inf);
    EXPECT_EQ(ReadLeadingFloat("340282356779733661637539395458142568447"), inf);
    EXPECT_EQ(ReadLeadingFloat("340282356779733600000000000000000000000"), largest);
    EXPECT_TRUE(std::signbit(ReadLeadingFloat("-0")));
}

// A value a cast could not hold gives the caller's choice; everything else
// truncates toward zero as a cast does.
TEST(FloatToInteger, Table) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        int32_t signed32;
        uint32_t unsigned32;
        int64_t signed64;
        uint8_t byte;
    } cases[] = {
        {0.0, 0, 0, 0, 0},
        {-0.0, 0, 0, 0, 0},
        {2.9, 2, 2, 2, 2},
        {-2.9, -2, 7, -2, 7},
        {-0.5, 0, 0, 0, 0},  // truncates to 0, which every type holds
        {255.99, 255, 255, 255, 255},
        {256.0, 256, 256, 256, 7},
        {2147483647.0, INT32_MAX, 2147483647u, 2147483647, 7},
        {2147483647.9, INT32_MAX, 2147483647u, 2147483647, 7},
        {2147483648.0, 7, 2147483648u, 2147483648, 7},
        {-2147483648.0, INT32_MIN, 7, -2147483648LL, 7},
        {-2147483649.0, 7, 7, -2147483649LL, 7},
        {4294967295.0, 7, UINT32_MAX, 4294967295LL, 7},
        {4294967296.0, 7, 7, 4294967296LL, 7},
        {9223372036854775807.0, 7, 7, 7, 7},  // that is 2^63, one beyond
        {-9223372036854775808.0, 7, 7, INT64_MIN, 7},
        {1e300, 7, 7, 7, 7},
        {inf, 7, 7, 7, 7},
        {-inf, 7, 7, 7, 7},
        {nan, 7, 7, 7, 7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FloatToInteger<int32_t>(c.value, 7), c.signed32) << c.value;
        EXPECT_EQ(FloatToInteger<uint32_t>(c.value, 7), c.unsigned32) << c.value;
        EXPECT_EQ(FloatToInteger<int64_t>(c.value, 7), c.signed64) << c.value;
        EXPECT_EQ(FloatToInteger<uint8_t>(c.value, 7), c.byte) << c.value;
    }
    // A typed price far too large for the field stays the caller's choice.
    EXPECT_EQ(FloatToInteger<uint32_t>(ReadLeadingFloat("1e39"), 0), 0u);
}

}  // namespace
