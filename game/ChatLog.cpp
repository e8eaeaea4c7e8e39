#include "game/ChatLog.h"

#include <cstdio>

#include "client/Client.h"
#include "client/Hosts.h"
#include "client/Settings.h"
#include "dialogs/social/IgnoreList.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/ChatPane.h"
#include "game/GameInterface.h"
#include "game/StatusLine.h"
#include "platform/Platform.h"
#include "world/Creature.h"
#include "world/Map.h"

namespace {

const char kSupportHelp[] =
    "If you need help with the game, do not hesitate to ask in this channel. English only and no chatting, please!";
const char kEnglishHelp[] =
    "This channel is for general chatting in English only. To view a list of available channels in other "
    "languages press CTRL+P.";
const char kDropped[] = " dropped ";

bool SystemLocalTime(std::tm& out) { return platform::LocalTime(std::time(nullptr), out); }

// The start of a colour run in the text boxes' markup: byte 1, then red,
// green, blue and alpha.
std::string ColourCode(uint32_t color) {
    std::string code(1, '\x01');
    for (int shift = 0; shift < 32; shift += 8)
        code.push_back(char((color >> shift) & 0xFF));
    return code;
}

Settings* CurrentSettings() { return Client::Instance()->settings; }

GameInterface* Game() { return Client::Instance()->game; }

bool SenderIgnored(GameInterface* game, const std::string& sender) {
    return game->ignoreList && game->ignoreList->IsIgnored(sender);
}

// Speech in "Main" also shows over the speaker on the map.
void SpeakOnMap(const std::string& sender, const std::string& text) {
    GameInterface* game = Game();
    if (!game || !game->map)
        return;
    if (Creature* speaker = game->map->FindCreatureByName(sender))
        StatusLine::Instance()->AddSpeech(speaker->GetPosition(), sender, text);
}

}  // namespace

static_assert(ChatLog::kEndControlId == GUIManager::kMessageBoxId, "the chat's ids end where the GUI's begin");

ChatLog* ChatLog::Instance() {
    static ChatLog* instance = new ChatLog();
    return instance;
}

ChatLog::ChatLog() : localClock(&SystemLocalTime) {}

KEngine2* ChatLog::App() const { return Client::Instance()->app; }

GUIManager* ChatLog::Gui() const {
    KEngine2* app = App();
    return app ? app->gui : nullptr;
}

GUITabgroup* ChatLog::TabGroup() const {
    GUIManager* gui = Gui();
    return gui ? dynamic_cast<GUITabgroup*>(gui->FindControl(kTabGroupId)) : nullptr;
}

std::string ChatLog::TimePrefix(const std::tm& time) {
    char text[16];
    std::snprintf(text, sizeof(text), "[%02d:%02d:%02d] ", time.tm_hour % 100, time.tm_min % 100, time.tm_sec % 100);
    return text;
}

ChatPane* ChatLog::FindChannel(int type, const std::string& name) {
    for (ChatPane* pane : panes)
        if (pane->type == type && pane->name == name)
            return pane;
    return panes.empty() ? nullptr : panes.front();
}

ChatPane* ChatLog::ActivePane() {
    for (ChatPane* pane : panes)
        if (pane->tab && pane->tab->active)
            return pane;
    return nullptr;
}

