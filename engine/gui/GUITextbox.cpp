#include "engine/gui/GUITextbox.h"

#include <algorithm>

#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/TextWrap.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "platform/Platform.h"

namespace {

constexpr int kMargin = 5;
constexpr int kScrollbarZone = 17;
constexpr uint32_t kSelectionShade = 0x80808080;
constexpr uint32_t kSingleLineFill = 0x2D000000;
constexpr uint32_t kOpaqueBlack = 0xFF000000;

enum : uint16_t { kKeyEnd = 35, kKeyHome = 36, kKeyLeft = 37, kKeyRight = 39, kKeyDelete = 46 };
enum : uint16_t { kKeyA = 65, kKeyC = 67, kKeyV = 86 };

// The colour a code at s[at] (the byte 1) selects. A code cut short by the end
// of the string takes only the bytes that exist; the rest count as 0.
uint32_t CodeColor(const std::string& s, size_t at) {
    uint32_t color = 0;
    for (size_t k = 1; k <= 4 && at + k < s.size(); ++k)
        color |= uint32_t(static_cast<unsigned char>(s[at + k])) << (8 * (k - 1));
    return color;
}

// Bytes a colour code at s[at] takes, cut short by the end of the string.
size_t CodeLength(const std::string& s, size_t at) { return std::min<size_t>(5, s.size() - at); }

// Walks s to just after its n-th line break (10 or 13), or to its end for
// n = -1 or fewer breaks, and returns the colour code in force there (empty
// for the text colour); *offset receives where the walk stopped.
std::string FindLineStart(const std::string& s, int n, size_t* offset) {
    std::string state;
    if (n == 0) {
        *offset = 0;
        return state;
    }
    int breaks = 0;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c == 1) {
            const size_t length = CodeLength(s, i);
            state = s.substr(i, length);
            i += length;
            continue;
        }
        if (c == 2)
            state.clear();
        ++i;
        if ((c == 10 || c == 13) && ++breaks == n)
            break;
    }
    *offset = i;
    return state;
}

}  // namespace

GUITextbox::GUITextbox() {
    text.reserve(10000);
    displayText.reserve(10000);
}

int GUITextbox::Advance(unsigned char c) const {
    const uint16_t index = uint16_t(c - 32);
    if (const Font* font = GetFont())
        return font->GetCharWidth(index);
    return index < 224 ? kBuiltInAdvances[index] : 5;
}

int GUITextbox::ScrollPosition() const { return scrollbar ? scrollbar->GetPosition() : 0; }

void GUITextbox::ClampCaret() { caret = std::max(0, std::min(caret, int(text.size()))); }

void GUITextbox::SetText(const std::string& value) {
    text = value;
    selStart = selEnd = 0;
    caret = int(text.size());
    displayText.clear();
}

bool GUITextbox::DeleteSelection() {
    if (ReadOnly() || selStart == selEnd)
        return false;
    const int length = int(text.size());
    const int lo = std::max(0, std::min(length, int(std::min(selStart, selEnd))));
    const int hi = std::max(lo, std::min(length, int(std::max(selStart, selEnd))));
    text.erase(size_t(lo), size_t(hi - lo));
    caret = lo;
    selStart = selEnd = 0;
    displayText.clear();
    return true;
}

void GUITextbox::InsertText(const std::string& value, bool force) {
    if (!force && ReadOnly())
        return;
    const size_t limit = MultiLine() ? kMultiLineLimit : kSingleLineLimit;
    if (text.size() + value.size() > limit)
        return;
    DeleteSelection();
    ClampCaret();
    if (!ReadOnly() && size_t(caret) < text.size())
        text.insert(size_t(caret), value);
    else
        text.append(value);
    caret += int(value.size());
    if (text.size() > kKeptBytes) {
        const size_t dropped = text.size() - kKeptBytes;
        text.erase(0, dropped);
        // The caret stays on the byte it stood before, so typing goes on there.
        caret = std::max(0, caret - int(dropped));
        ClampCaret();
    }
    displayText.clear();
}

