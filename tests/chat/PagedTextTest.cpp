// The book of a paged server text, and the shared confirmation box.
#include "tests/chat/ChatFixture.h"

#include <algorithm>

#include "engine/Font.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "game/ConfirmDialog.h"
#include "game/PagedTextWindow.h"
#include "tests/support/DrawnText.h"
#include "world/Map.h"

namespace {

class BookTest : public ChatTest {
protected:
    BookTest() : book(client->app, &map) {
        map.viewX = 4;
        map.viewY = 4;
        map.tileWidth = 32;
        map.tileHeight = 32;
        // The book's centre: the middle of the 17 x 13 field.
        cx = 4 + 17 * 32 / 2;
        cy = 4 + 13 * 32 / 2;
    }
    ~BookTest() override { book.Reset(); }
    GUITextbox* Box(int32_t id) { return dynamic_cast<GUITextbox*>(gui().FindControl(id)); }
    std::string Left() { return Box(PagedTextWindow::kLeftBoxId)->GetText(); }
    std::string Right() { return Box(PagedTextWindow::kRightBoxId)->GetText(); }
    // The two labels of the last frame.
    std::vector<std::string> Labels() {
        RecordingEngine& engine = *static_cast<RecordingEngine*>(client->app->engine);
        engine.Clear();
        book.Draw();
        std::vector<std::string> texts;
        for (const DrawnText& text : VisibleTexts(engine, client->app->font->sheet))
            texts.push_back(text.text);
        return texts;
    }
    void Forward() { EXPECT_TRUE(book.OnMouse(cx + 100, cy + 120)); }
    void Back() { EXPECT_TRUE(book.OnMouse(cx - 100, cy + 120)); }

    Map map;
    PagedTextWindow book;
    int cx = 0;
    int cy = 0;
};

TEST_F(BookTest, TheBoxesWaitHiddenUntilATextComes) {
    for (int32_t id : {PagedTextWindow::kLeftBoxId, PagedTextWindow::kRightBoxId}) {
        GUITextbox* box = Box(id);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->HasFlag(GUIControl::kHidden | GUIControl::kMultiLine | GUIControl::kReadOnly));
        EXPECT_EQ(box->textColor, PagedTextWindow::kPageTextColor);
        // Over every other control.
        EXPECT_EQ(gui().root->children.back()->id, PagedTextWindow::kRightBoxId);
    }
    EXPECT_FALSE(book.open);
    EXPECT_FALSE(book.OnMouse(0, 0));
}

TEST_F(BookTest, ATextWithoutSeparatorsFillsTheLeftPageOnly) {
    book.Show("Only one page.");
    EXPECT_TRUE(book.open);
    EXPECT_EQ(Left(), "Only one page.");
    EXPECT_EQ(Right(), "");
    EXPECT_FALSE(Box(PagedTextWindow::kLeftBoxId)->HasFlag(GUIControl::kHidden));
    book.Draw();
    EXPECT_EQ(Box(PagedTextWindow::kLeftBoxId)->x, cx - 230);
    EXPECT_EQ(Box(PagedTextWindow::kRightBoxId)->x, cx + 10);
    EXPECT_EQ(Box(PagedTextWindow::kRightBoxId)->width, 210);
    EXPECT_EQ(Box(PagedTextWindow::kRightBoxId)->height, 230);
}

TEST_F(BookTest, PagesTurnTwoAtATimeAndBackStopsAtTheFirstSpread) {
    book.Show("one|two|three");
    EXPECT_EQ(Left(), "one");
    EXPECT_EQ(Right(), "two");
    Back();
    EXPECT_EQ(book.pageIndex, 0);
    EXPECT_EQ(Left(), "one");
    Forward();
    EXPECT_EQ(Left(), "three");
    EXPECT_EQ(Right(), "");
    Forward();
    EXPECT_EQ(book.pageIndex, 4);
    EXPECT_EQ(Left(), "");
    EXPECT_EQ(Right(), "");
    Back();
    Back();
    EXPECT_EQ(Left(), "one");
    EXPECT_EQ(Right(), "two");
}

