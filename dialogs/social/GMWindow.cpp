#include "dialogs/social/GMWindow.h"

#include "client/Client.h"
#include "dialogs/social/OnlineListDialog.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"
#include "world/Camera.h"
#include "world/Map.h"

namespace {

const uint32_t kCoordinatesColor = 0xFFDCDCDC;

void SendCommand(const std::string& text) {
    if (!text.empty())
        Client::Instance()->protocol->SendChatMessage(text);
}

// The three player buttons send their command for the name in the box.
void SendForTypedName(void* window, const char* prefix) {
    const GMWindow* self = static_cast<GMWindow*>(window);
    const GUITextbox* box = DialogHelper(self->gui, GMWindow::kNameBoxId).Find<GUITextbox>(GMWindow::kNameBoxId);
    SendCommand(GMWindow::PlayerCommand(prefix, box ? box->GetText() : std::string()));
}

void OnOnlineList(void*) { OnlineListDialog::Instance()->Open(); }
void OnReadReport(void*) { SendCommand("!r"); }
void OnTeleportTo(void* window) { SendForTypedName(window, "!t "); }
void OnRescue(void* window) { SendForTypedName(window, "!r "); }
void OnKick(void* window) { SendForTypedName(window, "!k "); }

// The game screen frees the module from inside this click; the button and its
// dialog wait for the GUI's next update and take no further click meanwhile.
void OnClose(void* game) { static_cast<GameInterface*>(game)->CloseOwnedDialog(); }

}  // namespace

GMWindow::GMWindow() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("GMWindow");
}

GMWindow::~GMWindow() { lifecycle::Note("~GMWindow"); }

std::string GMWindow::PlayerCommand(const char* prefix, const std::string& name) {
    return name.empty() ? std::string() : prefix + name;
}

std::string GMWindow::CoordinatesLine(int cameraX, int cameraY, int floor) {
    return "Your coordinates: " + std::to_string(cameraX + 8) + "x" + std::to_string(cameraY + 6) + "x" +
           std::to_string(floor);
}

void GMWindow::Open() {
    lifecycle::Note("GMWindow::Open");
    DialogHelper window(gui, kDialogId);
    GUIDialog* dialog = window.OpenCentred("GM Window", 396, 260);
    if (!dialog)
        return;
    dialog->drawCallback = &GMWindow::Draw;
    dialog->drawContext = this;

    window.AddButton(kOnlineListButtonId, "Open Online List", &OnOnlineList, this, 11, 86, 187, 25);
    window.AddButton(kReadReportButtonId, "Read a Report", &OnReadReport, this, 198, 86, 187, 25);
    GUITextbox* name = window.Add(new GUITextbox(), 20, 132, 356, 25);
    if (name)
        name->id = kNameBoxId;
    window.AddButton(0, "Teleport To", &OnTeleportTo, this, 21, 167, 118, 25);
    window.AddButton(0, "Rescue", &OnRescue, this, 139, 167, 118, 25);
    window.AddButton(0, "Kick", &OnKick, this, 257, 167, 118, 25);
    window.Add(new GUILine(), 7, 215, 382, 1);
    window.AddButton(kCloseButtonId, "Close", &OnClose, Client::Instance()->game, 138, 225, 120, 25);
}

void GMWindow::Close() {
    lifecycle::Note("GMWindow::Close");
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void GMWindow::Draw(void* window) {
    const GMWindow* self = static_cast<GMWindow*>(window);
    const DialogHelper helper(self->gui, kDialogId);
    const GUIControl* dialog = helper.Dialog();
    if (!dialog)
        return;
    const int x = dialog->x;
    const int y = dialog->y;
    const int w = dialog->width;
    helper.DrawPanelBox(x + 10, y + 30, w - 20, 45);   // the coordinates
    helper.DrawPanelBox(x + 10, y + 85, w - 20, 27);   // behind the two upper buttons
    helper.DrawPanelBox(x + 10, y + 122, w - 20, 82);  // the name and the player buttons
    helper.DrawPanelBox(x + 20, y + 166, w - 40, 27);  // behind the player buttons

    const GameInterface* game = Client::Instance()->game;
    if (!game || !game->map || !game->map->camera || !self->app->graphics)
        return;
    Camera* camera = game->map->camera;
    // GetX first: it may look the followed creature up.
    const int cameraX = camera->GetX();
    const int cameraY = camera->GetY();
    const int floor = camera->GetZ();
    self->app->graphics->RenderText(CoordinatesLine(cameraX, cameraY, floor), x + 17, y + 37, kCoordinatesColor,
                                    true);
}
