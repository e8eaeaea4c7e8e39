#include "game/GameLayout.h"

#include <algorithm>
#include <cstdint>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/social/WelcomeDialog.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/ChatLog.h"
#include "game/GameInterface.h"
#include "game/HotkeyBar.h"
#include "protocol/Protocol.h"
#include "sidewindows/Actions.h"
#include "sidewindows/CStatus.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Inventory.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/Party.h"
#include "sidewindows/SidePanel.h"
#include "sidewindows/SideWindow.h"
#include "world/Map.h"

namespace {

const char kWindows[] = "windows";

const char* const kDefaultChannels[] = {"English", "Trade", "Support", "Portuguese", "Polish"};

int Read(const ConfigFile& options, const std::string& key) { return options.GetInt(kWindows, key); }

// x, y, width and the minimised flag of a window under its key prefix.
SideWindowPlacement ReadPlacement(const ConfigFile& options, const std::string& prefix) {
    SideWindowPlacement placement;
    placement.x = Read(options, prefix + "x");
    placement.y = Read(options, prefix + "y");
    placement.width = Read(options, prefix + "width");
    placement.height = Read(options, prefix + "height");
    placement.minimized = options.GetBool(kWindows, prefix + "minimized");
    return placement;
}

void WritePlacement(ConfigFile& options, const std::string& prefix, const SideWindowPlacement& placement) {
    options.SetInt(kWindows, prefix + "x", placement.x);
    options.SetInt(kWindows, prefix + "y", placement.y);
    options.SetInt(kWindows, prefix + "width", placement.width);
    options.SetInt(kWindows, prefix + "height", placement.height);
    options.SetBool(kWindows, prefix + "minimized", placement.minimized);
}

}  // namespace

GameLayout ReadGameLayout(const ConfigFile& options, int screenWidth, int rightPanelWidth) {
    GameLayout layout;

    layout.minimap = ReadPlacement(options, "minimap");
    layout.minimap.height = std::clamp(layout.minimap.height, 175, 300);
    if (options.HasKey(kWindows, "minimapzoom"))
        layout.minimapZoom = 0.25f * float(std::clamp(Read(options, "minimapzoom"), 1, 16));

    layout.actions = ReadPlacement(options, "actions");
    layout.actions.height = GameLayout::kActionsHeight;

    layout.inventory = ReadPlacement(options, "inventory");
    layout.inventory.height = GameLayout::kInventoryHeight;
    layout.inventoryMinor = options.GetBool(kWindows, "inventoryminor");

    // Without a saved place the skills and friends windows open at the top of
    // the right panel, one under the other, and not minimised.
    layout.status = ReadPlacement(options, "status");
    layout.status.height = std::clamp(layout.status.height, 119, 334);
    if (!options.HasKey(kWindows, "statusx")) {
        layout.status.placed = false;
        layout.status.x = screenWidth - rightPanelWidth;
        layout.status.y = 0;
        layout.status.minimized = false;
    }
    layout.friends = ReadPlacement(options, "friends");
    layout.friends.height = std::max(layout.friends.height, 107);
    if (!options.HasKey(kWindows, "friendsx")) {
        layout.friends.placed = false;
        layout.friends.x = screenWidth - rightPanelWidth;
        layout.friends.y = 119;
        layout.friends.minimized = false;
    }

    layout.leftBarWidth = options.HasKey(kWindows, "leftbarwidth") ? Read(options, "leftbarwidth") : 165;
    layout.rightBarWidth = Read(options, "rightbarwidth");
    layout.chatHeight = std::clamp(Read(options, "chath"), GameLayout::kMinChatHeight, GameLayout::kMaxChatHeight);
    if (options.HasKey(kWindows, "spellboxsize")) {
        layout.hasSpellBox = true;
        layout.spellBoxSize = std::clamp(Read(options, "spellboxsize"), 52, 94);
        layout.spellBoxPosition = std::clamp(Read(options, "spellboxposition"), 0, 3);
    }
    return layout;
}

