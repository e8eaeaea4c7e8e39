#pragma once

#include <string>

// The line wrapping shared by the multi-line text box and WrapText: one walk
// that breaks a byte string into lines no wider than maxWidth pixels of the
// bitmap font.
//
// A line breaks only when its width exceeds maxWidth. It breaks at the
// overflowing byte if that is a blank or line break, else at the nearest blank
// or line break among the 20 bytes before it; that byte is replaced by
// breakByte and the rest is measured again. Without one, breakByte is inserted
// right after the overflowing byte. Colour codes (byte 1 and four colour bytes)
// pass through whole and count no width. No byte of the input is lost.
//
// A break point before the start of the current line is treated as none found:
// it is the break that began the line, and breaking there again would make no
// progress and loop forever. One on the line's first byte is a real break.
struct WrapOptions {
    // Advance widths as Font::advances: index code - 32, codes below 32 and
    // from 256 count 5. The caller may pass a copy (the status thread does).
    const int* advances = nullptr;
    int maxWidth = 0;
    char breakByte = '\n';
    // The text box also makes the width test after line breaks and other
    // control bytes; WrapText does not. It matters only for a negative width.
    bool testAfterControlBytes = false;
};

// Returns the wrapped text; *lines receives the number of line breaks of the
// input plus the number of breaks inserted.
std::string WrapLines(const WrapOptions& options, const std::string& text, int* lines);
