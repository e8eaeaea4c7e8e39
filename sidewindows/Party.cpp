#include "sidewindows/Party.h"

#include <algorithm>
#include <string>

#include "client/Client.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"
#include "game/FollowedCreature.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"
#include "world/Creature.h"
#include "world/Map.h"
#include "sidewindows/NamePrompt.h"

namespace {

constexpr int kScrollStep = 3;
constexpr uint32_t kTextColor = 0xFFC8C8C8;
constexpr uint32_t kBarEdge = 0xFF0A0A0A;
constexpr uint32_t kBarBack = 0x32000000;
constexpr uint32_t kFirstBarColor = 0xFF001E96;
constexpr uint32_t kSecondBarColor = 0xFF960000;
constexpr uint32_t kBackground = 0x1E000000;
constexpr name_prompt::Ids kInviteIds{0, Party::kInviteDialogId, Party::kNameBoxId, Party::kInviteButtonId,
                                      Party::kCancelButtonId};

// The creature the world view follows: the player, once it has arrived.
const Creature* FollowedCreature() {
    const GameInterface* game = Client::Instance()->game;
    return game ? ::FollowedCreature(game->map) : nullptr;
}

Protocol* TheProtocol() { return Client::Instance()->protocol; }

}  // namespace

Party::Party() {
    windowId = kWindowId;
    MakeScrollbar(kScrollbarId);
    lifecycle::Note("Party");
}

Party::~Party() {
    // Both call back into this window.
    DialogHelper(gui, kMenuId).Close();
    DialogHelper(gui, kInviteDialogId).Close();
    lifecycle::Note("~Party");
}

void Party::Clear() { members.clear(); }

void Party::SetMember(const std::string& name, int number, int firstPercent, int secondPercent) {
    for (PartyRecord& member : members) {
        if (member.name == name) {
            member.number = number;
            member.firstPercent = firstPercent;
            member.secondPercent = secondPercent;
            FitToMembers();
            return;
        }
    }
    members.push_back({name, number, firstPercent, secondPercent});
}

void Party::FitToMembers() {
    if (!dialog)
        return;
    const int n = int(members.size());
    dialog->SetSizeLimits(float(kMinWidth), float(kMaxWidth), float(kMinHeight),
                          float(std::max(kMinHeight, kRowHeight * n + 52)));
    Update();
}

void Party::ShowMembers() {
    if (!dialog)
        return;
    if (members.empty()) {
        dialog->SetFlag(GUIControl::kHidden);
        return;
    }
    dialog->ClearFlag(GUIControl::kHidden);
    FitToMembers();
}

bool Party::IsMember(const std::string& name) const {
    return std::any_of(members.begin(), members.end(), [&](const PartyRecord& m) { return m.name == name; });
}

bool Party::PlayerIsFirstMember() const {
    const Creature* player = FollowedCreature();
    return player && !members.empty() && members.front().name == player->name;
}

PartyRecord Party::MemberAt(int, int y) const {
    if (!dialog || !scrollbar)
        return {};
    const int top = dialog->y + 30 - kScrollStep * scrollbar->GetPosition();
    for (size_t k = 0; k < members.size(); ++k) {
        const int rowTop = top + kRowHeight * int(k);
        if (rowTop <= y && y <= rowTop + kRowHeight)
            return members[k];
    }
    return {};
}

void Party::ContextMenu(int x, int y) {
    if (!dialog || dialog->HasFlag(GUIControl::kHidden))
        return;
    if (!InListArea(x, y))
        return;
    if (gui->FindControl(kMenuId))
        return;
    selectedName = MemberAt(x, y).name;

    GUIMenu* menu = new GUIMenu();
    menu->id = kMenuId;
    menu->selectCallback = &Party::OnMenuItem;
    menu->callbackContext = this;
    menu->SetRect(dialog->x + 10, y, 150, 106);
    gui->AddControl(menu);
    const bool leader = PlayerIsFirstMember();
    if (!selectedName.empty()) {
        menu->AddItem(kMenuMessage, "Message " + selectedName);
        menu->AddItem(kMenuKick, "Kick " + selectedName, leader);
    }
    menu->AddItem(kMenuSpacer, "");
    menu->AddItem(kMenuInvite, "Invite member", leader);
    menu->AddItem(kMenuLeave, "Leave party");
}

