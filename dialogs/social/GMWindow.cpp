#include "dialogs/social/GMWindow.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = GameIds::kChatInput;

}  // namespace

GMWindow::GMWindow() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("GMWindow");
}

GMWindow::~GMWindow() { lifecycle::Note("~GMWindow"); }

void GMWindow::Close() {
    lifecycle::Note("GMWindow::Close");
    gui->focus = gui->FindControl(kChatInputId);
}

void GMWindow::Open() { lifecycle::Note("GMWindow::Open"); }
