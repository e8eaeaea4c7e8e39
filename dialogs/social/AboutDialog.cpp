#include "dialogs/social/AboutDialog.h"

#include <algorithm>

#include "client/Client.h"
#include "client/ClientInfo.h"
#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"

namespace {

const uint32_t kTextColor = 0xFFC0C0C0;  // silver
const uint32_t kDimColor = 0xFF969696;   // the web address, a little darker

void OnCloseClicked(void* module) { static_cast<AboutDialog*>(module)->Close(); }

}  // namespace

AboutDialog::AboutDialog() : openTick(GetTicks()) {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

std::string AboutDialog::VersionLine() { return std::string("Client version ") + kClientVersion; }

// The compiler's date reads like "Jun 28 2016".
std::string AboutDialog::BuildLine() { return std::string("Built on ") + __DATE__ + " at " + __TIME__; }

void AboutDialog::Open() {
    DialogHelper dialog(gui, kDialogId);
    // Its top 110 pixels above the middle of the window, not 115.
    GUIDialog* frame = dialog.OpenFromCentre("About", -171, -110, 342, 230);
    if (!frame)
        return;
    openTick = GetTicks();
    frame->drawCallback = &AboutDialog::Draw;
    frame->drawContext = this;
    dialog.AddButton(kCloseButtonId, "Close", &OnCloseClicked, this, 99, 195, 120, 25);
    gui->enterButtonId = kCloseButtonId;
}

void AboutDialog::Close() { DialogHelper(gui, kDialogId).Close(); }

int AboutDialog::CreditsOffset(uint64_t elapsed, int textWidth, int dialogWidth) {
    // At least one pixel: an empty line in a narrow box must not divide by 0.
    const uint64_t span = uint64_t(std::max(1, textWidth + dialogWidth - 20));
    return int((elapsed % (span * kScrollPeriod)) / kScrollPeriod);
}

void AboutDialog::Draw(void* context) {
    AboutDialog* about = static_cast<AboutDialog*>(context);
    const DialogHelper dialog(about->gui, kDialogId);
    const GUIControl* frame = dialog.Dialog();
    Graphics* graphics = about->app ? about->app->graphics : nullptr;
    if (!frame || !graphics)
        return;
    const int x = frame->x;
    const int y = frame->y;
    const int w = frame->width;
    dialog.DrawPanelBox(x + 10, y + 28, w - 20, 124);
    dialog.DrawPanelBox(x + 10, y + 162, w - 20, 25);

    const struct {
        std::string text;
        int dy;
        uint32_t color;
    } lines[] = {
        {VersionLine(), 35, kTextColor},      {BuildLine(), 50, kTextColor},
        {kAboutMaker, 75, kTextColor},        {kAboutWebAddress, 90, kDimColor},
        {kAboutFontNotice, 115, kTextColor},  {kAboutFontTrademark, 130, kTextColor},
    };
    for (const auto& line : lines)
        graphics->RenderText(line.text, x + 20, y + line.dy, line.color, true);

    const int width = about->app->font ? about->app->font->GetTextWidth(kAboutCredits) : 0;
    const int offset = CreditsOffset(uint64_t(GetTicks()) - about->openTick, width, w);
    ClipRect clip;
    clip.left = float(x + 11);
    clip.top = float(y + 167);
    clip.right = float(x + w - 12);
    clip.bottom = float(y + 182);
    graphics->EnableClipper(clip);
    graphics->RenderText(kAboutCredits, x + w - 20 - offset, y + 167, kTextColor, true);
    graphics->DisableClipper();
}
