// Tab groups: layout, scroll buttons, dragging to reorder, removal.
#include "engine/Font.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/DrawnText.h"

namespace {

class GUITabgroupTest : public GuiTest {
protected:
    GUITabgroup* Group(int w, int tabs) {
        GUITabgroup* group = Make<GUITabgroup>(10, 10, w, 20, 1);
        for (int i = 0; i < tabs; ++i)
            AddTab(group, "Tab" + std::to_string(i));
        Frame();
        return group;
    }
    GUITab* AddTab(GUITabgroup* group, const std::string& caption) {
        GUITab* tab = new GUITab();
        tab->caption = caption;
        tab->id = 100 + int(group->GetTabs().size());
        tab->clickCallback = [](void* context, int, int) {
            static_cast<std::vector<std::string>*>(context)->push_back("clicked");
        };
        tab->clickContext = &clicks;
        group->AddTab(tab);
        return tab;
    }
    std::vector<std::string> Order(GUITabgroup* group) {
        std::vector<std::string> order;
        for (GUITab* tab : group->GetTabs())
            order.push_back(tab->caption + (tab->HasFlag(GUIControl::kHidden) ? "-" : ""));
        return order;
    }
    std::vector<std::string> clicks;
};

TEST_F(GUITabgroupTest, TabsThatFitExactlyNeedNoScrollButtonsAndOneMoreMakesThem) {
    GUITabgroup* group = Group(302, 3);
    EXPECT_FALSE(group->scrollButtons);
    EXPECT_EQ(group->GetTabs()[0]->x, 11);
    EXPECT_EQ(group->GetTabs()[2]->x, 211);
    AddTab(group, "Tab3");
    EXPECT_TRUE(group->scrollButtons);
    ASSERT_NE(group->leftButton, nullptr);
    EXPECT_EQ(group->leftButton->icon, 8);
    EXPECT_EQ(group->rightButton->icon, 9);
    EXPECT_EQ(group->rightButton->x, 10 + 302 - 16);
    Frame();
    // With the buttons, tabs start at 16 and end before w - 16.
    EXPECT_EQ(Order(group), (std::vector<std::string>{"Tab0", "Tab1", "Tab2-", "Tab3-"}));
    EXPECT_EQ(group->GetTabs()[0]->x, 26);
}

TEST_F(GUITabgroupTest, ScrollButtonsShiftTheFirstShownTabAndStopAtTheLast) {
    GUITabgroup* group = Group(302, 5);
    for (int i = 0; i < 7; ++i) {
        input.Click(group->rightButton->x + 5, 20);
        Frame();
    }
    EXPECT_EQ(group->firstVisibleTab, 4);
    EXPECT_EQ(Order(group), (std::vector<std::string>{"Tab0-", "Tab1-", "Tab2-", "Tab3-", "Tab4"}));
    EXPECT_EQ(group->GetTabs()[4]->x, 26);
    input.Click(group->leftButton->x + 5, 20);
    Frame();
    EXPECT_EQ(Order(group), (std::vector<std::string>{"Tab0-", "Tab1-", "Tab2-", "Tab3", "Tab4"}));
    EXPECT_TRUE(clicks.empty()) << "pressing the scroll buttons presses no tab";
}

TEST_F(GUITabgroupTest, PressingATabMakesItActiveBeforeItsCallbackAndTheStripBesideChangesNothing) {
    GUITabgroup* group = Group(400, 3);
    GUITab* second = group->GetTabs()[1];
    input.Click(second->x + 10, 20);
    EXPECT_EQ(group->activeTab, second);
    EXPECT_TRUE(second->active);
    EXPECT_FALSE(group->GetTabs()[0]->active);
    EXPECT_EQ(clicks.size(), 1u);
    input.Click(380, 20);  // right of every tab
    EXPECT_EQ(group->activeTab, second);
    EXPECT_EQ(Order(group), (std::vector<std::string>{"Tab0", "Tab1", "Tab2"}));
}

TEST_F(GUITabgroupTest, ATabDraggedPastItsNeighboursMiddleSwapsAndSnapsIntoItsSlot) {
    GUITabgroup* group = Group(400, 3);
    GUITab* first = group->GetTabs()[0];
    input.Down(20, 20);  // grab offset 9
    input.Move(20 + 149, 20);
    Frame();
    EXPECT_EQ(first->x, 160) << "the dragged tab follows the pointer";
    EXPECT_EQ(Order(group), (std::vector<std::string>{"Tab0", "Tab1", "Tab2"})) << "not yet at the middle";
    input.Move(20 + 150, 20);
    Frame();
    EXPECT_EQ(Order(group), (std::vector<std::string>{"Tab1", "Tab0", "Tab2"}));
    EXPECT_EQ(group->GetTabs()[0]->x, 11);
    input.Move(1000, 20);  // stopped at the right end of the strip
    EXPECT_EQ(first->x + first->width, 10 + 400 - 1);
    input.Up(1000, 20);
    Frame();
    EXPECT_EQ(Order(group), (std::vector<std::string>{"Tab1", "Tab2", "Tab0"}));
    EXPECT_EQ(first->x, 211);
}

TEST_F(GUITabgroupTest, RemovingTheActiveTabLeavesNoneAndRemovingEnoughDropsTheButtons) {
    GUITabgroup* group = Group(302, 4);
    group->firstVisibleTab = 2;
    GUITab* active = group->activeTab;
    ASSERT_EQ(active, group->GetTabs()[0]);
    group->RemoveTab(active);
    EXPECT_EQ(group->activeTab, nullptr);
    EXPECT_FALSE(group->scrollButtons);
    EXPECT_EQ(group->firstVisibleTab, 0);
    EXPECT_EQ(group->children.size(), 3u);
    Frame();
    for (GUITab* tab : group->GetTabs())
        EXPECT_FALSE(tab->active);

    GUITabgroup* always = Make<GUITabgroup>(10, 50, 400, 20, 2);
    always->SetAlwaysScroll(true);
    AddTab(always, "Default");
    EXPECT_TRUE(always->scrollButtons);
    always->RemoveTab(always->GetTabs()[0]);
    EXPECT_TRUE(always->scrollButtons);
}

TEST_F(GUITabgroupTest, CaptionsThatDoNotFitEndInDots) {
    GUITabgroup* group = Make<GUITabgroup>(10, 10, 400, 20, 1);
    group->SetTabWidth(60);
    AddTab(group, "Go");
    AddTab(group, "Guild members");
    GUITabgroup* narrow = Make<GUITabgroup>(10, 50, 400, 20, 2);
    narrow->SetTabWidth(14);
    AddTab(narrow, "X");
    Frame();
    const std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "Go");
    EXPECT_EQ(texts[1].text.substr(texts[1].text.size() - 3), "...");
    EXPECT_LT(test.app->font->GetTextWidth(texts[1].text) - test.app->font->GetTextWidth("..."), 60 - 14);
    EXPECT_EQ(texts[2].text, "...");
}

TEST_F(GUITabgroupTest, TheActiveTabIsDrawnSunken) {
    GUITabgroup* group = Group(400, 2);
    const std::vector<std::string> frame = Frame();
    // Group strip sunken, active tab sunken, the other raised.
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff222222, 10, 10, 400, 1)"));
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff222222, 11, 11, 100, 1)"));
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff111111, 111, 11, 100, 1)"));
    (void)group;
}

}  // namespace
