// The selector: stepping with wrap-around, the change callback and its bar.
#include "engine/Font.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUISelector.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/DrawnText.h"

namespace {

class GUISelectorTest : public GuiTest {
protected:
    GUISelector* Selector(const std::vector<std::string>& items) {
        GUISelector* selector = Make<GUISelector>(100, 100, 320, 25, 1);
        selector->SetLabel("Skin");
        selector->SetItems(items);
        selector->changeCallback = [](int index, void* context) {
            static_cast<std::vector<int>*>(context)->push_back(index);
        };
        selector->callbackContext = &reported;
        Frame();  // makes the buttons
        return selector;
    }
    void Previous() { input.Click(105, 110); }
    void Next() { input.Click(100 + 320 - 20, 110); }
    std::string Shown() {
        Frame();
        for (const DrawnText& text : VisibleTexts(log(), test.app->font->sheet))
            return text.text;
        return std::string();
    }
    std::vector<int> reported;
};

TEST_F(GUISelectorTest, ArrowsStepAndWrapRoundReportingEachIndex) {
    GUISelector* selector = Selector({"Blue", "Green", "Red"});
    ASSERT_EQ(selector->children.size(), 2u);
    GUIButton* previous = dynamic_cast<GUIButton*>(selector->children[0]);
    GUIButton* next = dynamic_cast<GUIButton*>(selector->children[1]);
    ASSERT_TRUE(previous && next);
    EXPECT_EQ((std::vector<int>{previous->x, previous->y, previous->width, previous->height, previous->icon}),
              (std::vector<int>{101, 101, 23, 23, 8}));
    EXPECT_EQ((std::vector<int>{next->x, next->icon}), (std::vector<int>{396, 9}));

    selector->SetSelected(2);
    EXPECT_TRUE(reported.empty()) << "setting the choice reports nothing";
    Next();
    Previous();
    Previous();
    EXPECT_EQ(reported, (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(selector->currentText, "Green");
    EXPECT_EQ(Shown(), "Skin:Green");
}

TEST_F(GUISelectorTest, AnEmptyListOrAnIndexOutOfRangeShowsOnlyTheLabel) {
    GUISelector* selector = Selector({});
    Next();
    Previous();
    EXPECT_EQ(reported, (std::vector<int>{0, 0}));
    EXPECT_EQ(Shown(), "Skin:");
    selector->SetItems({"One", "Two"});
    selector->SetSelected(2);
    EXPECT_EQ(selector->selectedIndex, 0);
    EXPECT_EQ(Shown(), "Skin:");
}

TEST_F(GUISelectorTest, WhiteTextIsOutlinedAndOpaqueBlackIsNot) {
    GUISelector* selector = Selector({"A"});
    selector->textColor = 0xFFFFFFFF;
    Frame();
    EXPECT_EQ(DrawnTexts(log(), test.app->font->sheet).size(), 5u);
    selector->textColor = 0xFF000000;
    Frame();
    const std::vector<DrawnText> texts = DrawnTexts(log(), test.app->font->sheet);
    ASSERT_EQ(texts.size(), 1u);
    const int w = test.app->font->GetTextWidth("Skin: A");
    EXPECT_EQ(texts[0].x, float(100 + 160 - w / 2));
    EXPECT_EQ(texts[0].y, float(100 + 12 - 7));
}

}  // namespace
