#include "dialogs/social/IgnoreList.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

IgnoreList::IgnoreList() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("IgnoreList");
}

IgnoreList::~IgnoreList() { lifecycle::Note("~IgnoreList"); }

void IgnoreList::Close() {
    lifecycle::Note("IgnoreList::Close");
    gui->DeleteLater(kDialogId);
    gui->focus = gui->FindControl(kChatInputId);
}

void IgnoreList::Open() {}
