// A small Windows program for the GUI smoke test: the main window of the
// application object with a dialog holding one control of each kind. It does
// not depend on drawing (the back end may be missing); it reports what happens
// to its controls as lines on standard output, which driver.py reads:
//   ready <client left> <client top>   the window is up; its client area's
//                                       screen position, for the mouse
//   control <id> <x> <y> <w> <h>       where each control lies (client pixels)
//   button <caption>                   a button's action fired
//   text <id> <text>                   a text box's text changed
//   focus <id>                         the focused control changed
//   list <selected> <scroll>           the select list changed
//   checkbox <0|1>, tab <caption>, table <row>, selector <index>, menu <value>
// A right click opens a context menu at the mouse, as the game screen does.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/InputEvent.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUISelector.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITable.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"
#include "platform/Platform.h"
#include "platform/Win32.h"

namespace {

enum : int32_t {
    kDialog = 1,
    kPress = 10,
    kFirstBox = 11,
    kSecondBox = 12,
    kCheckbox = 13,
    kList = 14,
    kTabs = 15,
    kTable = 16,
    kSelector = 17,
    kQuit = 18,
    kLabel = 20,
    kLine = 21,
    kMenu = 30,
};

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

struct Smoke {
    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;

    template <class T>
    T* Add(GUIControl* parent, int32_t id, int x, int y, int w, int h) {
        T* control = new T();
        control->SetRect(x, y, w, h);
        control->id = id;
        parent->AddChild(control, true);
        Say("control " + std::to_string(id) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
            std::to_string(w) + " " + std::to_string(h));
        return control;
    }

    static void Pressed(void* context) {
        GUIButton* button = static_cast<GUIButton*>(context);
        Say("button " + button->caption);
    }
    static void Quit(void* context) { static_cast<Smoke*>(context)->app->running = false; }
    static void TabClicked(void* context, int, int) { Say("tab " + static_cast<GUITab*>(context)->caption); }
    static void SelectorChanged(int index, void*) { Say("selector " + std::to_string(index)); }
    static void MenuChosen(int value, void*) { Say("menu " + std::to_string(value)); }

    void Build() {
        GUIDialog* dialog = new GUIDialog();
        dialog->SetRect(20, 20, 600, 440);
        dialog->SetTitle("Smoke");
        dialog->id = kDialog;
        gui->AddControl(dialog, true);
        const int ox = dialog->x;
        const int oy = dialog->y;

        GUIButton* press = Add<GUIButton>(dialog, kPress, ox + 20, oy + 30, 100, 25);
        press->SetCaption("Press");
        press->action = &Pressed;
        press->actionContext = press;
        GUIButton* quit = Add<GUIButton>(dialog, kQuit, ox + 480, oy + 30, 100, 25);
        quit->SetCaption("Quit");
        quit->action = &Quit;
        quit->actionContext = this;

        Add<GUIText>(dialog, kLabel, ox + 20, oy + 70, 0, 0)->SetText("Name:");
        Add<GUITextbox>(dialog, kFirstBox, ox + 140, oy + 65, 200, 20);
        Add<GUITextbox>(dialog, kSecondBox, ox + 140, oy + 95, 200, 20);
        Add<GUILine>(dialog, kLine, ox + 20, oy + 125, 560, 2);
        GUICheckbox* checkbox = Add<GUICheckbox>(dialog, kCheckbox, ox + 20, oy + 135, 200, 20);
        checkbox->label = "Sound";

        GUISelect* list = Add<GUISelect>(dialog, kList, ox + 20, oy + 165, 200, 102);
        for (int i = 0; i < 12; ++i)
            list->AddItem("Character " + std::to_string(i), "Level " + std::to_string(10 + i));

        GUITabgroup* tabs = Add<GUITabgroup>(dialog, kTabs, ox + 240, oy + 165, 340, 20);
        for (const char* caption : {"Offers", "History"}) {
            GUITab* tab = new GUITab();
            tab->caption = caption;
            tab->clickCallback = &TabClicked;
            tab->clickContext = tab;
            tabs->AddTab(tab);
        }

        GUITable* table = Add<GUITable>(dialog, kTable, ox + 240, oy + 195, 340, 120);
        table->AddColumn("Item", 200);
        table->AddColumn("Price", 100);
        const char* items[] = {"Sword", "Axe", "Bow"};
        for (int i = 0; i < 3; ++i) {
            GUITableRow* row = table->AddRow();
            row->SetCellText(0, items[i]);
            row->SetCellInt(1, 100 * (i + 1));
        }
        table->EnableScrollbar();

        GUISelector* selector = Add<GUISelector>(dialog, kSelector, ox + 20, oy + 330, 320, 25);
        selector->SetLabel("Skin");
        selector->SetItems({"Stone", "Wood", "Marble"});
        selector->changeCallback = &SelectorChanged;
    }