TEST_F(BookTest, PressesOnTheBookAreTakenAndOneOutsideClosesIt) {
    book.Show("one|two|three");
    const struct {
        int x, y;
        int index;  // after the press
        bool open;
    } presses[] = {
        {cx + 20, cy + 105, 2, true},   // forward: right of cx + 19, below cy + 104
        {cx + 19, cy + 105, 2, true},   // the gap between the labels
        {cx - 25, cy + 150, 0, true},   // back
        {cx - 24, cy + 120, 0, true},   // the gap again
        {cx + 250, cy + 150, 2, true},  // forward at the corner
        {cx, cy + 104, 2, true},        // above the label row: the book
        {cx - 250, cy - 150, 2, true},  // the book's corner
        {cx + 251, cy, 2, false},       // outside: closes, and is taken too
    };
    for (const auto& p : presses) {
        EXPECT_TRUE(book.OnMouse(p.x, p.y)) << p.x - cx << "," << p.y - cy;
        EXPECT_EQ(book.pageIndex, p.index) << p.x - cx << "," << p.y - cy;
        EXPECT_EQ(book.open, p.open) << p.x - cx << "," << p.y - cy;
    }
    EXPECT_TRUE(Box(PagedTextWindow::kLeftBoxId)->HasFlag(GUIControl::kHidden));
    EXPECT_EQ(Box(PagedTextWindow::kLeftBoxId)->width, 0);
    // Closed, it takes nothing more and draws nothing.
    EXPECT_FALSE(book.OnMouse(cx, cy));
    EXPECT_TRUE(Labels().empty());
    // A new text starts again at the first spread.
    book.Show("a|b|c|d|e");
    EXPECT_EQ(book.pageIndex, 0);
    EXPECT_EQ(Left(), "a");
}

TEST_F(BookTest, TheLabelsNumberTheSpreadWhateverThePages) {
    book.Show("only");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"<Page1", "Page2>"}));
    Forward();
    Forward();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"<Page5", "Page6>"}));
}

TEST_F(BookTest, ThePlayersStepClosesTheBook) {
    book.Show("one|two");
    book.Hide();
    EXPECT_FALSE(book.open);
    EXPECT_TRUE(Box(PagedTextWindow::kRightBoxId)->HasFlag(GUIControl::kHidden));
    // The pages stay until the next text.
    EXPECT_EQ(book.pages.size(), 2u);
}

TEST_F(BookTest, ResetHandsTheBoxesToTheManager) {
    book.Show("one");
    book.Reset();
    EXPECT_EQ(Box(PagedTextWindow::kLeftBoxId), nullptr);
    EXPECT_EQ(Box(PagedTextWindow::kRightBoxId), nullptr);
    EXPECT_TRUE(book.pages.empty());
    gui().Update();
    book.Draw();
    EXPECT_FALSE(book.OnMouse(cx, cy));
}

// --- the confirmation box ---

int actionCalls = 0;
void* actionContext = nullptr;
void Action(void* context) {
    ++actionCalls;
    actionContext = context;
}
int otherCalls = 0;
void OtherAction(void*) { ++otherCalls; }

class ConfirmTest : public ChatTest {
protected:
    ConfirmTest() {
        actionCalls = otherCalls = 0;
        actionContext = nullptr;
        input = new GUITextbox();
        input->id = ChatLog::kChatInputId;
        gui().AddControl(input, true);
    }
    ~ConfirmTest() override {
        ConfirmDialog::Instance()->Close();
        gui().Update();
    }
    GUIDialog* Box() { return dynamic_cast<GUIDialog*>(gui().FindControl(ConfirmDialog::kDialogId)); }
    GUIButton* Button(const std::string& caption) {
        for (GUIControl* child : Box()->children)
            if (GUIButton* button = dynamic_cast<GUIButton*>(child))
                if (button->caption == caption)
                    return button;
        return nullptr;
    }
    void Click(GUIButton* button) { button->action(button->actionContext); }

