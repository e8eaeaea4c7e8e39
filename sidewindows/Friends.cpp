#include "sidewindows/Friends.h"

#include <algorithm>
#include <cstdint>

#include "client/ConfigFile.h"
#include "client/Client.h"
#include "client/Settings.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIMenu.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"
#include "sidewindows/NamePrompt.h"

namespace {

constexpr int kScrollStep = 3;
constexpr uint32_t kOnlineColor = 0xFFC8C8C8;
constexpr uint32_t kOfflineColor = 0xFF606060;
constexpr uint32_t kHintColor = 0xFF8C8C8C;
constexpr uint32_t kBackground = 0x1E000000;
constexpr name_prompt::Ids kAddIds{Friends::kAddLabelId, Friends::kAddDialogId, Friends::kNameBoxId,
                                   Friends::kAddButtonId, Friends::kCancelButtonId};
const char* const kTabCaptions[Friends::kListCount] = {"Allies", "Foes", "Guild"};

Protocol* TheProtocol() { return Client::Instance()->protocol; }
ConfigFile* Options() { return Client::Instance()->settings->options; }

// Only the first byte counts, read as signed: bytes of 128 and more come
// before plain ASCII, capitals before small letters.
bool ShownBefore(const FriendEntry& a, const FriendEntry& b) {
    if (a.online != b.online)
        return a.online;
    return int8_t(a.name[0]) < int8_t(b.name[0]);
}

}  // namespace

Friends::Friends() {
    windowId = kWindowId;
    hideOffline = Options()->GetBool("windows", "hideoffline") ? 1 : 0;
    MakeScrollbar(kScrollbarId);
    lifecycle::Note("Friends");
}

Friends::~Friends() {
    // Both call back into this window.
    DialogHelper(gui, kMenuId).Close();
    DialogHelper(gui, kAddDialogId).Close();
    lifecycle::Note("~Friends");
}

void Friends::Clear() {
    for (int i = 0; i < kListCount; ++i) {
        lists[i].clear();
        positions_[i].clear();
    }
    RebuildView();
}

FriendEntry* Friends::Find(int list, const std::string& name) {
    const auto found = positions_[list].find(name);
    return found == positions_[list].end() ? nullptr : &lists[list][found->second];
}

void Friends::SetEntry(const std::string& name, bool online, int list) {
    if (StoreEntry(name, online, list))
        RebuildView();
}

bool Friends::StoreEntry(const std::string& name, bool online, int list) {
    if (list == kAnyList) {
        for (int i = 0; i < kListCount; ++i) {
            if (FriendEntry* entry = Find(i, name)) {
                entry->online = online;
                return true;
            }
        }
        return false;
    }
    // The list number is the server's byte: only the three lists exist.
    if (list < 0 || list >= kListCount)
        return false;
    if (FriendEntry* entry = Find(list, name)) {
        entry->online = online;
    } else if (lists[list].size() >= kMaxPerList) {
        return false;
    } else {
        positions_[list].emplace(name, lists[list].size());
        lists[list].push_back({online, name});
    }
    return true;
}

void Friends::RebuildView() {
    view = lists[activeList];
    std::stable_sort(view.begin(), view.end(), &ShownBefore);
    if (hideOffline || activeList == kGuildList)
        view.erase(std::remove_if(view.begin(), view.end(), [](const FriendEntry& e) { return !e.online; }),
                   view.end());
    if (dialog) {
        const int rows = int(view.size());
        dialog->SetSizeLimits(float(kMinWidth), float(kMaxWidth), float(kMinHeight),
                              float(std::max(kMinHeight, kRowHeight * rows + 77)));
    }
    Update();
}

void Friends::EnsureControls() {
    if (initialized || !dialog)
        return;
    initialized = 1;
    dialog->AddChild(scrollbar);
    const GUIButton::Action actions[kListCount] = {&Friends::OnAlliesTab, &Friends::OnFoesTab,
                                                   &Friends::OnGuildTab};
    for (int i = 0; i < kListCount; ++i) {
        tabButtons[i] = new GUIButton(0, kTabCaptions[i], actions[i], this);
        tabButtons[i]->SetStyle(i == activeList ? 1 : 0);
        dialog->AddChild(tabButtons[i]);
    }
}

void Friends::Update() {
    if (!dialog)
        return;
    EnsureControls();
    const int x = dialog->x;
    const int y = dialog->y;
    const int inner = dialog->width - 35;
    const int q = inner / 3;
    tabButtons[0]->SetRect(x + 9, y + 26, q, 18);
    tabButtons[1]->SetRect(x + 9 + q, y + 26, q, 18);
    tabButtons[2]->SetRect(x + 9 + 2 * q, y + 26, inner - 2 * q, 18);

    SetListScrollRange(67, kScrollStep);
}

void Friends::SetMinimized(bool value) {
    SideWindow::SetMinimized(value);
    if (!initialized)
        return;
    SetHidden({tabButtons[0], tabButtons[1], tabButtons[2]}, value);
}

