// The text box: editing, the clipboard, selection, masking, wrapping, the log
// trim and colour codes.
#include "engine/Font.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUITextbox.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/DrawnText.h"

namespace {

class GUITextboxTest : public GuiTest {
protected:
    GUITextbox* Field(int w = 200, uint32_t flags = 0) {
        GUITextbox* box = Make<GUITextbox>(10, 10, w, 20, 1);
        box->SetFlag(flags);
        gui().focus = box;
        return box;
    }
    GUITextbox* Log(int w, int h, bool scrollbar) {
        GUITextbox* box = Make<GUITextbox>(10, 10, w, h, 2);
        box->SetFlag(GUIControl::kMultiLine | GUIControl::kReadOnly);
        if (scrollbar)
            box->EnableScrollbar();
        return box;
    }
    int Width(const std::string& s) { return test.app->font->GetTextWidth(s); }
    FakeClipboard& clipboard() { return test.platform.clipboard; }
};

TEST_F(GUITextboxTest, TypingEditsAtTheCaret) {
    GUITextbox* box = Field();
    input.Type("helo");
    input.Key(37, true);  // Shift+Left: the client allows arrows only with Shift
    input.Type("l");
    EXPECT_EQ(box->GetText(), "hello");
    input.Key(36);  // Home
    input.Key(46);  // Delete
    input.Key(35);  // End
    input.Char('\b');
    EXPECT_EQ(box->GetText(), "ell");
    input.Char('\r');  // single-line boxes take no Enter
    input.Char('\x1b');
    EXPECT_EQ(box->GetText(), "ell");
}

TEST_F(GUITextboxTest, ArrowsNeedShiftWhileTheManagerAsksForIt) {
    GUITextbox* box = Field();
    input.Type("ab");
    gui().shiftForArrows = true;
    input.Key(37);
    EXPECT_EQ(box->caret, 2);
    input.Key(37, true);
    EXPECT_EQ(box->caret, 1);
    gui().shiftForArrows = false;
    input.Key(37);
    EXPECT_EQ(box->caret, 0);
    input.Key(37);
    EXPECT_EQ(box->caret, 0);
}

TEST_F(GUITextboxTest, SingleLineLimitRefusesTheWholeInsertion) {
    GUITextbox* box = Field();
    box->SetText(std::string(254, 'x'));
    input.Type("y");
    EXPECT_EQ(box->GetText().size(), 255u);
    input.Type("z");
    EXPECT_EQ(box->GetText().size(), 255u) << "the 256th byte is refused";
    box->SetText(std::string(250, 'x'));
    clipboard().text = "123456";
    clipboard().available = true;
    input.Ctrl('v');
    EXPECT_EQ(box->GetText(), std::string(250, 'x')) << "a paste that would pass 255 is refused whole";
}

TEST_F(GUITextboxTest, PasteIsCutTo250BytesWithControlBytesAsBlanks) {
    struct Case {
        std::string clip;
        bool available;
        std::string typed;  // the result in a box holding "[]" with the caret between
    };
    const Case cases[] = {
        {"a\r\nb", true, "[a  b]"},
        {"tab\there", true, "[tab here]"},
        {std::string(300, 'q'), true, "[" + std::string(250, 'q') + "]"},
        {"", false, "[]"},
    };
    for (const Case& c : cases) {
        GUITextbox* box = Field(200, GUIControl::kMultiLine);
        box->SetText("[]");
        box->caret = 1;
        clipboard().text = c.clip;
        clipboard().available = c.available;
        input.Ctrl('v');
        EXPECT_EQ(box->GetText(), c.typed);
        gui().RemoveControl(box, true);
    }
}

TEST_F(GUITextboxTest, CopyPutsTheSelectionOnTheClipboardAndAnEmptyPasteDeletesIt) {
    GUITextbox* box = Field();
    input.Type("hello world");
    box->selStart = 6;
    box->selEnd = 11;
    Frame();
    input.Ctrl('c');
    EXPECT_EQ(clipboard().text, "world");
    clipboard().available = false;
    input.Ctrl('v');
    EXPECT_EQ(box->GetText(), "hello ");
    input.Ctrl('a');
    input.Type("X");
    EXPECT_EQ(box->GetText(), "X");
    clipboard().canOpen = false;
    clipboard().text = "kept";
    box->SelectAll();
    input.Ctrl('c');
    EXPECT_EQ(clipboard().text, "kept") << "a clipboard that cannot be opened stays as it was";
}

TEST_F(GUITextboxTest, HomeAndEndKeepAMouseSelectionAndTypingReplacesIt) {
    GUITextbox* box = Field();
    box->SetText("abcdef");
    Frame();
    // Press before "b", release before "e".
    const int bx = 10 + 5 + Width("a") + 1;
    const int ex = 10 + 5 + Width("abcd") + 1;
    input.Down(bx, 20);
    input.Up(ex, 20);
    EXPECT_EQ((std::vector<float>{box->selStart, box->selEnd}), (std::vector<float>{1, 4}));
    input.Key(36);
    input.Key(35);
    input.Type("-");
    EXPECT_EQ(box->GetText(), "a-ef");
}

TEST_F(GUITextboxTest, ClicksLandBeforeACharacterLeftOfItsMiddle) {
    GUITextbox* box = Field();
    box->SetText("mmm");  // 11 px each
    Frame();
    struct Case {
        int px;  // from the text's left edge
        int caret;
    };
    for (Case c : {Case{0, 0}, Case{6, 0}, Case{7, 1}, Case{17, 1}, Case{18, 2}, Case{150, 3}}) {
        input.Click(10 + 5 + c.px, 20);
        EXPECT_EQ(box->caret, c.caret) << c.px;
    }
}

TEST_F(GUITextboxTest, MaskedBoxShowsStarsAndLongTextShowsItsTail) {
    GUITextbox* password = Field(200, GUIControl::kMasked);
    password->SetText("secret");
    EXPECT_EQ(password->GetVisibleText(), "******");

    GUITextbox* narrow = Make<GUITextbox>(10, 50, 60, 20, 3);  // 50 px for text
    narrow->SetText("abcdefghijkl");
    const std::string shown = narrow->GetVisibleText();
    EXPECT_LE(Width(shown), 50);
    EXPECT_GT(Width(narrow->GetText().substr(size_t(narrow->firstVisible) - 1)), 50);
    EXPECT_EQ(narrow->GetText().substr(size_t(narrow->firstVisible)), shown);
    // A click maps to indices counted from the dropped front.
    Frame();
    input.Click(10 + 5, 60);
    EXPECT_EQ(narrow->caret, narrow->firstVisible);
}

TEST_F(GUITextboxTest, ReadOnlyBoxIgnoresEditingButSelectsAndAppends) {
    GUITextbox* box = Field(200, GUIControl::kReadOnly);
    box->SetText("log");
    input.Type("x");
    input.Char('\b');
    input.Key(46);
    clipboard().text = "p";
    clipboard().available = true;
    input.Ctrl('v');
    EXPECT_EQ(box->GetText(), "log");
    box->InsertText("!", true);
    EXPECT_EQ(box->GetText(), "log!");
    box->SetFlag(GUIControl::kDisabled);
    box->ClearFlag(GUIControl::kReadOnly);
    input.Type("y");
    EXPECT_EQ(box->GetText(), "log!") << "a disabled box ignores every key";
}

TEST_F(GUITextboxTest, AppendWritesAColourCodeOnlyForOtherColours) {
    GUITextbox* box = Log(300, 100, false);
    box->AppendText("plain", kText, false);
    box->AppendText("black", 0xFF000000, false);
    box->AppendText("red", 0xFF0000FF, false);
    EXPECT_EQ(box->GetText(), "plain\nblack\n" + std::string("\x01\xff\x00\x00\xff", 5) + "red\x02\n");
    EXPECT_EQ(box->lineCount, 3);
    const std::vector<DrawnText> texts = (Frame(), VisibleTexts(log(), test.app->font->sheet));
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[2].text, "red");
    EXPECT_EQ(texts[2].color, 0xFF0000FFu);
    EXPECT_EQ(texts[0].color, kText);
}

