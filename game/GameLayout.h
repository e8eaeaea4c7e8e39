#pragma once

#include <string>
#include <vector>

class ConfigFile;
class SideWindow;

// Where one side window was: the frame's rectangle and its minimised state.
// `placed` says the saved position is used (the skills and friends windows
// have a default place without one).
struct SideWindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool minimized = false;
    bool placed = true;
};

// The game screen's layout as the section "windows" of the main ini file keeps
// it: read and clamped once when the game starts, written back when it ends.
struct GameLayout {
    static constexpr int kMinChatHeight = 138;
    static constexpr int kMaxChatHeight = 400;
    static constexpr int kActionsHeight = 177;
    static constexpr int kInventoryHeight = 238;

    SideWindowPlacement minimap;
    SideWindowPlacement actions;
    SideWindowPlacement inventory;
    SideWindowPlacement status;
    SideWindowPlacement friends;
    float minimapZoom = 2.0f;     // 0.25 .. 4.0
    bool inventoryMinor = false;  // the compact inventory
    int leftBarWidth = 165;
    int rightBarWidth = 0;
    int chatHeight = kMinChatHeight;
    // The hotkey bar's thickness and dock side, only when they were saved.
    bool hasSpellBox = false;
    int spellBoxSize = 0;
    int spellBoxPosition = 0;
};

// The layout an ini file describes, with every value clamped as the windows
// need it. The skills and friends windows without a saved place go to the
// right panel's left edge: screenWidth - rightPanelWidth.
GameLayout ReadGameLayout(const ConfigFile& options, int screenWidth, int rightPanelWidth);
// Writes every "windows" key of the layout, and the character's action-group
// count under "actiongroup-" and its name (not without a name).
void WriteGameLayout(ConfigFile& options, const GameLayout& layout, const std::string& playerName,
                     int actionGroups);
// A frame's rectangle in client pixels.
struct FrameRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
// Where a frame goes so that a saved place outside the client area (an edited
// or damaged ini file) cannot keep it out of reach for good: moved the least
// way in, narrowed to the area when wider. A frame taller than the area keeps
// its height with its top at the area's top, as dragging leaves it: a column
// may run off the bottom, a title bar must not. An empty area changes nothing.
FrameRect FitInside(FrameRect frame, int areaWidth, int areaHeight);
// Moves a new side window's frame to the saved place, fitted into the area.
void PlaceSideWindow(SideWindow& window, const SideWindowPlacement& placement, int areaWidth, int areaHeight);

// The welcome dialog opens when the server asks for it and the player has not
// seen it yet.
bool WelcomeWanted(const ConfigFile& options, bool showWelcome);
// The channels to join at entry, in order: every channel recorded as open, or
// the default ones on a first start (no "channels" section before the game
// opened its own tab). The old name "Chat" is rewritten to "English" in place;
// an entry without a name is no channel and is dropped.
std::vector<std::string> ChannelsToJoin(ConfigFile& options, bool sectionExisted);