    GUITextbox* input = nullptr;
};

TEST_F(ConfirmTest, OkRunsTheActionAndGivesTheFocusToTheChatInput) {
    int context = 0;
    ConfirmDialog::Instance()->Show("Reset Talents", "Are you sure?\nReally?", &Action, &context);
    GUIDialog* box = Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title, "Reset Talents");
    EXPECT_EQ(box->x, 500 - 140);
    EXPECT_EQ(box->y, 350 - 67);
    EXPECT_EQ(box->width, 280);
    EXPECT_EQ(box->height, 135);
    EXPECT_EQ(gui().root->children.back(), box);
    ASSERT_NE(Button("OK"), nullptr);
    EXPECT_EQ(Button("OK")->x, 500 - 108);
    EXPECT_EQ(Button("Cancel")->x, 500 + 13);
    gui().focus = nullptr;
    Click(Button("OK"));
    EXPECT_EQ(actionCalls, 1);
    EXPECT_EQ(actionContext, &context);
    EXPECT_EQ(Box(), nullptr);
    EXPECT_EQ(gui().focus, input);
}

TEST_F(ConfirmTest, CancelOnlyClosesAndOkWithoutAnActionDoesNothingElse) {
    ConfirmDialog::Instance()->Show("Kick Member", "Kick?", &Action, nullptr);
    gui().focus = nullptr;
    Click(Button("Cancel"));
    EXPECT_EQ(actionCalls, 0);
    EXPECT_EQ(Box(), nullptr);
    EXPECT_EQ(gui().focus, input);
    gui().Update();

    ConfirmDialog::Instance()->Show("Warning!", "text", nullptr, nullptr);
    Click(Button("OK"));
    EXPECT_EQ(Box(), nullptr);
    EXPECT_EQ(actionCalls, 0);
}

TEST_F(ConfirmTest, ASecondShowKeepsTheBoxAndRunsTheNewAction) {
    ConfirmDialog::Instance()->Show("Cancel War", "first text", &Action, nullptr);
    GUIDialog* first = Box();
    first->MoveBy(-30, 12);  // the player dragged it
    ConfirmDialog::Instance()->Show("Accept War", "second text", &OtherAction, nullptr);
    EXPECT_EQ(Box(), first);
    EXPECT_EQ(first->title, "Cancel War");
    EXPECT_EQ(first->x, 500 - 140 - 30);

    RecordingEngine& engine = *static_cast<RecordingEngine*>(client->app->engine);
    engine.Clear();
    gui().Update();
    std::vector<std::string> drawn;
    for (const DrawnText& text : VisibleTexts(engine, client->app->font->sheet))
        drawn.push_back(text.text);
    // Blanks draw no glyph.
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "secondtext"), drawn.end());
    EXPECT_EQ(std::find(drawn.begin(), drawn.end(), "firsttext"), drawn.end());

    Click(Button("OK"));
    EXPECT_EQ(otherCalls, 1);
    EXPECT_EQ(actionCalls, 0);
}

TEST_F(ConfirmTest, ClosingForgetsTheActionOfAGameScreenThatGoes) {
    int context = 0;
    ConfirmDialog& dialog = *ConfirmDialog::Instance();
    dialog.Show("Warning!", "text", &Action, &context);
    dialog.Close();
    EXPECT_EQ(Box(), nullptr);
    EXPECT_EQ(dialog.action, nullptr);
    EXPECT_EQ(dialog.actionContext, nullptr);
    EXPECT_EQ(gui().focus, input);
    // An OK still on its way (the same frame) runs nothing freed.
    ConfirmDialog::OnOk(&dialog);
    EXPECT_EQ(actionCalls, 0);
}

}  // namespace