TEST_F(GUITextboxTest, UnderDirect3DEachRunOfAColourIsOneBatchInThatColour) {
    GUITextbox* box = Log(300, 100, false);
    box->AppendText("a b", kText, false);
    box->AppendText("c", 0xFF0000FF, false);
    box->AppendText("d", kText, false);
    Frame();
    const std::vector<const RecordedCall*> batches = log().Calls("RenderSpriteBatch");
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0]->quads.size(), 2u);
    EXPECT_EQ(log().Count("RenderSprite"), 0u);
    const std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ((std::vector<uint32_t>{texts[0].color, texts[1].color, texts[2].color}),
              (std::vector<uint32_t>{kText, 0xFF0000FF, kText}));
}

// A highlight ends the run of glyphs before it, so it lies under the glyphs
// that follow and over none before it, and the run after it has its colour
// again (the rectangle itself leaves the tint white on OpenGL).
TEST(GUITextboxBatches, ASelectionSplitsTheRunUnderEveryBatchingBackEnd) {
    for (int type : {kEngineDirect3D, kEngineOpenGL}) {
        SCOPED_TRACE(type);
        TestApp test(type);
        test.LoadFont();
        test.app->SetSize(800, 600);
        GUITextbox* box = new GUITextbox();
        box->SetRect(10, 10, 200, 20);
        test.app->gui->AddControl(box, true);
        box->textColor = 0xFF00FF00;  // after the style its parent hands down
        box->SetText("abcd");
        box->selStart = 1;
        box->selEnd = 3;
        test.engine()->Clear();
        test.app->gui->Update();
        // The glyph runs, the colours and the selection shade, in drawing order.
        std::vector<std::string> runs;
        for (const std::string& line : test.engine()->Log()) {
            if (line.rfind("SetColor", 0) == 0)
                runs.push_back(line);
            else if (line.rfind("RenderSpriteBatch", 0) == 0)
                runs.push_back("RenderSpriteBatch");
            else if (line.rfind("RenderRectangle(0x80808080", 0) == 0)
                runs.push_back("RenderRectangle");
        }
        const std::vector<std::string> expected = {
            "SetColor(0xff00ff00)", "RenderSpriteBatch",                        // a
            "RenderRectangle", "SetColor(0xff00ff00)", "RenderSpriteBatch",     // b over its shade
            "RenderRectangle", "SetColor(0xff00ff00)", "RenderSpriteBatch",     // c over its shade
            "SetColor(0xffffffff)"};                                            // d joins c's run
        EXPECT_EQ(runs, expected);
        const std::vector<const RecordedCall*> batches = test.engine()->Calls("RenderSpriteBatch");
        ASSERT_EQ(batches.size(), 3u);
        EXPECT_EQ(batches[2]->quads.size(), 2u);
    }
}

