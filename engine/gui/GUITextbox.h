#pragma once

#include <cstdint>
#include <string>

#include "engine/gui/GUIControl.h"

class GUIScrollbar;

// The toolkit's one text control: a single-line input field, a masked password
// field, or a multi-line, scrollable log of coloured lines. Text is a byte
// string, one byte a character.
//
// Inline codes: the byte 1 and four bytes red, green, blue, alpha begin a
// colour (five text bytes, no width), the byte 2 ends it, the byte 10 breaks a
// line. In the display form the byte 13 marks a soft break of the wrapping; it
// is not part of the text. Every walk over text or display stops at the end of
// the string, also inside a colour code cut short.
//
// Layout: the text starts 5 px right of the left edge, a line is 14 px high,
// (height - 6) / 14 lines are visible, a scroll bar takes the rightmost 17 px.
class GUITextbox : public GUIControl {
public:
    static constexpr int kLineHeight = 14;
    static constexpr size_t kSingleLineLimit = 255;
    static constexpr size_t kMultiLineLimit = 5000000;
    // Multi-line boxes keep the newest bytes only.
    static constexpr size_t kKeptBytes = 5000;
    // Pasted text is cut to this many bytes.
    static constexpr size_t kPasteLimit = 250;

    GUITextbox();

    std::string GetText() const { return text; }
    // No length limit, no trimming; the caret goes to the end.
    void SetText(const std::string& value);
    // Appends a line in a colour (written as a colour code unless it is the box's
    // text colour or opaque black); scroll follows it to the bottom.
    void AppendText(const std::string& value, uint32_t color, bool scroll);
    // Inserts at the caret, replacing the selection; force skips the read-only
    // check. An insertion over the length limit is dropped whole.
    void InsertText(const std::string& value, bool force);
    void DeleteBack();
    void DeleteForward();
    void SelectAll();
    // The selected part of what is displayed, as plain text with "\r\n" line ends.
    std::string GetSelectedText();
    // The displayed line at a pixel offset inside the text area, as plain text.
    std::string GetLineAt(int y);
    void EnableScrollbar();
    void UpdateScrollbar();
    void ScrollToBottom();
    // The display form of what the box shows (wrapped, scrolled, masked).
    std::string GetVisibleText();
    // Wraps the whole text to the box's width and counts its lines.
    std::string Wrap();
    // A key the manager routes to the focused box: a key-down (character 0) or a
    // character with the virtual key of the last key-down.
    void HandleKey(uint16_t virtualKey, uint16_t character, bool ctrl, bool shift, bool shiftForArrows);
    // Ctrl+V and Ctrl+C through the platform clipboard.
    void Paste();
    void Copy();
    int VisibleLines() const { return (height - 6) / kLineHeight; }

    void Draw() override;
    void OnMouseDown(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseWheel(int steps) override;

    std::string text;
    std::string displayText;
    int caret = 0;
    int firstVisible = 0;
    int lineCount = 0;
    int cachedScroll = 0;
    float cachedWidth = 0;
    float cachedHeight = 0;
    float selStart = 0;
    float selEnd = 0;
    bool selecting = false;
    GUIScrollbar* scrollbar = nullptr;

private:
    bool ReadOnly() const { return HasFlag(kReadOnly); }
    bool MultiLine() const { return HasFlag(kMultiLine); }
    bool DeleteSelection();
    // A text index for a point relative to the text's top-left (5, 5).
    int CharIndexAt(int px, int py);
    // Rebuilds the display form when the text, the scroll position or the size
    // changed since it was made.
    void RefreshDisplay();
    int ScrollPosition() const;
    int Advance(unsigned char c) const;
    void ClampCaret();
};