void GUITextbox::DeleteBack() {
    if (ReadOnly() || DeleteSelection())
        return;
    ClampCaret();
    if (caret > 0) {
        text.erase(size_t(caret - 1), 1);
        --caret;
        displayText.clear();
    }
}

void GUITextbox::DeleteForward() {
    if (ReadOnly() || DeleteSelection())
        return;
    ClampCaret();
    if (size_t(caret) < text.size()) {
        text.erase(size_t(caret), 1);
        displayText.clear();
    }
}

void GUITextbox::SelectAll() {
    selStart = 0;
    selEnd = float(text.size());
}

void GUITextbox::AppendText(const std::string& value, uint32_t color, bool scroll) {
    const bool writeColor = color != textColor && color != kOpaqueBlack;
    std::string line;
    line.reserve(value.size() + 7);
    if (writeColor) {
        line.push_back('\x01');
        for (int shift = 0; shift < 32; shift += 8)
            line.push_back(char((color >> shift) & 0xFF));
    }
    line += value;
    if (writeColor)
        line.push_back('\x02');
    line.push_back('\n');
    InsertText(line, true);
    Wrap();
    if (scroll) {
        UpdateScrollbar();
        if (scrollbar)
            scrollbar->SetPosition(lineCount - VisibleLines());
    }
}

std::string GUITextbox::Wrap() {
    WrapOptions options;
    const Font* font = GetFont();
    options.advances = font ? font->advances : kBuiltInAdvances;
    options.maxWidth = width - (scrollbar ? 40 : 10);
    options.breakByte = 13;
    options.testAfterControlBytes = true;
    return WrapLines(options, text, &lineCount);
}

std::string GUITextbox::GetVisibleText() {
    if (!MultiLine()) {
        std::string shown = HasFlag(kMasked) ? std::string(text.size(), '*') : text;
        // The end of the text stays in view: bytes leave from the front.
        const int available = std::max(10, width - 10);
        int shownWidth = 0;
        for (unsigned char c : shown)
            shownWidth += Advance(c);
        size_t dropped = 0;
        while (shownWidth > available && dropped < shown.size())
            shownWidth -= Advance(static_cast<unsigned char>(shown[dropped++]));
        firstVisible = int(dropped);
        return shown.substr(dropped);
    }
    const std::string wrapped = Wrap();
    size_t offset = 0;
    const std::string state = FindLineStart(wrapped, ScrollPosition(), &offset);
    firstVisible = int(offset);
    const std::string rest = wrapped.substr(offset);
    size_t end = 0;
    FindLineStart(rest, std::max(0, VisibleLines()), &end);
    // The first shown line starts in the colour it has in the full text.
    return state + rest.substr(0, end);
}

void GUITextbox::RefreshDisplay() {
    const int scroll = ScrollPosition();
    if (displayText.empty() || scroll != cachedScroll || float(width) != cachedWidth ||
        float(height) != cachedHeight)
        displayText = GetVisibleText();
    cachedWidth = float(width);
    cachedHeight = float(height);
    if (scrollbar)
        cachedScroll = scroll;
}

int GUITextbox::CharIndexAt(int px, int py) {
    const std::string& shown = displayText;
    const int target = py / kLineHeight;
    int j = 0;
    int line = 0;
    int pen = 0;
    for (size_t k = 0; k < shown.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(shown[k]);
        if (c == 1) {
            j += 5;
            k += CodeLength(shown, k) - 1;
            continue;
        }
        if (line < target) {
            if (c == 10) {
                ++line;
                ++j;
            } else if (c == 13) {
                ++line;
            } else {
                ++j;
            }
            continue;
        }
        // On the target line: a click lands before a character when it lies
        // left of the character's middle.
        const int w = c >= 32 ? Advance(c) : 5;
        if (c >= 32)
            pen += w;
        if (pen - w / 2 >= px || c == 10 || c == 13)
            return j + firstVisible;
        ++j;
    }
    return j + firstVisible;
}