TEST_F(GUITextboxTest, LogKeepsItsNewest5000BytesByCount) {
    GUITextbox* box = Log(300, 100, true);
    for (int i = 0; i < 600; ++i)
        box->AppendText("line " + std::to_string(i), kText, true);
    const std::string text = box->GetText();
    EXPECT_EQ(text.size(), 5000u);
    EXPECT_EQ(text.substr(text.size() - 9), "line 599\n");
    EXPECT_EQ(box->scrollbar->GetPosition(), box->lineCount - box->VisibleLines());
}

TEST_F(GUITextboxTest, TrimKeepsTheCaretOnItsByteInAnEditableLog) {
    GUITextbox* box = Make<GUITextbox>(10, 10, 300, 100, 1);
    box->SetFlag(GUIControl::kMultiLine);
    gui().focus = box;
    box->SetText(std::string(2500, 'a') + std::string(2500, 'b'));
    box->caret = 2500;  // between the a's and the b's
    input.Type("XY");
    const std::string text = box->GetText();
    ASSERT_EQ(text.size(), 5000u);
    EXPECT_EQ(text.substr(2498, 4), "XYbb");
    EXPECT_EQ(box->caret, 2500);
}

TEST_F(GUITextboxTest, WrappingANarrowBoxEndsAndLosesNoByte) {
    // The blank that begins the second line is no break point the walk may
    // come back to.
    GUITextbox* box = Make<GUITextbox>(10, 10, 60, 100, 1);
    box->SetFlag(GUIControl::kMultiLine);
    box->SetText("a bbbbbbbbbbbb");
    const std::string wrapped = box->Wrap();
    std::string restored;
    for (char c : wrapped)
        if (c != 13)
            restored.push_back(c);
    EXPECT_EQ(restored, "abbbbbbbbbbbb") << "the blank became the first soft break";
    EXPECT_GE(box->lineCount, 2);

    // A box narrower than its margin breaks after every byte, and ends too: a
    // blank or newline that begins a line is itself the break and becomes it.
    GUITextbox* tiny = Make<GUITextbox>(10, 10, 5, 100, 2);
    tiny->SetFlag(GUIControl::kMultiLine);
    tiny->SetText("ab c\nd");
    EXPECT_EQ(tiny->Wrap(), "a\rb\r\rc\r\rd\r");
    EXPECT_EQ(tiny->lineCount, 7) << "a break for each of the six bytes, and the newline";
    Frame();
}

