// The shared line wrapping.
#include <gtest/gtest.h>

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
    EXPECT_EQ(Unbroken(wrapped, char(13)), "ab c");
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
