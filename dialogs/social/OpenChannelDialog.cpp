#include "dialogs/social/OpenChannelDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "game/Lifecycle.h"

OpenChannelDialog* OpenChannelDialog::Instance() {
    static OpenChannelDialog* instance = new OpenChannelDialog();
    return instance;
}

OpenChannelDialog::OpenChannelDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
}

void OpenChannelDialog::Open() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("OpenChannelDialog::Open");
}

void OpenChannelDialog::ClearChannels() { channels.clear(); }

void OpenChannelDialog::AddChannel(const std::string& name) { channels.push_back(name); }