TEST_F(GUITextboxTest, ALongWordBreaksAfterTheOverflowingLetter) {
    GUITextbox* box = Make<GUITextbox>(10, 10, 110, 200, 1);  // 100 px lines
    box->SetFlag(GUIControl::kMultiLine);
    box->SetText(std::string(25, 'e'));  // 7 px each: 14 fit, the 15th overflows and stays
    EXPECT_EQ(box->Wrap(), std::string(15, 'e') + "\r" + std::string(10, 'e'));
}

TEST_F(GUITextboxTest, ScrollingShowsLaterLinesInTheColourTheyHave) {
    GUITextbox* box = Log(300, 34, true);  // two visible lines
    box->AppendText("one", kText, false);
    box->InsertText(std::string("\x01\x10\x20\x30\xff", 5) + "two\nthree\x02\nfour\n", true);
    box->Wrap();
    box->UpdateScrollbar();
    box->scrollbar->SetPosition(2);
    Frame();
    const std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "three");
    EXPECT_EQ(texts[0].color, 0xFF302010u);
    EXPECT_EQ(texts[1].text, "four");
    EXPECT_EQ(box->GetLineAt(14), "four");
    EXPECT_EQ(box->GetLineAt(40), "");
    input.Move(50, 20);
    input.Wheel(-5);
    EXPECT_EQ(box->scrollbar->GetPosition(), 0) << "the wheel scrolls a box under the mouse";
}

TEST_F(GUITextboxTest, ColourCodesCutShortAtTheEndAreNeverReadPast) {
    // Server text may end anywhere inside a colour code.
    for (size_t cut = 1; cut <= 5; ++cut) {
        const std::string code = std::string("\x01\x11\x22\x33\x44", 5).substr(0, cut);
        for (uint32_t flags : {0u, uint32_t(GUIControl::kMultiLine)}) {
            GUITextbox* box = Make<GUITextbox>(10, 10, 200, 60, 1);
            box->SetFlag(flags);
            box->SetText("ab" + code);
            gui().focus = box;
            Frame();
            box->SelectAll();
            box->GetSelectedText();
            box->GetLineAt(0);
            input.Click(150, 20);
            Frame();
            gui().RemoveControl(box, true);
        }
    }
}

TEST_F(GUITextboxTest, SelectionCopiesOnlyWhatIsDisplayedWithCrLfLineEnds) {
    GUITextbox* box = Log(300, 100, false);
    box->SetText("one\ntwo " + std::string("\x01\x01\x02\x03\x04", 5) + "red\x02");
    Frame();
    box->SelectAll();
    EXPECT_EQ(box->GetSelectedText(), "one\r\ntwo red");
}

TEST_F(GUITextboxTest, CaretBlinksOnlyInTheFocusedEditableBox) {
    GUITextbox* box = Field();
    input.Type("ab");
    const int caretX = 10 + 5 + Width("ab");
    const std::string caret = "RenderRectangle(0xffc8c8c8, " + std::to_string(caretX) + ", 14, 1, 12)";
    // The clock starts at 0: even half-seconds off, odd ones on.
    EXPECT_FALSE(Drew(Frame(), caret));
    test.platform.clock.Advance(500);
    EXPECT_TRUE(Drew(Frame(), caret));
    gui().focus = nullptr;
    EXPECT_FALSE(Drew(Frame(), caret));
    gui().focus = box;
    box->SetFlag(GUIControl::kReadOnly);
    EXPECT_FALSE(Drew(Frame(), caret));
}

TEST_F(GUITextboxTest, SingleLineBoxWithoutFillGetsATranslucentOne) {
    GUITextbox* box = Field();
    Frame();
    EXPECT_EQ(box->fillColor, 0x2D000000u);
}

TEST_F(GUITextboxTest, ClickOnTheScrollBarZoneLeavesTheBoxAlone) {
    GUITextbox* box = Log(300, 100, true);
    box->SetFlag(GUIControl::kReadOnly);
    input.Click(10 + 300 - 17, 50);
    EXPECT_EQ(gui().focus, nullptr);
    input.Click(20, 20);
    EXPECT_EQ(gui().focus, box);
}

}  // namespace