std::string GUITextbox::GetSelectedText() {
    if (selStart == selEnd)
        return std::string();
    RefreshDisplay();
    const int lo = int(std::min(selStart, selEnd)) - firstVisible;
    const int hi = int(std::max(selStart, selEnd)) - firstVisible;
    std::string out;
    int j = 0;
    for (size_t k = 0; k < displayText.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(displayText[k]);
        if (c == 1) {
            j += 5;
            k += CodeLength(displayText, k) - 1;
            continue;
        }
        if (c == 13)
            continue;
        if (j >= lo && j < hi) {
            if (c >= 32)
                out.push_back(char(c));
            else if (c == 10)
                out += "\r\n";
        }
        ++j;
    }
    return out;
}

std::string GUITextbox::GetLineAt(int py) {
    RefreshDisplay();
    const int target = py / kLineHeight;
    if (target < 0)
        return std::string();
    std::string out;
    int line = 0;
    for (size_t k = 0; k < displayText.size() && line <= target; ++k) {
        const unsigned char c = static_cast<unsigned char>(displayText[k]);
        if (c == 1) {
            k += CodeLength(displayText, k) - 1;
            continue;
        }
        if (c == 10 || c == 13) {
            ++line;
            continue;
        }
        if (line == target && c >= 32)
            out.push_back(char(c));
    }
    return out;
}

void GUITextbox::EnableScrollbar() {
    if (scrollbar)
        return;
    scrollbar = new GUIScrollbar();
    AddChild(scrollbar, true);
    UpdateScrollbar();
}

void GUITextbox::UpdateScrollbar() {
    if (!scrollbar)
        return;
    const int visible = VisibleLines();
    scrollbar->SetRect(x + width - 16, y + 1, 15, height - 2);
    scrollbar->SetProportion(visible, lineCount);
    scrollbar->SetMaximum(std::max(lineCount - visible, 0));
    scrollbar->SetPosition(std::min(scrollbar->GetPosition(), lineCount - visible));
}

void GUITextbox::ScrollToBottom() {
    if (scrollbar)
        scrollbar->SetPosition(lineCount - VisibleLines());
}

void GUITextbox::Paste() {
    std::string pasted;
    // A clipboard without text, or one that cannot be opened or read, pastes
    // nothing (which still replaces the selection).
    if (!platform::GetClipboard().GetText(pasted))
        pasted.clear();
    if (pasted.size() > kPasteLimit)
        pasted.resize(kPasteLimit);
    for (char& c : pasted)
        if (static_cast<unsigned char>(c) <= 31)
            c = ' ';
    InsertText(pasted, false);
}

void GUITextbox::Copy() { platform::GetClipboard().SetText(GetSelectedText()); }

void GUITextbox::HandleKey(uint16_t virtualKey, uint16_t character, bool ctrl, bool shift, bool shiftForArrows) {
    if (HasFlag(kDisabled))
        return;
    if (character == 0) {
        const bool arrowsAllowed = !shiftForArrows || shift;
        ClampCaret();
        switch (virtualKey) {
        case kKeyLeft:
            if (arrowsAllowed && caret > 0)
                --caret;
            break;
        case kKeyRight:
            if (arrowsAllowed && size_t(caret) < text.size())
                ++caret;
            break;
        case kKeyHome:
            caret = 0;
            break;
        case kKeyEnd:
            caret = int(text.size());
            break;
        case kKeyDelete:
            DeleteForward();
            break;
        default:
            break;
        }
        return;
    }
    if (character == 8) {
        DeleteBack();
    } else if (character == 13) {
        if (MultiLine())
            InsertText("\n", false);
    } else if (ctrl && virtualKey == kKeyV) {
        Paste();
    } else if (ctrl && virtualKey == kKeyC) {
        Copy();
    } else if (ctrl && virtualKey == kKeyA) {
        SelectAll();
    } else if (character >= 32) {
        InsertText(std::string(1, char(character & 0xFF)), false);
    }
}

void GUITextbox::OnMouseDown(int px, int py) {
    if (scrollbar && px >= x + width - kScrollbarZone)
        return;  // the scroll bar's
    if (GUIManager* manager = GetManager())
        manager->focus = this;
    RefreshDisplay();
    const int index = CharIndexAt(px - x - kMargin, py - y - kMargin);
    if (!ReadOnly())
        caret = index;
    selStart = selEnd = float(index);
    selecting = true;
}