void Friends::Draw() {
    if (!dialog)
        return;
    Graphics* graphics = app->graphics;
    const GUIControl* root = gui->root;
    const uint32_t light = root ? root->lightColor : 0xFF000000;
    const uint32_t dark = root ? root->darkColor : 0xFF000000;
    const int x = dialog->x;
    const int y = dialog->y;
    const int w = dialog->width;
    const int h = dialog->height;
    const int p = scrollbar ? scrollbar->GetPosition() : 0;

    graphics->RenderBox(x + 8, y + 25, w - 33, 20, dark, light, 0);
    graphics->RenderRectangle(dark, x + w - 17, y + 20, 1, h - 32);
    graphics->RenderBox(x + 8, y + 50, w - 33, h - 67, dark, light, kBackground);
    ClipRect clip;
    clip.left = float(x + 8);
    clip.top = float(y + 51);
    clip.right = float(x + w - 27);
    clip.bottom = float(y + h - 18);
    graphics->EnableClipper(clip);
    const int y0 = y + 55 - kScrollStep * p;
    for (size_t i = 0; i < view.size(); ++i) {
        const int rowY = y0 + kRowHeight * int(i);
        if (rowY + kRowHeight < y + 51 || rowY > y + h - 18)
            continue;
        graphics->RenderText(view[i].name, x + 13, rowY, view[i].online ? kOnlineColor : kOfflineColor, true);
    }
    // The hint belongs to an empty list, not to one whose people are all hidden.
    if (activeList != kGuildList && lists[activeList].empty()) {
        graphics->RenderText("Right click here to", x + 13, y0, kHintColor, true);
        graphics->RenderText("add people.", x + 13, y0 + kRowHeight, kHintColor, true);
    }
    graphics->DisableClipper();
}

FriendEntry Friends::EntryAt(int, int y) const {
    if (!dialog)
        return {};
    const int top = dialog->y + 50 - kScrollStep * (scrollbar ? scrollbar->GetPosition() : 0);
    for (size_t i = 0; i < view.size(); ++i) {
        const int rowTop = top + 5 + kRowHeight * int(i);
        if (rowTop <= y && y <= rowTop + kRowHeight)
            return view[i];
    }
    return {};
}

void Friends::ContextMenu(int x, int y) {
    if (!dialog || dialog->HasFlag(GUIControl::kHidden))
        return;
    if (!InListArea(x, y))
        return;
    menuTarget = EntryAt(x, y).name;
    const bool guild = activeList == kGuildList;
    if (menuTarget.empty() && guild)
        return;
    const int height = menuTarget.empty() ? 46 : guild ? 26 : 106;

    GUIMenu* menu = new GUIMenu();
    menu->id = kMenuId;
    menu->selectCallback = &Friends::OnMenuItem;
    menu->callbackContext = this;
    menu->SetRect(dialog->x + 10, y, 150, height);
    gui->AddControl(menu);
    const std::string toggle = std::string(hideOffline ? "Show" : "Hide") + " Offline";
    if (!menuTarget.empty()) {
        menu->AddItem(kMenuMessage, "Message " + menuTarget);
        if (guild)
            return;
        menu->AddItem(kMenuRemove, "Remove " + menuTarget);
        menu->AddItem(kMenuSpacer, "");
    }
    menu->AddItem(kMenuAdd, "Add New Person");
    menu->AddItem(kMenuToggleOffline, toggle);
}

void Friends::OnMenuItem(int itemId, void* window) {
    Friends* friends = static_cast<Friends*>(window);
    switch (itemId) {
    case kMenuMessage:
        TheProtocol()->SendJoinChannel(1, friends->menuTarget);
        break;
    case kMenuRemove:
        // The list changes when the server answers with its list.
        TheProtocol()->SendRemoveFriend(friends->menuTarget, friends->activeList);
        break;
    case kMenuAdd:
        friends->ShowAddDialog();
        break;
    case kMenuToggleOffline:
        friends->ToggleHideOffline();
        break;
    default:
        break;
    }
}

void Friends::ShowAddDialog() {
    GUITextbox* name = name_prompt::Open(gui, kAddIds, "Add Person", "Add", &Friends::ConfirmAdd, &Friends::CancelAdd,
                                         &Friends::DrawAddDialog, this);
    if (!name)
        return;
    name->fillColor = 0x01000000;
    name->skin = Client::Instance()->settings->GetSkin();
    gui->enterButtonId = kAddButtonId;
}

void Friends::DrawAddDialog(void* window) {
    Friends* friends = static_cast<Friends*>(window);
    name_prompt::DrawField(friends->app, friends->gui, kAddDialogId);
}

void Friends::ConfirmAdd(void* window) {
    Friends* friends = static_cast<Friends*>(window);
    const std::string name = name_prompt::TakeNameAndClose(friends->gui, kAddIds);
    if (!name.empty())
        TheProtocol()->SendAddFriend(name, friends->activeList);
}

void Friends::CancelAdd(void* window) {
    Friends* friends = static_cast<Friends*>(window);
    name_prompt::TakeNameAndClose(friends->gui, kAddIds);
}

void Friends::ToggleHideOffline() {
    hideOffline = hideOffline ? 0 : 1;
    Options()->SetBool("windows", "hideoffline", hideOffline != 0);
    RebuildView();
}

void Friends::SelectList(int list) {
    // Only the tab buttons call this; anything but Allies or Foes is the guild.
    activeList = list == 0 || list == 1 ? list : kGuildList;
    if (initialized) {
        for (GUIButton* button : tabButtons)
            button->SetStyle(0);
        tabButtons[activeList]->SetStyle(1);
        scrollbar->SetPosition(0);
    }
    RebuildView();
}

void Friends::OnAlliesTab(void* window) { static_cast<Friends*>(window)->SelectList(0); }
void Friends::OnFoesTab(void* window) { static_cast<Friends*>(window)->SelectList(1); }
void Friends::OnGuildTab(void* window) { static_cast<Friends*>(window)->SelectList(kGuildList); }