void WriteGameLayout(ConfigFile& options, const GameLayout& layout, const std::string& playerName,
                     int actionGroups) {
    const SideWindowPlacement& minimap = layout.minimap;
    options.SetInt(kWindows, "minimapx", minimap.x);
    options.SetInt(kWindows, "minimapy", minimap.y);
    options.SetInt(kWindows, "minimapzoom", int(4.0f * layout.minimapZoom));
    options.SetInt(kWindows, "minimapwidth", minimap.width);
    options.SetInt(kWindows, "minimapheight", minimap.height);
    options.SetBool(kWindows, "minimapminimized", minimap.minimized);
    WritePlacement(options, "actions", layout.actions);
    WritePlacement(options, "inventory", layout.inventory);
    options.SetBool(kWindows, "inventoryminor", layout.inventoryMinor);
    WritePlacement(options, "status", layout.status);
    WritePlacement(options, "friends", layout.friends);
    options.SetInt(kWindows, "chath", layout.chatHeight);
    options.SetInt(kWindows, "leftbarwidth", layout.leftBarWidth);
    options.SetInt(kWindows, "rightbarwidth", layout.rightBarWidth);
    // The count belongs to one character; without one, or with a name the
    // file cannot hold as a key, it is not kept.
    const std::string groupKey = "actiongroup-" + playerName;
    if (!playerName.empty() && ConfigFile::IsStorableKey(groupKey))
        options.SetInt(kWindows, groupKey, actionGroups);
    options.SetInt(kWindows, "spellboxsize", layout.spellBoxSize);
    options.SetInt(kWindows, "spellboxposition", layout.spellBoxPosition);
}

FrameRect FitInside(FrameRect frame, int areaWidth, int areaHeight) {
    if (areaWidth <= 0 || areaHeight <= 0)
        return frame;
    frame.width = std::min(frame.width, areaWidth);
    frame.x = std::clamp(frame.x, 0, areaWidth - frame.width);
    frame.y = std::clamp(frame.y, 0, std::max(0, areaHeight - frame.height));
    return frame;
}

void PlaceSideWindow(SideWindow& window, const SideWindowPlacement& placement, int areaWidth, int areaHeight) {
    GUIDialog* dialog = window.dialog;
    const FrameRect fitted =
        FitInside({placement.x, placement.y, dialog->width, dialog->height}, areaWidth, areaHeight);
    dialog->width = fitted.width;
    dialog->MoveBy(fitted.x - dialog->x, fitted.y - dialog->y);
    window.PlaceControls();
}

bool WelcomeWanted(const ConfigFile& options, bool showWelcome) {
    return showWelcome && !options.GetBool("options", "viewedtutorialinfo");
}

std::vector<std::string> ChannelsToJoin(ConfigFile& options, bool sectionExisted) {
    std::vector<std::string> channels;
    if (!sectionExisted) {
        channels.assign(std::begin(kDefaultChannels), std::end(kDefaultChannels));
        return channels;
    }
    // A copy: the rewrite below changes the section under the walk.
    std::vector<std::pair<std::string, std::string>> entries;
    for (const ConfigEntry* entry : options.GetSectionEntries("channels"))
        entries.emplace_back(entry->key, entry->value);
    for (const auto& [key, value] : entries) {
        if (key.empty()) {
            // Joining it would ask the server for a channel without a name.
            options.RemoveKey("channels", key);
            continue;
        }
        if (value != "true")
            continue;
        std::string name = key;
        if (name == "Chat") {
            options.SetBool("channels", "Chat", false);
            options.SetBool("channels", "English", true);
            name = "English";
        }
        channels.push_back(name);
    }
    return channels;
}

// --- The game screen's layout: restored from the options when it is built,
// saved back when it is torn down ---

namespace {

const int kChatButtonSize = 18;
const int kCloseChannelIcon = 169;
const int kChannelListIcon = 880;
const int kIgnoreListIcon = 1530;
const uint32_t kChatFill = 0x32000000;  // black at alpha 50

}  // namespace

