// Buttons, texts, lines, check boxes and dialogs.
#include "engine/Font.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIText.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/DrawnText.h"

namespace {

class ControlsTest : public GuiTest {
protected:
    GUIButton* MakeCountingButton(int x, int y, int w, int h) {
        GUIButton* button = Make<GUIButton>(x, y, w, h, 1);
        button->action = [](void* context) { ++*static_cast<int*>(context); };
        button->actionContext = &fired;
        return button;
    }
    int fired = 0;
};

TEST_F(ControlsTest, ButtonFiresOnlyForAClickThatEndsInside) {
    struct Step {
        char kind;  // m move, d down, u up
        int x, y;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int fired;
    };
    const Case cases[] = {
        {"press and release inside", {{'m', 20, 20}, {'d', 20, 20}, {'u', 20, 20}}, 1},
        {"dragged out and released outside", {{'m', 20, 20}, {'d', 20, 20}, {'m', 200, 200}, {'u', 200, 200}}, 0},
        {"dragged out and back in", {{'m', 20, 20}, {'d', 20, 20}, {'m', 200, 200}, {'m', 21, 21}, {'u', 21, 21}}, 1},
        {"no move before the press", {{'d', 20, 20}, {'u', 20, 20}}, 0},
        {"released outside after the last move inside", {{'m', 20, 20}, {'d', 20, 20}, {'u', 200, 200}}, 1},
        {"pressed outside, released inside", {{'m', 200, 200}, {'d', 200, 200}, {'m', 20, 20}, {'u', 20, 20}}, 0},
        {"right edge is outside", {{'m', 60, 20}, {'d', 60, 20}, {'u', 60, 20}}, 0},
    };
    for (const Case& c : cases) {
        fired = 0;
        GUIButton* button = MakeCountingButton(10, 10, 50, 20);
        for (const Step& step : c.steps) {
            if (step.kind == 'm')
                gui().OnMouseMove(step.x, step.y);
            else if (step.kind == 'd')
                gui().OnMouseDown(step.x, step.y);
            else
                gui().OnMouseUp(step.x, step.y);
        }
        EXPECT_EQ(fired, c.fired) << c.name;
        gui().RemoveControl(button, true);
    }
}

TEST_F(ControlsTest, ADisabledOrHiddenButtonNeverFires) {
    for (uint32_t flag : {GUIControl::kDisabled, GUIControl::kHidden}) {
        fired = 0;
        GUIButton* button = MakeCountingButton(10, 10, 50, 20);
        button->SetFlag(flag);
        input.Click(20, 20);
        EXPECT_EQ(fired, 0);
        gui().RemoveControl(button, true);
    }
    // Disabled between press and release: stays pressed until its next release.
    GUIButton* button = MakeCountingButton(10, 10, 50, 20);
    input.Down(20, 20);
    button->SetFlag(GUIControl::kDisabled);
    input.Up(20, 20);
    EXPECT_TRUE(button->pressed);
    button->ClearFlag(GUIControl::kDisabled);
    input.Up(20, 20);
    EXPECT_EQ(fired, 1);
}

TEST_F(ControlsTest, ButtonDrawsRaisedOrPushedWithItsCaptionCentred) {
    GUIButton* button = Make<GUIButton>(10, 10, 100, 25, 1);
    button->SetCaption("Close");
    const int w = test.app->font->GetTextWidth("Close");
    struct Case {
        bool press;
        uint8_t style;
        uint32_t topLeft;
        int d;
    };
    for (Case c : {Case{false, 0, kLight, 0}, Case{true, 0, kDark, 1}, Case{false, 1, kDark, 1}}) {
        button->style = c.style;
        if (c.press)
            input.Down(20, 20);
        Frame();
        EXPECT_EQ(log().calls[0].text, "RenderRectangle(" + std::string(c.topLeft == kLight ? "0xff111111" : "0xff222222") +
                                           ", 10, 10, 100, 1)");
        const std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].x, float(10 + c.d + 50 - w / 2));
        EXPECT_EQ(texts[0].y, float(10 + c.d + 12 - 8));
        if (c.press)
            input.Up(20, 20);
    }
    // Opaque black text is drawn without an outline.
    button->textColor = 0xFF000000;
    Frame();
    EXPECT_EQ(DrawnTexts(log(), test.app->font->sheet).size(), 1u);
}

TEST_F(ControlsTest, TextAndLineDrawInTheirCurrentColours) {
    GUIText* text = Make<GUIText>(5, 6, 0, 0, 1);
    text->SetText("Name");
    GUILine* line = Make<GUILine>(10, 40, 80, 9, 2);
    text->textColor = 0xFF00FF00;
    const std::vector<std::string> frame = Frame();
    const std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Name");
    EXPECT_EQ(texts[0].color, 0xFF00FF00u);
    EXPECT_EQ(DrawnTexts(log(), test.app->font->sheet).size(), 5u) << "outlined";
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff222222, 10, 40, 80, 1)"));
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff111111, 10, 41, 80, 1)"));
    (void)line;
}

