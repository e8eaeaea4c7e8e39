#pragma once

#include <cstdint>
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