void GameInterface::RestoreLayout(bool showWelcome) {
    ConfigFile* config = settings->options;
    // Asked first: opening "Main" below records it in that section.
    const bool hadChannels = config->FindSection("channels") != nullptr;

    GUITextbox* input = new GUITextbox();
    input->id = kChatInputId;
    gui->AddControl(input, true);
    input->fillColor = kChatFill;
    // Typing right after entering is chatting, as after any in-game dialog.
    gui->focus = input;
    GUITabgroup* tabs = new GUITabgroup();
    tabs->id = kTabGroupId;
    tabs->SetRightMargin(54);
    tabs->SetAlwaysScroll(true);
    gui->AddControl(tabs, true);
    tabs->fillColor = kChatFill;

    ChatLog::Instance()->AddChannelTab(ChatLog::kPublic, "Main");

    const struct {
        int id;
        int icon;
        GUIButton::Action action;
    } buttons[] = {
        {kCloseChannelButtonId, kCloseChannelIcon, &GameInterface::CloseActiveChannel},
        {kChannelListButtonId, kChannelListIcon, &GameInterface::OpenChannelList},
        {kIgnoreListButtonId, kIgnoreListIcon, &GameInterface::OpenIgnoreList},
    };
    for (const auto& made : buttons) {
        GUIButton* button = new GUIButton(made.id, "", made.action, this);
        button->SetIcon(made.icon);
        gui->AddControl(button, true);
    }

    const GameLayout layout = ReadGameLayout(*config, app->clientWidth, rightPanel->GetWidth());
    auto place = [this](SideWindow* window, const SideWindowPlacement& placement) {
        sideWindows.push_back(window);
        PlaceSideWindow(*window, placement, app->clientWidth, app->clientHeight);
    };

    minimap = new Minimap();
    minimap->Create("Minimap", layout.minimap.width, layout.minimap.height);
    minimap->AddMinimizeButton();
    minimap->dialog->SetSizeLimits(165, 241, 175, 300);
    place(minimap, layout.minimap);
    minimap->ToggleMinimize(layout.minimap.minimized);
    minimap->zoom = layout.minimapZoom;

    actions = new Actions();
    actions->Create("Actions", layout.actions.width, layout.actions.height);
    actions->AddMinimizeButton();
    actions->dialog->ClearFlag(GUIControl::kResizeHeight);
    place(actions, layout.actions);
    actions->ToggleMinimize(layout.actions.minimized);

    inventory = new Inventory();
    inventory->Create("Inventory", layout.inventory.width, layout.inventory.height);
    inventory->AddMinimizeButton();
    inventory->dialog->ClearFlag(GUIControl::kResizeHeight);
    place(inventory, layout.inventory);
    inventory->SetExpanded(!layout.inventoryMinor);
    inventory->ToggleMinimize(layout.inventory.minimized);

    status = new CStatus();
    status->Create("Abilities", layout.status.width, layout.status.height);
    status->AddMinimizeButton();
    status->dialog->SetSizeLimits(165, 241, 119, 334);
    place(status, layout.status);
    if (layout.status.placed)
        status->ToggleMinimize(layout.status.minimized);

    friends = new Friends();
    friends->Create("People", layout.friends.width, layout.friends.height);
    friends->AddMinimizeButton();
    friends->dialog->SetSizeLimits(165, 241, 107, 202);
    place(friends, layout.friends);
    if (layout.friends.placed)
        friends->ToggleMinimize(layout.friends.minimized);

    party = new Party();
    party->Create("Party", 165, 90);
    party->AddMinimizeButton();
    party->dialog->SetSizeLimits(165, 241, 90, 202);
    sideWindows.push_back(party);
    party->dialog->SetFlag(GUIControl::kHidden);

    for (SideWindow* window : sideWindows)
        window->Update();

    leftPanel->SetWidth(settings->GetLeftBarWidth());
    rightPanel->SetWidth(layout.rightBarWidth);
    chatHeight = layout.chatHeight;
    if (layout.hasSpellBox) {
        hotkeyBar->thickness = layout.spellBoxSize;
        hotkeyBar->side = layout.spellBoxPosition;
    }
    if (WelcomeWanted(*config, showWelcome)) {
        welcome->Show();
        welcomeShown = 1;
    }
    // The tabs open when the server answers each join.
    for (const std::string& channel : ChannelsToJoin(*config, hadChannels))
        protocol->SendJoinChannel(ChatLog::kPublic, channel);
}

