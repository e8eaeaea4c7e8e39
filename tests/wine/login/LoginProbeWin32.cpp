// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which after every pass prints what a player would see change: the screen,
// the GUI's message box, the character list's rows, the login screen's
// notification, and where the controls a player clicks are. The driver reads
// these lines instead of pixels. Platform message boxes ("Networking Error")
// are printed too and answered with OK, so they never wait for a click.
#include <string>

#include "client/CharacterList.h"
#include "client/Client.h"
#include "client/MainMenu.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUIText.h"
#include "game/GameInterface.h"
#include "platform/Win32.h"
#include "tests/wine/support/Probe.h"

namespace {

// Line breaks as "\n", so that a text stays on one line.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

// Prints a line whenever its text differs from the last one of its kind.
class Reporter {
public:
    void Report(Client& client) {
        GUIManager* gui = client.app->gui;
        probe::Report(screen_, probe::ScreenLine(client));

        std::string box = "box none";
        if (const GUIDialog* dialog = dynamic_cast<GUIDialog*>(gui->FindControl(GUIManager::kMessageBoxId))) {
            const GUIText* text = dynamic_cast<GUIText*>(gui->FindControl(GUIManager::kMessageTextId));
            const GUIControl* button = gui->FindControl(GUIManager::kMessageButtonId);
            box = "box " + dialog->title + "|" + (text ? text->text : std::string()) + "|" +
                  (button && !button->HasFlag(GUIControl::kDisabled) ? "closable" : "fixed");
        }
        probe::Report(box_, box);

        std::string rows = "rows none";
        const GUISelect* list = dynamic_cast<GUISelect*>(gui->FindControl(CharacterList::kList));
        const GUIControl* enter = gui->FindControl(CharacterList::kEnterGameButton);
        if (list && enter) {
            rows = "rows " + std::to_string(list->items.size()) + " list " + probe::Rect(list) + " height " +
                   std::to_string(list->rowHeight) + " enter " + probe::Rect(enter);
            for (const GUISelectItem& item : list->items)
                rows += " | " + item.text + ";" + item.rightText + ";" + item.subText + ";" + item.subRightText +
                        (item.icon ? ";picture" : ";none");
        }
        probe::Report(rows_, rows);
        probe::Report(selected_, "selected " + std::to_string(list ? list->selectedIndex : -1));

        std::string status = "status none";
        if (client.menu && !client.menu->notificationText.empty())
            status = "status " + std::to_string(client.menu->notificationLines) + " " +
                     OneLine(client.menu->notificationText);
        probe::Report(status_, status);

        std::string fields = "fields none";
        const GUIControl* account = gui->FindControl(MainMenu::kAccountBox);
        const GUIControl* password = gui->FindControl(MainMenu::kPasswordBox);
        if (account && password)
            fields = "fields account " + probe::Rect(account) + " password " + probe::Rect(password);
        probe::Report(fields_, fields);

        // Typing reaches the client once Wine has given its window the keyboard.
        probe::Report(keyboard_, ::GetFocus() == static_cast<HWND>(client.app->window) ? "keyboard window"
                                                                                      : "keyboard elsewhere");
    }

private:
    std::string screen_, box_, rows_, selected_, status_, fields_, keyboard_;
};

}  // namespace

int main() {
    Reporter reporter;
    probe::Hooks hooks;
    hooks.pass = [&](Client& client) { reporter.Report(client); };
    return probe::Run(hooks);
}