TEST_F(ControlsTest, PlainCheckboxTogglesInItsCornerFramedOneAnywhere) {
    struct Case {
        bool framed;
        int x, y;
        bool toggles;
    };
    const Case cases[] = {
        {false, 100, 100, true},  {false, 115, 115, true},  {false, 116, 100, false},
        {false, 250, 105, false}, {true, 250, 105, true},   {true, 100, 100, true},
    };
    for (const Case& c : cases) {
        GUICheckbox* box = Make<GUICheckbox>(100, 100, 200, 25, 1);
        box->framed = c.framed;
        int clicks = 0;
        box->clickCallback = [](void* context, int, int) { ++*static_cast<int*>(context); };
        box->clickContext = &clicks;
        gui().OnMouseDown(c.x, c.y);
        EXPECT_EQ(box->checked, c.toggles) << c.framed << " " << c.x << "," << c.y;
        EXPECT_EQ(clicks, 1) << "the click callback fires on every press inside";
        gui().RemoveControl(box, true);
    }
}

TEST_F(ControlsTest, CheckboxDrawsItsBoxFilledWhenChecked) {
    GUICheckbox* box = Make<GUICheckbox>(100, 100, 200, 25, 1);
    box->checked = true;
    EXPECT_TRUE(Drew(Frame(), "RenderRectangle(0x80808080, 101, 101, 13, 13)"));
    box->framed = true;
    box->checked = false;
    const std::vector<std::string> frame = Frame();
    EXPECT_EQ(frame[0], "RenderRectangle(0xff222222, 100, 100, 200, 1)");
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff222222, 110, 105, 15, 1)"));
    EXPECT_FALSE(Drew(frame, "RenderRectangle(0x80808080, 111, 106, 13, 13)"));
}

// Dialogs -----------------------------------------------------------------

TEST_F(ControlsTest, DialogDragsByItsTitleBarAndStaysInsideTheWindow) {
    GUIDialog* dialog = Make<GUIDialog>(100, 100, 200, 150, 1);
    dialog->SetTitle("Options");
    GUIButton* child = Make<GUIButton>(110, 130, 50, 20, 2, dialog);

    input.Down(150, 119);  // oy 19: below the title bar
    input.Move(170, 139);
    input.Up(170, 139);
    EXPECT_EQ(dialog->x, 100);

    input.Down(150, 118);  // oy 18: in the title bar
    input.Move(170, 128);
    EXPECT_EQ((std::vector<int>{dialog->x, dialog->y, child->x, child->y}), (std::vector<int>{120, 110, 130, 140}));
    input.Move(900, -50);  // towards the top-right corner
    EXPECT_EQ((std::vector<int>{dialog->x, dialog->y}), (std::vector<int>{600, 0}));
    input.Up(2000, 2000);  // released far outside: the drag ends
    input.Move(300, 300);
    EXPECT_EQ(dialog->x, 600);
}

TEST_F(ControlsTest, DialogWithoutTitleDragsFromAnywhereEvenThroughItsButtons) {
    GUIDialog* dialog = Make<GUIDialog>(100, 100, 200, 150, 1);
    Make<GUIButton>(110, 200, 50, 20, 2, dialog);
    input.Down(120, 210);
    input.Move(130, 220);
    EXPECT_EQ(dialog->x, 110);
    input.Up(130, 220);
}

TEST_F(ControlsTest, DialogResizesFromTheCornerOrTheBottomEdgeWithinItsLimits) {
    struct Case {
        const char* name;
        uint32_t flags;
        int pressX, pressY;  // offsets inside the 200 x 150 dialog
        int width, height;   // after moving the mouse 30 right and 40 down
    };
    const Case cases[] = {
        {"corner resizes the width only", GUIControl::kResizeWidth | GUIControl::kResizeHeight, 195, 145, 230, 150},
        {"bottom strip resizes the height only", GUIControl::kResizeWidth | GUIControl::kResizeHeight, 100, 145,
         200, 190},
        {"width capped at the maximum", GUIControl::kResizeWidth, 195, 145, 220, 150},
        {"no flag, no resize", 0, 195, 145, 200, 150},
    };
    for (const Case& c : cases) {
        GUIDialog* dialog = Make<GUIDialog>(100, 100, 200, 150, 1);
        dialog->SetTitle("Market");
        dialog->SetFlag(c.flags);
        dialog->SetSizeLimits(100, std::string(c.name).find("capped") != std::string::npos ? 220 : 400, 100, 400);
        input.Down(100 + c.pressX, 100 + c.pressY);
        input.Move(130 + c.pressX, 140 + c.pressY);
        input.Up(130 + c.pressX, 140 + c.pressY);
        EXPECT_EQ((std::vector<int>{dialog->width, dialog->height}), (std::vector<int>{c.width, c.height})) << c.name;
        gui().RemoveControl(dialog, true);
    }
}

TEST_F(ControlsTest, DialogDrawsItsTitleBarAndTheLightLineOnlyWhenTallEnough) {
    GUIDialog* dialog = Make<GUIDialog>(10, 20, 200, 19, 1);
    dialog->SetTitle("Trade");
    std::vector<std::string> frame = Frame();
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff222222, 10, 38, 200, 1)"));
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0x23000000, 12, 22, 196, 16)"));
    EXPECT_FALSE(Drew(frame, "RenderRectangle(0xff111111, 12, 39, 196, 1)"));
    dialog->height = 20;
    EXPECT_TRUE(Drew(Frame(), "RenderRectangle(0xff111111, 12, 39, 196, 1)"));
    const std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].color, 0xFFDCDCDCu);
}

}  // namespace