GameLayout GameInterface::CurrentLayout() const {
    GameLayout layout;
    auto read = [](const SideWindow* window, SideWindowPlacement& placement) {
        if (!window || !window->dialog)
            return;
        placement.x = window->dialog->x;
        placement.y = window->dialog->y;
        placement.width = window->dialog->width;
        placement.height = window->dialog->height;
        placement.minimized = window->minimized != 0;
    };
    read(minimap, layout.minimap);
    read(actions, layout.actions);
    read(inventory, layout.inventory);
    read(status, layout.status);
    read(friends, layout.friends);
    if (minimap)
        layout.minimapZoom = minimap->zoom;
    layout.inventoryMinor = inventory && !inventory->expanded;
    layout.chatHeight = chatHeight;
    layout.leftBarWidth = leftPanel ? leftPanel->GetWidth() : 0;
    layout.rightBarWidth = rightPanel ? rightPanel->GetWidth() : 0;
    if (hotkeyBar) {
        layout.hasSpellBox = true;
        layout.spellBoxSize = hotkeyBar->thickness;
        layout.spellBoxPosition = hotkeyBar->side;
    }
    return layout;
}

void GameInterface::SaveLayout() {
    WriteGameLayout(*settings->options, CurrentLayout(), GetLocalPlayerName(),
                    hotkeyBar ? hotkeyBar->actionGroups : 1);
    ChatLog::Instance()->Clear();
    // The outfit dialog goes with the chat area; its module lives on.
    for (int id : {kChatInputId, kTabGroupId, GameIds::kOutfitDialog, kChannelListButtonId, kCloseChannelButtonId,
                   kIgnoreListButtonId})
        gui->DeleteLater(id);
}

void GameInterface::LayoutChatArea() {
    const int width = app->clientWidth;
    const int height = app->clientHeight;
    const int left = leftPanel->GetWidth();
    const int right = rightPanel->GetWidth();
    // The minimum wins over the cap on a low window.
    chatHeight = std::max(std::min(chatHeight, height - 372), int(GameLayout::kMinChatHeight));

    const int top = height - chatHeight;
    if (GUIControl* input = gui->FindControl(kChatInputId))
        input->SetRect(left + 7, height - 27, width - left - right - 14, 20);
    if (GUIControl* tabs = gui->FindControl(kTabGroupId))
        tabs->SetRect(left + 7, top + 7, width - left - right - 14, 20);
    const struct {
        int id;
        int fromRight;
    } buttons[] = {{kCloseChannelButtonId, 41}, {kChannelListButtonId, 59}, {kIgnoreListButtonId, 77}};
    for (const auto& button : buttons)
        if (GUIControl* control = gui->FindControl(button.id))
            control->SetRect(width - right - button.fromRight, top + 8, kChatButtonSize, kChatButtonSize);

    ChatLog::Instance()->OnResize(chatHeight);
    hotkeyBar->OnResize(chatHeight);
    ViewSurround surround;
    surround.leftPanelWidth = left;
    surround.rightPanelWidth = right;
    surround.hotkeySide = hotkeyBar->side;
    surround.hotkeyThickness = hotkeyBar->thickness;
    surround.statBarPosition = settings->GetStatBarPosition();
    surround.stretching = settings->GetFieldStretching();
    map->LayoutView(width, height, chatHeight, surround);
    rightPanel->AlignToScreen(width, height);
}

void GameInterface::LoadActionGroups() {
    const int saved = settings->options->GetInt("windows", "actiongroup-" + GetLocalPlayerName());
    hotkeyBar->actionGroups = std::clamp(saved, 1, 10);
    hotkeyBar->Layout();
}