    void OpenMenu(int x, int y) {
        GUIMenu* menu = new GUIMenu();
        menu->SetRect(x, y, 150, 6 + 20 * 3);
        menu->id = kMenu;
        menu->AddItem(1, "Look");
        menu->AddItem(2, "Use");
        menu->AddItem(3, "Drop");
        menu->selectCallback = &MenuChosen;
        gui->AddControl(menu, true);
        Say("menu open");
    }

    // What the driver checks, reported when it changes.
    struct State {
        std::string first, second;
        int focus = -1;
        int selected = -1, scroll = -1;
        int checked = -1;
        std::string tab;
        std::string tableRow;
    } last;

    void Report() {
        auto box = [this](int32_t id) {
            GUITextbox* found = dynamic_cast<GUITextbox*>(gui->FindControl(id));
            return found ? found->GetText() : std::string();
        };
        const std::string first = box(kFirstBox);
        if (first != last.first)
            Say("text " + std::to_string(kFirstBox) + " " + (last.first = first));
        const std::string second = box(kSecondBox);
        if (second != last.second)
            Say("text " + std::to_string(kSecondBox) + " " + (last.second = second));
        const int focus = gui->focus ? gui->focus->id : 0;
        if (focus != last.focus)
            Say("focus " + std::to_string(last.focus = focus));
        if (GUISelect* list = dynamic_cast<GUISelect*>(gui->FindControl(kList))) {
            const int scroll = list->Scrollbar() ? list->Scrollbar()->GetPosition() : 0;
            if (list->selectedIndex != last.selected || scroll != last.scroll) {
                last.selected = list->selectedIndex;
                last.scroll = scroll;
                Say("list " + std::to_string(last.selected) + " " + std::to_string(last.scroll));
            }
        }
        if (GUICheckbox* checkbox = dynamic_cast<GUICheckbox*>(gui->FindControl(kCheckbox)))
            if (int(checkbox->checked) != last.checked)
                Say("checkbox " + std::to_string(last.checked = checkbox->checked));
        if (GUITable* table = dynamic_cast<GUITable*>(gui->FindControl(kTable))) {
            const GUITableCell* cell = table->selectedRow ? table->selectedRow->Cell(0) : nullptr;
            const std::string row = cell ? cell->text : "none";
            if (row != last.tableRow)
                Say("table " + (last.tableRow = row));
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    KEngine2 app;
    GUIManager::Attach(app);
    app.SetSize(800, 600);
    app.SetTitle("GUI smoke", true);
    if (argc > 1 && app.sprites->Load(argv[1]) != 0)
        app.SetFont(app.sprites->DecodeSprite(2), true);
    if (!app.CreateMainWindow(false)) {
        Say("no window");
        return 1;
    }
    // Drawing is optional here: without a back end the GUI still takes input.
    app.CreateGraphicsEngine(kEngineOpenGL);

    GUIManager* gui = app.gui;
    GUIControl* root = gui->root;
    root->owner = &app;
    root->lightColor = 0xFF6E6E6E;
    root->darkColor = 0xFF1E1E1E;
    root->fillColor = 0;
    root->textColor = 0xFFC8C8C8;
    root->arrowUpIcon = 5;
    root->arrowDownIcon = 6;
    root->arrowLeftIcon = 8;
    root->arrowRightIcon = 9;
    gui->shiftForArrows = true;

    Smoke smoke;
    smoke.app = &app;
    smoke.gui = gui;
    smoke.Build();

    POINT origin = {0, 0};
    ::ClientToScreen(static_cast<HWND>(app.window), &origin);
    Say("ready " + std::to_string(origin.x) + " " + std::to_string(origin.y));

    const uint32_t started = GetTicks();
    while (app.running && GetTicks() - started < 120000) {
        app.PumpMessages();
        while (app.HasEvents()) {
            const InputEvent event = app.PopEvent();
            if (event.type == InputEvent::RightUp)
                smoke.OpenMenu(event.a, event.b);
        }
        if (app.engine && app.graphics->BeginScene()) {
            app.graphics->ClearScene(0xFF191919);
            gui->Update();
            app.graphics->EndScene();
        } else {
            gui->Update();
        }
        smoke.Report();
        platform::SleepMs(10);
    }
    Say("bye");
    return 0;
}
