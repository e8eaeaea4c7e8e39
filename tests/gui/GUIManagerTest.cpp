// The GUI manager: deferred deletion, menus, focus cycling, Enter, tooltips and
// the message box.
#include "engine/Font.h"
#include "engine/InputEvent.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"
#include "platform/Platform.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/DrawnText.h"

namespace {

class GUIManagerTest : public GuiTest {
protected:
    std::vector<DrawnText> Texts() {
        Frame();
        return VisibleTexts(log(), test.app->font->sheet);
    }
    bool Shows(const std::string& text) {
        for (const DrawnText& drawn : Texts())
            if (drawn.text == text)
                return true;
        return false;
    }
};

// A dialog module as every dialog of the program is written: it opens its
// dialog unless it is open, and closes it with DeleteLater.
struct Module {
    GUIManager* gui;
    int32_t id;
    GUIDialog* Open() {
        if (GUIDialog* open = dynamic_cast<GUIDialog*>(gui->FindControl(id)))
            return open;
        GUIDialog* dialog = new GUIDialog();
        dialog->SetRect(100, 100, 200, 150);
        dialog->id = id;
        gui->AddControl(dialog, true);
        return dialog;
    }
    void Close() { gui->DeleteLater(id); }
};

TEST_F(GUIManagerTest, ADialogClosedAndReopenedInOneFrameKeepsItsNewWindow) {
    Module module{&gui(), 30};
    GUIDialog* old = module.Open();
    module.Close();
    EXPECT_EQ(gui().FindControl(30), nullptr) << "a closed dialog is gone at once";
    GUIDialog* reopened = module.Open();
    EXPECT_NE(reopened, old);
    Frame();
    EXPECT_EQ(gui().FindControl(30), reopened);
    ASSERT_EQ(gui().root->children.size(), 1u);
}

TEST_F(GUIManagerTest, AMessageBoxRetitledInTheFrameItWasClosedShowsTheNewText) {
    gui().MessageBox("Connecting", "Connecting to the login server...");
    gui().DeleteLater(GUIManager::kMessageBoxId);
    gui().MessageBox("Error", "Connecting failed, error code #10061");
    EXPECT_TRUE(Shows("Connectingfailed,errorcode#10061"));
    EXPECT_FALSE(Shows("Connectingtotheloginserver..."));
    EXPECT_TRUE(Shows("Error"));
    ASSERT_NE(gui().FindControl(GUIManager::kMessageBoxId), nullptr);
}

TEST_F(GUIManagerTest, AnIdQueuedWhenNothingHadItDeletesNothingCreatedAfterwards) {
    gui().DeleteLater(50);
    Module module{&gui(), 50};
    GUIDialog* dialog = module.Open();
    Frame();
    EXPECT_EQ(gui().FindControl(50), dialog);
}

TEST_F(GUIManagerTest, TwoRequestsForOneIdDeleteTheFirstAndTheNextControlWithIt) {
    Make<GUIControl>(0, 0, 10, 10, 7);
    Make<GUIControl>(0, 0, 10, 10, 7);
    GUIControl* third = Make<GUIControl>(0, 0, 10, 10, 7);
    gui().DeleteLater(7);
    gui().DeleteLater(7);
    gui().DeleteLater(0);  // the root's id deletes nothing
    Frame();
    EXPECT_EQ(gui().FindControl(7), third);
    EXPECT_EQ(gui().root->children.size(), 1u);
}

TEST_F(GUIManagerTest, AClosedDialogIsNotDrawnAndItsControlsTakeNoInput) {
    GUIDialog* dialog = Make<GUIDialog>(0, 0, 300, 200, 60);
    GUITextbox* box = Make<GUITextbox>(10, 30, 200, 20, 61, dialog);
    int fired = 0;
    GUIButton* button = Make<GUIButton>(10, 60, 80, 20, 62, dialog);
    button->action = [](void* context) { ++*static_cast<int*>(context); };
    button->actionContext = &fired;
    gui().enterButtonId = 62;
    input.Click(20, 35);
    ASSERT_EQ(gui().focus, box);
    gui().DeleteLater(60);
    input.Type("abc\r");
    input.Click(20, 65);
    EXPECT_EQ(box->GetText(), "");
    EXPECT_EQ(fired, 0);
    log().Clear();
    gui().root->DrawTree();
    EXPECT_TRUE(log().calls.empty());
    Frame();
    EXPECT_EQ(gui().focus, nullptr);
}

TEST_F(GUIManagerTest, AControlMovedUnderTheRestingMouseHearsItAfterADeletion) {
    GUIButton* button = Make<GUIButton>(0, 0, 50, 50, 1);
    input.Move(100, 100);
    button->SetRect(80, 80, 50, 50);
    EXPECT_FALSE(button->pointerInside);
    Make<GUIControl>(0, 0, 1, 1, 2);
    gui().DeleteLater(2);
    Frame();
    EXPECT_TRUE(button->pointerInside);
}

// Menus -------------------------------------------------------------------

struct MenuOpener {
    GUIManager* gui;
    std::vector<int> chosen;
    GUIMenu* Open(int x, int y) {
        GUIMenu* menu = new GUIMenu();
        menu->SetRect(x, y, 150, 46);
        menu->AddItem(1, "Look");
        menu->AddItem(2, "Use");
        menu->selectCallback = [](int value, void* context) {
            MenuOpener* self = static_cast<MenuOpener*>(context);
            self->chosen.push_back(value);
            if (value == 2)
                self->Open(300, 300);  // a submenu, from inside the release
        };
        menu->callbackContext = this;
        gui->AddControl(menu, true);
        return menu;
    }
};

TEST_F(GUIManagerTest, AMenuOpenedFromASelectCallbackSurvivesThatReleaseAndTheNextClosesIt) {
    MenuOpener opener{&gui(), {}};
    GUIMenu* first = opener.Open(100, 100);
    input.Click(150, 130);  // second row: opens another menu while the first handles the release
    EXPECT_EQ(opener.chosen, (std::vector<int>{2}));
    ASSERT_NE(gui().openMenu, nullptr);
    EXPECT_NE(gui().openMenu, first);
    EXPECT_EQ(gui().root->children.size(), 1u);
    input.Click(10, 10);
    EXPECT_EQ(gui().openMenu, nullptr);
    EXPECT_TRUE(gui().root->children.empty());
}

TEST_F(GUIManagerTest, AddingASecondMenuOutsideADispatchDeletesTheFirstAtOnce) {
    MenuOpener opener{&gui(), {}};
    opener.Open(100, 100);
    GUIMenu* second = opener.Open(200, 200);
    EXPECT_EQ(gui().openMenu, second);
    EXPECT_EQ(gui().root->children.size(), 1u);
}

TEST_F(GUIManagerTest, AMenuDeletedByDeferredDeletionIsNoLongerTheOpenMenu) {
    MenuOpener opener{&gui(), {}};
    GUIDialog* panel = Make<GUIDialog>(0, 0, 400, 400, 70);
    GUIMenu* menu = new GUIMenu();
    menu->SetRect(10, 10, 150, 46);
    menu->id = 71;
    gui().AddControl(menu, true);
    gui().RemoveControl(menu, false);
    panel->AddChild(menu, true);  // a menu that lives inside a closing subtree
    gui().openMenu = menu;
    gui().DeleteLater(70);
    Frame();
    EXPECT_EQ(gui().openMenu, nullptr);
    input.Click(500, 500);  // would delete the menu a second time
    EXPECT_TRUE(gui().root->children.empty());

    opener.Open(100, 100);
    gui().openMenu->id = 72;
    gui().DeleteLater(72);
    Frame();
    EXPECT_EQ(gui().openMenu, nullptr);
    input.Click(500, 500);
}

// Keyboard ----------------------------------------------------------------

TEST_F(GUIManagerTest, TabCyclesThroughVisibleTextBoxes) {
    GUIDialog* dialog = Make<GUIDialog>(0, 0, 300, 300, 1);
    GUITextbox* a = Make<GUITextbox>(10, 30, 100, 20, 2, dialog);
    GUITextbox* hidden = Make<GUITextbox>(10, 60, 100, 20, 3, dialog);
    GUITextbox* b = Make<GUITextbox>(10, 90, 100, 20, 4, dialog);
    hidden->SetFlag(GUIControl::kHidden);

    const std::vector<GUIControl*> expected = {a, b, dialog, a, b};
    for (GUIControl* next : expected) {
        input.Char('\t');
        EXPECT_EQ(gui().focus, next);
    }
}

TEST_F(GUIManagerTest, TabWithoutAVisibleTextBoxMovesTheFocusToTheFirstTopLevelControl) {
    // An empty tree keeps the focus as it is.
    input.Char('\t');
    EXPECT_EQ(gui().focus, nullptr);

    GUIControl* plain = Make<GUIControl>(0, 0, 10, 10, 1);
    GUITextbox* hidden = Make<GUITextbox>(0, 0, 10, 10, 2);
    hidden->SetFlag(GUIControl::kHidden);
    for (GUIControl* before : {static_cast<GUIControl*>(hidden), static_cast<GUIControl*>(nullptr), plain}) {
        gui().focus = before;
        input.Char('\t');
        EXPECT_EQ(gui().focus, plain);
    }
    // Typing then goes nowhere.
    input.Char('x');
    EXPECT_TRUE(hidden->GetText().empty());
}

struct Presses {
    int box = 0;
    int dialog = 0;
};

TEST_F(GUIManagerTest, EnterPressesTheMessageBoxButtonOrTheDefaultButtonOnlyWhenEnabled) {
    Presses presses;
    GUIDialog* dialog = Make<GUIDialog>(0, 0, 300, 300, 1);
    GUIButton* ok = Make<GUIButton>(10, 30, 80, 20, 80, dialog);
    ok->action = [](void* context) { ++static_cast<Presses*>(context)->dialog; };
    ok->actionContext = &presses;
    GUITextbox* notes = Make<GUITextbox>(10, 60, 200, 100, 81, dialog);
    notes->SetFlag(GUIControl::kMultiLine);
    gui().enterButtonId = 80;

    input.Char('\r');
    EXPECT_EQ(presses.dialog, 1);

    ok->SetFlag(GUIControl::kDisabled);
    input.Char('\r');
    EXPECT_EQ(presses.dialog, 1) << "a disabled default button is not pressed by Enter";
    ok->ClearFlag(GUIControl::kDisabled);

    // The "Connecting" box: its button disabled, Enter must not close it.
    gui().MessageBox("Connecting", "Connecting to the game world...");
    gui().FindControl(GUIManager::kMessageButtonId)->SetFlag(GUIControl::kDisabled);
    input.Char('\r');
    Frame();
    EXPECT_NE(gui().FindControl(GUIManager::kMessageBoxId), nullptr);
    EXPECT_EQ(presses.dialog, 1) << "with the message box open, Enter never reaches the default button";

    // A refreshed box enables its button: Enter closes it and still reaches the
    // focused text box.
    gui().MessageBox("Error", "Connection lost.");
    gui().focus = notes;
    input.Char('\r');
    Frame();
    EXPECT_EQ(gui().FindControl(GUIManager::kMessageBoxId), nullptr);
    EXPECT_EQ(notes->GetText(), "\n");
    EXPECT_EQ(presses.dialog, 1);
}

// One input, one owner ------------------------------------------------------

// What the window procedure queued, in order.
std::vector<InputEvent> Drain(KEngine2& app) {
    std::vector<InputEvent> events;
    while (app.HasEvents())
        events.push_back(app.PopEvent());
    return events;
}

TEST_F(GUIManagerTest, AClickAndAKeyAreOneInputEachForTheScreens) {
    input.Click(10, 10);
    input.Char('a');
    input.Move(20, 20);
    const std::vector<InputEvent> events = Drain(*test.app);
    ASSERT_EQ(events.size(), 7u);  // move, press, release; key-down, character, key-up; move
    EXPECT_EQ(events[1].type, InputEvent::LeftDown);
    EXPECT_EQ(events[1].input, events[2].input) << "the release belongs to the press";
    EXPECT_NE(events[0].input, events[1].input);
    EXPECT_EQ(events[3].input, events[4].input) << "the character belongs to its key-down";
    EXPECT_NE(events[3].input, events[1].input);
    EXPECT_NE(events[5].input, events[3].input);
    EXPECT_NE(events[6].input, events[5].input);
    for (const InputEvent& event : events)
        EXPECT_NE(event.input, 0u);
}

TEST_F(GUIManagerTest, ADialogAClickClosedStillCoversItsRectangleWhileThatClickIsHandled) {
    Module module{&gui(), 30};
    GUIDialog* dialog = module.Open();  // 100, 100, 200 x 150
    GUIButton* close = Make<GUIButton>(150, 200, 80, 20, 31, dialog);
    close->action = [](void* context) { static_cast<Module*>(context)->Close(); };
    close->actionContext = &module;
    Make<GUIDialog>(250, 120, 100, 50, 40);  // another dialog over its right edge
    Frame();
    input.Move(0, 0);
    input.Click(160, 210);
    ASSERT_EQ(gui().FindControl(30), nullptr) << "the click closed the dialog";
    const std::vector<InputEvent> events = Drain(*test.app);
    const uint32_t click = events[2].input;
    ASSERT_EQ(events[2].type, InputEvent::LeftDown);

    EXPECT_EQ(gui().ControlAt(160, 210), nullptr) << "outside the click's handling it is gone";
    gui().BeginEvent(click);
    EXPECT_EQ(gui().ControlAt(160, 210), dialog);
    EXPECT_EQ(gui().ControlAt(120, 110), dialog);
    EXPECT_EQ(gui().ControlAt(260, 130), gui().FindControl(40)) << "what lies above it stays above";
    EXPECT_EQ(gui().ControlAt(90, 90), nullptr);
    EXPECT_EQ(gui().FindControl(30), nullptr) << "found by nobody";
    EXPECT_FALSE(gui().InputSpent()) << "a click spends no key";
    gui().EndEvent();
    gui().BeginEvent(events[0].input);  // the move before the click
    EXPECT_EQ(gui().ControlAt(160, 210), nullptr);
    gui().EndEvent();

    Frame();  // deleted now
    gui().BeginEvent(click);
    EXPECT_EQ(gui().ControlAt(160, 210), nullptr);
    gui().EndEvent();
}

TEST_F(GUIManagerTest, TheKeyThatPressedTheEnterButtonIsSpent) {
    Module module{&gui(), 30};
    GUIDialog* dialog = module.Open();
    GUIButton* ok = Make<GUIButton>(150, 200, 80, 20, 31, dialog);
    ok->action = [](void* context) { static_cast<Module*>(context)->Close(); };
    ok->actionContext = &module;
    gui().enterButtonId = 31;
    input.Char('x');
    input.Char('\r');
    input.Char('\r');  // no button any more
    const std::vector<InputEvent> events = Drain(*test.app);
    ASSERT_EQ(events.size(), 9u);
    const auto spent = [&](const InputEvent& event) {
        gui().BeginEvent(event.input);
        const bool result = gui().InputSpent();
        gui().EndEvent();
        return result;
    };
    EXPECT_FALSE(spent(events[0]));
    EXPECT_TRUE(spent(events[3])) << "the key-down of the Enter that pressed OK";
    EXPECT_TRUE(spent(events[4]));
    EXPECT_FALSE(spent(events[6]));
    EXPECT_FALSE(gui().InputSpent()) << "outside any event";
    Frame();
    EXPECT_FALSE(spent(events[3])) << "kept until the next update only";
}

// Tooltips ----------------------------------------------------------------

TEST_F(GUIManagerTest, TooltipShowsAfterARestOfMoreThan300Ms) {
    gui().AddTooltip(1, 100, 100, 50, 50, {"Backpack"});
    input.Move(120, 120);
    test.platform.clock.Advance(300);
    EXPECT_FALSE(Shows("Backpack"));
    test.platform.clock.Advance(1);
    EXPECT_TRUE(Shows("Backpack"));
    input.Move(124, 116);  // 4 pixels off: it stays
    EXPECT_TRUE(Shows("Backpack"));
    input.Move(125, 120);  // 5 pixels: dismissed
    gui().AddTooltip(2, 120, 100, 50, 50, {"Bag"});
    gui().RemoveTooltip(1);
    test.platform.clock.Advance(1);
    EXPECT_TRUE(Shows("Bag")) << "after a dismissal the next tooltip needs no rest";
}

TEST_F(GUIManagerTest, TooltipBoxIsKeptInsideTheWindow) {
    const int wide = test.app->font->GetTextWidth("A long line of tooltip text here");
    gui().AddTooltip(1, 0, 0, 800, 600, {"A long line of tooltip text here", "two"});
    gui().root->darkColor = 0xFF000030;
    input.Move(790, 10);
    test.platform.clock.Advance(301);
    const std::vector<std::string> frame = Frame();
    const int w = wide + 10;
    const int x = 800 - w - 5;
    ASSERT_FALSE(frame.empty());
    // Clamped to the top, shifted left to end 5 px inside the right edge.
    EXPECT_EQ(frame[0], "RenderRectangle(0xdc000000, " + std::to_string(x) + ", 0, " + std::to_string(w) + ", 1)");
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xdc313131, " + std::to_string(x + 1) + ", 1, " +
                                std::to_string(w - 2) + ", 38)"));
}

