#include "sidewindows/Actions.h"

#include "client/Client.h"
#include "client/Hosts.h"
#include "client/Settings.h"
#include "dialogs/character/TalentsDialog.h"
#include "dialogs/social/OptionsDialog.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"

namespace {

GUIButton* FindButton(int id) {
    KEngine2* app = Client::Instance()->app;
    if (!app || !app->gui)
        return nullptr;
    return dynamic_cast<GUIButton*>(app->gui->FindControl(id));
}

Protocol* GameProtocol() { return Client::Instance()->protocol; }

}  // namespace

Actions::Actions(int id) {
    windowId = id;
    lifecycle::Note("Actions");
}

Actions::~Actions() { lifecycle::Note("~Actions"); }

void Actions::CreateButtons() {
    if (initialized || !dialog)
        return;
    initialized = 1;
    auto make = [this](int id, const char* caption, GUIButton::Action action, void* context) {
        GUIButton* button = new GUIButton(id, caption, action, context);
        dialog->AddChild(button);
        return button;
    };
    premiumButton = make(0, "Buy Premium Cards", &Actions::OnBuyPremium, nullptr);
    autofollowButton = make(GameIds::kAutofollowButton, "Autofollow", &Actions::OnAutofollow, nullptr);
    fightmodeButton = make(GameIds::kFightmodeButton, "Fightmode", &Actions::OnFightmode, nullptr);
    questsButton = make(GameIds::kQuestsButton, "Quests", &Actions::OnQuests, this);
    spellsButton = make(GameIds::kSpellsButton, "Spells", &Actions::OnSpells, this);
    talentsButton = make(GameIds::kTalentsButton, "Talents", &Actions::OnTalents, this);
    guildButton = make(GameIds::kGuildButton, "Guild", &Actions::OnGuild, this);
    optionsButton = make(GameIds::kOptionsButton, "Options", &Actions::OnOptions, this);
    logoutButton = make(GameIds::kLogoutButton, "Logout", &Actions::OnLogout, this);
    // The caption takes the button's fourth colour.
    premiumButton->textColor = kPremiumCaptionColor;
    logoutButton->textColor = kLogoutCaptionColor;
    const Settings* settings = Client::Instance()->settings;
    autofollowButton->SetStyle(settings && settings->GetAutoFollow() ? 1 : 0);
    if (minimized)
        SetMinimized(true);
}

void Actions::Update() {
    CreateButtons();
    if (!dialog || !premiumButton)
        return;
    const int x = dialog->x + 8;
    const int y = dialog->y;
    const int w = dialog->width - 16;
    const int half = w / 2;
    premiumButton->SetRect(x, y + 26, w, kButtonHeight);
    autofollowButton->SetRect(x, y + 53, half, kButtonHeight);
    fightmodeButton->SetRect(x + half, y + 53, w - half, kButtonHeight);
    questsButton->SetRect(x, y + 80, half, kButtonHeight);
    spellsButton->SetRect(x + half, y + 80, w - half, kButtonHeight);
    talentsButton->SetRect(x, y + 100, half, kButtonHeight);
    guildButton->SetRect(x + half, y + 100, w - half, kButtonHeight);
    optionsButton->SetRect(x, y + 120, w, kButtonHeight);
    logoutButton->SetRect(x, y + 140, w, kButtonHeight);
}

void Actions::SetMinimized(bool value) {
    SideWindow::SetMinimized(value);
    if (!premiumButton)
        return;
    SetHidden({autofollowButton, optionsButton, questsButton, spellsButton, logoutButton, fightmodeButton,
               talentsButton, guildButton, premiumButton},
              value);
}

void Actions::Draw() {
    if (!dialog || !app || !app->graphics)
        return;
    const GUIControl* root = gui ? gui->root : nullptr;
    const uint32_t light = root ? root->lightColor : 0xFFFFFFFF;
    const uint32_t dark = root ? root->darkColor : 0xFF000000;
    const int x = dialog->x;
    const int y = dialog->y;
    const int w = dialog->width;
    // Sunken boxes: the shadow colour on the top and left edges.
    app->graphics->RenderBox(x + 7, y + 25, w - 14, 22, dark, light, 0);
    app->graphics->RenderBox(x + 7, y + 52, w - 14, 22, dark, light, 0);
    app->graphics->RenderBox(x + 7, y + 79, w - 14, 82, dark, light, 0);
    // The mode may also change from the keyboard.
    const GameInterface* game = Client::Instance()->game;
    if (fightmodeButton && game)
        fightmodeButton->SetStyle(game->hotkeyMode ? 1 : 0);
}

void Actions::OnBuyPremium(void*) { platform::OpenInShell(kPremiumPageUrl); }

void Actions::OnAutofollow(void*) {
    GUIButton* button = FindButton(GameIds::kAutofollowButton);
    Settings* settings = Client::Instance()->settings;
    if (!button || !settings)
        return;
    button->SetStyle(button->style ^ 1);
    settings->SetAutoFollow(button->style != 0);
}

void Actions::OnFightmode(void*) {
    GUIButton* button = FindButton(GameIds::kFightmodeButton);
    GameInterface* game = Client::Instance()->game;
    if (!button || !game)
        return;
    // Unlike Ctrl+F this flips only the mode and leaves a chat line opened in
    // hotkey mode as it is; in the common case no such line is open while the
    // player reaches for the mouse.
    button->SetStyle(button->style ^ 1);
    game->hotkeyMode = button->style;
}

void Actions::OnQuests(void*) {
    if (Protocol* protocol = GameProtocol())
        protocol->SendRequestQuests();
}

void Actions::OnSpells(void*) {
    if (Protocol* protocol = GameProtocol())
        protocol->SendRequestSpells();
}

void Actions::OnTalents(void*) {
    GameInterface* game = Client::Instance()->game;
    if (game && game->talents)
        game->talents->Show();
}

void Actions::OnGuild(void*) {
    if (Protocol* protocol = GameProtocol())
        protocol->SendRequestGuild();
}

void Actions::OnOptions(void*) {
    if (OptionsDialog* options = Client::Instance()->optionsDialog)
        options->Open();
}

void Actions::OnLogout(void*) {
    if (Protocol* protocol = GameProtocol())
        protocol->SendLogout();
}
