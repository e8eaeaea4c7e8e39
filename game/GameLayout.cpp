#include "game/GameLayout.h"

#include <algorithm>

#include "client/ConfigFile.h"
#include "engine/gui/GUIDialog.h"
#include "sidewindows/SideWindow.h"

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