// Message box -------------------------------------------------------------

TEST_F(GUIManagerTest, MessageBoxIsCentredAndItsCloseButtonClosesIt) {
    gui().MessageBox("Error", "Hi");
    GUIControl* dialog = gui().FindControl(GUIManager::kMessageBoxId);
    GUIControl* text = gui().FindControl(GUIManager::kMessageTextId);
    GUIControl* button = gui().FindControl(GUIManager::kMessageButtonId);
    ASSERT_TRUE(dialog && text && button);
    EXPECT_EQ((std::vector<int>{dialog->x, dialog->y, dialog->width, dialog->height}),
              (std::vector<int>{265, 200, 270, 100}));
    const int w = test.app->font->GetTextWidth("Hi");
    EXPECT_EQ(text->x, 400 - w / 2);
    EXPECT_EQ(text->y, 235);
    EXPECT_EQ((std::vector<int>{button->x, button->y}), (std::vector<int>{350, 265}));
    EXPECT_TRUE(Drew(Frame(), "RenderRectangle(0xff222222, 275, 228, 250, 1)")) << "the sunken panel";

    dialog->MoveBy(-100, 0);
    gui().MessageBox("Error", "Longer text");
    EXPECT_EQ(text->x, 165 + 135 - test.app->font->GetTextWidth("Longer text") / 2);
    EXPECT_EQ(gui().root->children.size(), 1u);

    input.Click(button->x + 5, button->y + 5);
    Frame();
    EXPECT_EQ(gui().FindControl(GUIManager::kMessageBoxId), nullptr);
}

}  // namespace
