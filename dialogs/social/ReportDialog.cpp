#include "dialogs/social/ReportDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = 25;

}  // namespace

ReportDialog::ReportDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("ReportDialog");
}

ReportDialog::~ReportDialog() { lifecycle::Note("~ReportDialog"); }

void ReportDialog::Close() {
    lifecycle::Note("ReportDialog::Close");
    gui->DeleteLater(kDialogId);
    gui->focus = gui->FindControl(kChatInputId);
}

void ReportDialog::Show() { lifecycle::Note("ReportDialog::Show"); }