bool ChatLog::AddChannelTab(int type, const std::string& name) {
    // The type is not compared again: a fallback pane that carries the name counts.
    ChatPane* existing = FindChannel(type, name);
    if (existing && existing->name == name)
        return true;
    if (panes.size() >= kMaxTabs)
        return false;

    const int32_t id = TakeControlIds();
    if (id == 0)
        return false;

    // The settings leave out a name the ini file could not read back.
    if (type == kPublic)
        if (Settings* settings = CurrentSettings())
            settings->SetChannelOpen(name, true);
    GUITab* tab = new GUITab();
    tab->id = id;
    tab->caption = name;
    GUITabgroup* group = TabGroup();
    if (group) {
        group->AddTab(tab);
        tab->fillColor = 0;
    }

    GUITextbox* box = new GUITextbox();
    box->id = id + 1;
    box->SetFlag(GUIControl::kReadOnly | GUIControl::kMultiLine);
    // First under the root, so that every other control draws over it.
    if (GUIManager* gui = Gui())
        gui->AddControl(box, false);
    box->EnableScrollbar();

    ChatPane* pane = new ChatPane(type, name, tab, box);
    pane->ownsTab = group == nullptr;
    if (KEngine2* app = App()) {
        GameInterface* game = Game();
        pane->Layout(app->clientWidth, app->clientHeight, game ? game->chatHeight : kDefaultChatHeight);
    }
    panes.push_back(pane);

    if (name == "Support") {
        pane->AppendText(kSupportHelp, kHighlightColor, false);
        pane->AppendText(std::string("Brannoc City Map: ") + kCityMapUrl + " - Useful resources: " + kFanSiteUrlA +
                             " & " + kFanSiteUrlB + "!",
                         kHighlightColor, false);
    } else if (name == "English") {
        pane->AppendText(kEnglishHelp, kHighlightColor, false);
    }
    return true;
}

int32_t ChatLog::TakeControlIds() {
    GUIManager* gui = Gui();
    const auto held = [&](int32_t id) {
        for (const ChatPane* pane : panes)
            if ((pane->tab && pane->tab->id == id) || (pane->box && pane->box->id == id + 1))
                return true;
        return gui && (gui->FindControl(id) || gui->FindControl(id + 1));
    };
    for (int32_t tries = 0; tries < (kEndControlId - kFirstControlId) / 2; ++tries) {
        if (nextId < kFirstControlId || nextId + 1 >= kEndControlId)
            nextId = kFirstControlId;
        const int32_t id = nextId;
        nextId += 2;
        if (!held(id))
            return id;
    }
    return 0;
}

bool ChatLog::CloseChannel(int type, const std::string& name) {
    if (type == kPublic)
        if (Settings* settings = CurrentSettings())
            settings->SetChannelOpen(name, false);

    auto it = panes.begin();
    while (it != panes.end() && (*it)->name != name)
        ++it;
    if (it == panes.end())
        return false;
    ChatPane* pane = *it;
    // Unlinked before "Main" is selected, so that the fallback never picks the
    // pane whose tab has just been deleted.
    panes.erase(it);
    GUITabgroup* group = TabGroup();
    if (pane->tab && group && pane->tab->GetParent() == group) {
        group->RemoveTab(pane->tab);
        pane->tab = nullptr;
    }
    Select(FindChannel(kPublic, "Main"));
    delete pane;
    return true;
}

void ChatLog::Select(ChatPane* pane) {
    if (!pane || !pane->tab)
        return;
    if (ChatPane* active = ActivePane())
        active->tab->active = false;
    GUITabgroup* group = TabGroup();
    if (group && pane->tab->GetParent() == group)
        group->SetActiveTab(pane->tab);
    else
        pane->tab->active = true;
    pane->Refresh();
}

void ChatLog::SelectBy(int step, bool wrap) {
    GUITabgroup* group = TabGroup();
    if (!group)
        return;
    const std::vector<GUITab*> tabs = group->GetTabs();
    const int count = int(tabs.size());
    int index = -1;
    for (int i = 0; i < count; ++i)
        if (tabs[size_t(i)]->active)
            index = i;
    if (index < 0)
        return;
    int chosen = index + step;
    if (chosen >= count)
        chosen = wrap ? 0 : count - 1;
    if (chosen < 0)
        chosen = wrap ? count - 1 : 0;
    for (ChatPane* pane : panes)
        if (pane->tab == tabs[size_t(chosen)])
            Select(pane);
}

void ChatLog::SelectNextTab() { SelectBy(1, true); }

void ChatLog::SelectPreviousTab() { SelectBy(-1, false); }