void GUITextbox::OnMouseMove(int px, int py) {
    if (!selecting)
        return;
    RefreshDisplay();
    selEnd = float(CharIndexAt(px - x - kMargin, py - y - kMargin));
    if (!ReadOnly())
        caret = int(selEnd);
}

void GUITextbox::OnMouseUp(int px, int py) {
    // The release reaches every control, so a selection ends wherever it is.
    if (!selecting)
        return;
    RefreshDisplay();
    const int index = CharIndexAt(px - x - kMargin, py - y - kMargin);
    if (!ReadOnly())
        caret = index;
    selEnd = float(index);
    selecting = false;
}

void GUITextbox::OnMouseWheel(int steps) {
    if (scrollbar)
        scrollbar->Scroll(steps);
}

void GUITextbox::Draw() {
    RefreshDisplay();
    if (scrollbar)
        UpdateScrollbar();
    Graphics* graphics = GetGraphics();
    if (!graphics)
        return;
    if (skin > 0)
        graphics->RenderSkin(skin, x, y, width, height);
    if (!MultiLine() && fillColor == 0)
        fillColor = kSingleLineFill;
    graphics->RenderBox(x, y, width, height, darkColor, lightColor, fillColor);
    if (scrollbar)
        graphics->RenderRectangle(darkColor, x + width - kScrollbarZone, y + 1, 1, height - 2);

    Font* font = GetFont();
    // The glyphs go out in batches, one per run of a colour (the font flushes
    // a run when the colour changes); a highlight rectangle ends the run
    // before it, so that it lies under the glyphs that follow.
    if (font)
        font->BeginBatch(displayText.size());
    auto select = [&](uint32_t newColor) {
        if (font)
            font->SetTint(newColor);
    };

    const int penX = x + kMargin;
    int lineY = MultiLine() ? y + 1 : y + height / 2 - 7;
    const bool hasSelection = selStart != selEnd;
    const int lo = int(std::min(selStart, selEnd));
    const int hi = int(std::max(selStart, selEnd));
    bool caretFound = caret == 0 && firstVisible == 0;
    int caretX = penX;
    int caretY = lineY;
    uint32_t color = textColor;
    select(color);
    int offset = 0;
    int j = 0;
    for (size_t k = 0; k < displayText.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(displayText[k]);
        if (c == 10 || c == 13) {
            lineY += kLineHeight;
            offset = 0;
        } else if (c >= 32) {
            const int advance = Advance(c);
            const int index = j + firstVisible;
            if (hasSelection && lo <= index && index < hi) {
                if (font)
                    font->FlushBatch();
                graphics->RenderRectangle(kSelectionShade, penX + offset, lineY + 1, advance, kLineHeight);
                select(color);
            }
            if (font && c != 32) {
                const int cell = c - 32;
                font->RenderGlyph(float(penX + offset), float(lineY + 3), float(font->cellWidth),
                                  float(font->cellHeight), float((cell % 32) * font->cellWidth),
                                  float((cell / 32) * font->cellHeight));
            }
            offset += advance;
        }
        if (j + firstVisible + 1 == caret) {
            caretFound = true;
            caretX = penX + offset;
            caretY = lineY;
        }
        if (c == 1) {
            color = CodeColor(displayText, k);
            select(color);
            j += 5;
            k += CodeLength(displayText, k) - 1;
        } else if (c == 2) {
            color = textColor;
            select(color);
            ++j;
        } else if (c != 13) {
            ++j;
        }
    }
    if (font) {
        font->EndBatch();
        font->ResetColor();
    }

    // The caret blinks: 500 ms on, 500 ms off.
    GUIManager* manager = GetManager();
    if (!ReadOnly() && !HasFlag(kDisabled) && caretFound && manager && manager->focus == this &&
        (GetTicks() / 500) % 2 == 1)
        graphics->RenderRectangle(textColor, caretX, caretY + 1, 1, 12);
}