void Party::OnMenuItem(int itemId, void* window) {
    Party* party = static_cast<Party*>(window);
    switch (itemId) {
    case kMenuMessage:
        TheProtocol()->SendJoinChannel(1, party->selectedName);
        break;
    case kMenuKick:
        TheProtocol()->SendPartyCommand(party->selectedName, 1);
        break;
    case kMenuInvite:
        party->OpenInviteDialog();
        break;
    case kMenuLeave:
        // Removing oneself is leaving.
        if (const Creature* player = FollowedCreature())
            TheProtocol()->SendPartyCommand(player->name, 1);
        break;
    default:
        break;
    }
}

void Party::OpenInviteDialog() {
    name_prompt::Open(gui, kInviteIds, "Invite To Party", "Invite", &Party::ConfirmInvite, &Party::CloseInviteDialog,
                      &Party::DrawInviteDialog, this);
}

void Party::ConfirmInvite(void* window) {
    Party* party = static_cast<Party*>(window);
    const std::string name = name_prompt::TakeNameAndClose(party->gui, kInviteIds);
    if (!name.empty())
        TheProtocol()->SendPartyCommand(name, 0);
}

void Party::CloseInviteDialog(void* window) {
    Party* party = static_cast<Party*>(window);
    name_prompt::TakeNameAndClose(party->gui, kInviteIds);
}

void Party::DrawInviteDialog(void* window) {
    Party* party = static_cast<Party*>(window);
    name_prompt::DrawField(party->app, party->gui, kInviteDialogId);
}

void Party::Update() {
    if (!dialog || !scrollbar)
        return;
    if (!initialized) {
        initialized = 1;
        dialog->AddChild(scrollbar);
    }
    SetListScrollRange(42, kScrollStep);
}

void Party::Draw() {
    if (!dialog)
        return;
    Graphics* graphics = app->graphics;
    const GUIControl* root = gui->root;
    const uint32_t light = root ? root->lightColor : 0xFF000000;
    const uint32_t dark = root ? root->darkColor : 0xFF000000;
    const int fx = dialog->x;
    const int fy = dialog->y;
    const int fw = dialog->width;
    const int fh = dialog->height;
    const int p = scrollbar ? scrollbar->GetPosition() : 0;

    graphics->RenderRectangle(dark, fx + fw - 17, fy + 20, 1, fh - 32);
    graphics->RenderBox(fx + 8, fy + 25, fw - 33, fh - 42, dark, light, kBackground);
    ClipRect clip;
    clip.left = float(fx + 8);
    clip.top = float(fy + 26);
    clip.right = float(fx + fw - 25);
    clip.bottom = float(fy + fh - 18);
    graphics->EnableClipper(clip);
    for (size_t k = 0; k < members.size(); ++k) {
        const PartyRecord& member = members[k];
        const int ry = fy + 30 - kScrollStep * p + kRowHeight * int(k);
        graphics->RenderText(member.name, fx + 13, ry, kTextColor, true);
        const std::string number = std::to_string(member.number);
        graphics->RenderText(number, fx + fw - 32 - app->TextWidth(number), ry, kTextColor, true);
        // The server's bytes go up to 255; a bar never leaves its box.
        const int bars[2] = {std::clamp(member.firstPercent, 0, 100), std::clamp(member.secondPercent, 0, 100)};
        const uint32_t colors[2] = {kFirstBarColor, kSecondBarColor};
        for (int b = 0; b < 2; ++b) {
            const int boxY = ry + 15 + 8 * b;
            graphics->RenderBox(fx + 13, boxY, fw - 45, 7, kBarEdge, kBarEdge, kBarBack);
            graphics->RenderRectangle(colors[b], fx + 14, boxY + 1, int(double(fw - 47) / 100.0 * bars[b]), 5);
        }
        if (k + 1 < members.size()) {
            graphics->RenderRectangle(dark, fx + 13, ry + 32, fw - 45, 1);
            graphics->RenderRectangle(light, fx + 13, ry + 33, fw - 45, 1);
        }
    }
    graphics->DisableClipper();
}
