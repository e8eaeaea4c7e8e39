#include "dialogs/social/NoGuildDialog.h"

#include "client/Client.h"
#include "dialogs/social/GuildDialog.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"

namespace {

const int32_t kChatInputId = GameIds::kChatInput;
const uint32_t kTextColor = 0xFFC8C8C8;

template <void (NoGuildDialog::*Method)()>
void Call(void* module) {
    (static_cast<NoGuildDialog*>(module)->*Method)();
}

}  // namespace

NoGuildDialog::NoGuildDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("NoGuildDialog");
}

NoGuildDialog::~NoGuildDialog() { lifecycle::Note("~NoGuildDialog"); }

void NoGuildDialog::ClearInvites() { invites.clear(); }

void NoGuildDialog::AddInvite(uint32_t guildId, const std::string& name) {
    invites.push_back(GuildInvite{guildId, name});
}

void NoGuildDialog::Open() {
    GameInterface* game = Client::Instance()->game;
    if (DialogHelper(gui, GameIds::kGuildDialog).IsOpen() && game && game->guild)
        game->guild->CloseWindow();

    DialogHelper dialog(gui, kDialogId);
    GUIDialog* window = dialog.OpenCentred("No Guild", 400, 350);
    if (!window)
        return;
    window->drawCallback = &NoGuildDialog::Draw;
    window->drawContext = this;

    GUITextbox* name = new GUITextbox();
    name->id = kNameId;
    dialog.Add(name, 30, 105, 230, 25);
    dialog.AddButton(kCreateId, "Create", &Call<&NoGuildDialog::Create>, this, 270, 105, 100, 25);
    GUISelect* list = new GUISelect();
    list->id = kInvitesId;
    dialog.Add(list, 20, 150, 360, 100);
    shownGuildIds.clear();
    for (const GuildInvite& invite : invites) {
        list->AddItem(invite.guildName);
        shownGuildIds.push_back(invite.guildId);
    }
    dialog.AddButton(kJoinId, "Join Selected", &Call<&NoGuildDialog::Join>, this, 20, 259, 360, 25);
    dialog.Add(new GUILine(), 7, 305, 386, 1);
    dialog.AddButton(kCloseId, "Close", &Call<&NoGuildDialog::CloseWindow>, this, 140, 315, 120, 25);
}

void NoGuildDialog::CloseWindow() { DialogHelper(gui, kDialogId).CloseAndFocus(kChatInputId); }

void NoGuildDialog::Close() {
    lifecycle::Note("NoGuildDialog::Close");
    CloseWindow();
    invites.clear();
    shownGuildIds.clear();
}

void NoGuildDialog::Create() {
    const GUITextbox* name = DialogHelper(gui, kDialogId).Find<GUITextbox>(kNameId);
    if (!name || name->GetText().empty())
        return;
    Client::Instance()->protocol->SendGuildCreate(name->GetText());
}

void NoGuildDialog::Join() {
    const GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kInvitesId);
    if (!list || list->selectedIndex < 0 || size_t(list->selectedIndex) >= shownGuildIds.size())
        return;
    Client::Instance()->protocol->SendGuildJoin(shownGuildIds[size_t(list->selectedIndex)]);
}

void NoGuildDialog::Draw(void* module) {
    NoGuildDialog* self = static_cast<NoGuildDialog*>(module);
    DialogHelper dialog(self->gui, kDialogId);
    const GUIControl* window = dialog.Dialog();
    if (!window || !self->app->graphics)
        return;
    const int x = window->x;
    const int y = window->y;
    dialog.DrawPanel();
    Graphics* graphics = self->app->graphics;
    graphics->RenderText("You are not currently in any guild. You can create your own", x + 20, y + 40, kTextColor,
                         true);
    graphics->RenderText("for a fee of 10 premium cards. You can also join an existing", x + 20, y + 55,
                         kTextColor, true);
    graphics->RenderText("guild, if you have been invited by a guild leader.", x + 20, y + 70, kTextColor, true);
    dialog.DrawPanelBox(x + 20, y + 95, window->width - 40, 45);
}
