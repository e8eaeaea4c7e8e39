#include "dialogs/social/ReportDialog.h"

#include <string>

#include "client/Client.h"
#include "client/Hosts.h"
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

namespace {

const uint32_t kHelpColor = 0xFFC8C8C8;  // opaque light grey

const std::string kHelpText = std::string("Report game bugs or rule violators to the game staff here.\n") +
                              "Explain the issue in detail and also enter the name of the\n" +
                              "rule violator, if applicable. Please note that we generally do\n" +
                              "not respond to reporters. To contact us directly you can send\n" + "email to " +
                              kStaffEmail + ". Thank you!";

void OnCancelClicked(void* game) { static_cast<GameInterface*>(game)->CloseReportDialog(); }

}  // namespace

ReportDialog::ReportDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("ReportDialog");
}

ReportDialog::~ReportDialog() { lifecycle::Note("~ReportDialog"); }

void ReportDialog::Close() {
    lifecycle::Note("ReportDialog::Close");
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void ReportDialog::Show() {
    lifecycle::Note("ReportDialog::Show");
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = dialog.OpenFromCentre("Report", -200, -110, 400, 220);
    if (!frame)
        return;
    frame->drawCallback = &ReportDialog::Draw;
    frame->drawContext = this;
    GUITextbox* text = dialog.Add(new GUITextbox(), 20, 130, 360, 25);
    text->id = kTextBoxId;
    dialog.Add(new GUILine(), 7, 175, 386, 1);
    GameInterface* game = Client::Instance()->game;
    dialog.AddButton(kSendButtonId, "Report", &ReportDialog::Send, game, 92, 185, 95, 25);
    dialog.AddButton(kCancelButtonId, "Cancel", &OnCancelClicked, game, 213, 185, 95, 25);
    gui->focus = text;
}

void ReportDialog::Send(void* context) {
    GameInterface* game = static_cast<GameInterface*>(context);
    if (!game || !game->reportDialog)
        return;
    const GUITextbox* box = DialogHelper(game->reportDialog->gui, kDialogId).Find<GUITextbox>(kTextBoxId);
    const std::string text = box ? box->GetText() : std::string();
    if (!text.empty() && game->protocol)
        game->protocol->SendReport(text);
    game->CloseReportDialog();
}

void ReportDialog::Draw(void* module) {
    ReportDialog* report = static_cast<ReportDialog*>(module);
    const DialogHelper dialog(report->gui, kDialogId);
    const GUIControl* frame = dialog.Dialog();
    if (!frame || !report->app->graphics)
        return;
    dialog.DrawPanel();
    report->app->graphics->RenderText(kHelpText, frame->x + 20, frame->y + 40, kHelpColor, true);
}