void ChatLog::OnResize(int chatHeight) {
    KEngine2* app = App();
    if (!app)
        return;
    for (ChatPane* pane : panes)
        pane->Layout(app->clientWidth, app->clientHeight, chatHeight);
}

void ChatLog::UpdatePanes() {
    for (ChatPane* pane : panes)
        pane->Refresh();
}

void ChatLog::Clear() {
    GUIManager* gui = Gui();
    // The group must not keep pointing at a tab that the manager deletes.
    if (GUITabgroup* group = TabGroup())
        group->SetActiveTab(nullptr);
    for (ChatPane* pane : panes) {
        // By id: the tab may already have gone with its group.
        if (gui && pane->tab && !pane->ownsTab)
            gui->DeleteLater(pane->tab->id);
        delete pane;
    }
    panes.clear();
}

void ChatLog::AddMessage(const std::string& sender, const std::string& channel, int kind, const std::string& text) {
    GameInterface* game = Game();
    if (game && SenderIgnored(game, sender))
        return;

    std::tm now{};
    if (!localClock || !localClock(now))
        now = std::tm{};
    std::string prefix = TimePrefix(now);

    const int type = kind == kPrivateMessage ? kPrivate : kPublic;
    ChatPane* pane = FindChannel(type, channel);
    if (!pane)
        return;
    if (pane->name != channel) {
        Settings* settings = CurrentSettings();
        // With every tab taken the line goes to the first tab, as without
        // tabs opened by themselves.
        if ((!settings || settings->GetAutoOpenTab()) && AddChannelTab(type, channel)) {
            pane = FindChannel(type, channel);
            if (!pane)
                return;
        } else if (kind != kPrivateMessage) {
            prefix += ColourCode(kChannelRunColor) + "[" + channel + "] " + "\x02";
        }
    }
    Route(pane, sender, channel, kind, prefix, text);
}

void ChatLog::Route(ChatPane* pane, const std::string& sender, const std::string& channel, int kind,
                    const std::string& prefix, const std::string& text) {
    StatusLine* status = StatusLine::Instance();
    const std::string player = GetLocalPlayerName();
    const bool fromPlayer = !player.empty() && sender == player;
    switch (kind) {
    case kSay:
        pane->AppendText(prefix + sender + ": " + text, fromPlayer ? kOwnSayColor : kSayColor, true);
        if (channel == "Main")
            SpeakOnMap(sender, text);
        break;
    case kBroadcast:
        pane->AppendText(prefix + "Broadcast: " + text, kBroadcastColor, true);
        if (channel == "Main")
            status->SetTimedText(text);
        break;
    case kStatus:
        status->SetText(text);
        break;
    case kScreenText:
        status->SetTimedText(text);
        break;
    case kPlain:
        pane->AppendText(prefix + text, kPlainColor, true);
        break;
    case kPrivateMessage:
        if (fromPlayer) {
            pane->AppendText(prefix + sender + ": " + text, kPlainColor, true);
        } else {
            pane->AppendText(prefix + sender + ": " + text, kPrivateColor, true);
            const std::string shown =
                text.size() > kScreenPrivateLength ? text.substr(0, kScreenPrivateLength) + " [...]" : text;
            status->AddTimedLines(sender + ": " + shown);
        }
        break;
    case kNotice: {
        bool toChat = true;
        bool toScreen = true;
        if (text.find(kDropped) != std::string::npos) {
            Settings* settings = CurrentSettings();
            const int mode = settings ? settings->GetLootMessageDisplay() : 1;
            toChat = mode == 1 || mode == 2;
            toScreen = mode == 1 || mode == 3;
        }
        if (toChat)
            pane->AppendText(prefix + text, kNoticeColor, true);
        if (toScreen)
            status->AddTimedLines(text);
        break;
    }
    case kHighlighted:
        pane->AppendText(prefix + (sender.empty() ? std::string() : sender + ": ") + text, kHighlightColor, true);
        break;
    default:
        break;
    }
}
