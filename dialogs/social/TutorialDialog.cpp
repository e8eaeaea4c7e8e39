#include "dialogs/social/TutorialDialog.h"

#include "client/Client.h"
#include "client/ClientInfo.h"
#include "client/Hosts.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextbox.h"
#include "game/Lifecycle.h"
#include "platform/Platform.h"

const std::string TutorialDialog::kText =
    std::string("Congratulations! You have completed the Beginner Tutorial. You are free to do as you please on the "
                "mainland, but we recommend that you talk to ") +
    kQuestGiverName +
    " (downstairs) for a quest, and check the useful links below. If you need help, you can ask in the Support "
    "channel. Good luck!";

namespace {

const uint32_t kTextFill = 0x1E000000;      // black at alpha 30
const uint32_t kTextColor = 0xFFC8C8C8;     // opaque light grey
const uint32_t kPictureEdge = 0x96000000;   // black at alpha 150
const uint32_t kPictureFill = 0x32000000;   // black at alpha 50

void OnFansiteClicked(void*) { OpenFansitePage(); }
void OnCityMapClicked(void*) { OpenCityMapPage(); }
void OnCloseClicked(void* module) { static_cast<TutorialDialog*>(module)->Close(); }

}  // namespace

void OpenFansitePage() { platform::OpenInShell(kFansitePageUrl); }

void OpenCityMapPage() { platform::OpenInShell(kCityMapUrl); }

TutorialDialog::TutorialDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("TutorialDialog");
}

TutorialDialog::~TutorialDialog() { lifecycle::Note("~TutorialDialog"); }

bool TutorialDialog::Open() {
    lifecycle::Note("TutorialDialog::Open");
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = dialog.OpenFromCentre("Congratulations!", -200, -165, 400, 330);
    if (!frame)
        return false;
    frame->drawCallback = &TutorialDialog::Draw;
    frame->drawContext = this;

    GUITextbox* text = dialog.Add(new GUITextbox(), 20, 40, 360, 78);
    text->id = kTextId;
    text->SetFlag(GUIControl::kMultiLine | GUIControl::kReadOnly);
    text->fillColor = kTextFill;
    text->textColor = kTextColor;
    text->SetText(kText);

    const struct {
        int picture;
        GUIButton::Action onClick;
        int dx;
    } links[] = {{kFansitePicture, &OnFansiteClicked, 30}, {kCityMapPicture, &OnCityMapClicked, 205}};
    for (const auto& link : links) {
        GUIButton* button = dialog.AddButton(0, "", link.onClick, this, link.dx, 136, 165, 117);
        button->SetIcon(link.picture);
        // No skin: the captions the dialog writes under its buttons show
        // through their translucent fill.
        button->skin = 0;
        button->lightColor = kPictureEdge;
        button->darkColor = kPictureEdge;
        button->fillColor = kPictureFill;
        button->textColor = kTextColor;
    }

    dialog.Add(new GUILine(), 7, 285, 386, 1);
    dialog.AddButton(kCloseButtonId, "Close", &OnCloseClicked, this, 100, 295, 200, 25);
    return true;
}

void TutorialDialog::Close() {
    lifecycle::Note("TutorialDialog::Close");
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void TutorialDialog::Draw(void* context) {
    TutorialDialog* module = static_cast<TutorialDialog*>(context);
    const DialogHelper dialog(module->gui, kDialogId);
    const GUIControl* frame = dialog.Dialog();
    if (!frame)
        return;
    const int x = frame->x;
    const int y = frame->y;
    const int w = frame->width;
    const int h = frame->height;
    dialog.DrawPanel();
    // The frame around the two picture buttons.
    dialog.DrawPanelBox(x + 19, y + h - 205, w - 38, 139);
    module->DrawLinkCaption("Official Fansites", x + 30, y + h - 194);
    module->DrawLinkCaption("Brannoc City Map", x + 40 + (w - 70) / 2, y + h - 194);
}

void TutorialDialog::DrawLinkCaption(const std::string& text, int left, int top) {
    const GUIControl* frame = DialogHelper(gui, kDialogId).Dialog();
    Graphics* graphics = app ? app->graphics : nullptr;
    if (!frame || !graphics)
        return;
    // A picture button is as wide as one of the two columns.
    const int column = (frame->width - 70) / 2;
    const int width = app->font ? app->font->GetTextWidth(text) : 0;
    graphics->RenderText(text, left + column / 2 - width / 2, top + 97, kTextColor, true);
}
