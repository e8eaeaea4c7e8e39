#pragma once

#include <cstdint>

// The control ids of the game screen and of its dialogs, each defined here
// once; modules that find each other's controls, the dialogs and the tests use
// these names. A new dialog of the game screen adds its ids here.
namespace GameIds {

// The chat area.
constexpr int32_t kChatInput = 25;          // a GUITextbox; has the focus while playing
constexpr int32_t kChatTabs = 26;           // the GUITabgroup of the chat tabs
constexpr int32_t kLeaveChannelButton = 57;
constexpr int32_t kChannelListButton = 58;
constexpr int32_t kIgnoreListButton = 139;
// The tab of the k-th channel opened is kFirstChannelTab + 2k, its text box
// the id after it.
constexpr int32_t kFirstChannelTab = 30000;

// The move-items amount dialog.
constexpr int32_t kMoveItemsDialog = 47;
// The game master's name box: focus in it, as in the chat input, keeps the
// movement keys working.
constexpr int32_t kGmNameBox = 123;

// The "Open Channel" dialog.
constexpr int32_t kOpenChannelDialog = 59;
constexpr int32_t kOpenChannelOpen = 60;
constexpr int32_t kOpenChannelCancel = 61;
constexpr int32_t kOpenChannelName = 62;
constexpr int32_t kOpenChannelLabel = 63;
constexpr int32_t kOpenChannelList = 64;

// The "Report" dialog.
constexpr int32_t kReportDialog = 115;
constexpr int32_t kReportSend = 116;
constexpr int32_t kReportCancel = 117;
constexpr int32_t kReportText = 118;

// The "Ignore List" dialog.
constexpr int32_t kIgnoreListDialog = 140;
constexpr int32_t kIgnoreListClose = 141;
constexpr int32_t kIgnoreListNames = 142;
constexpr int32_t kIgnoreListName = 143;
constexpr int32_t kIgnoreListAdd = 144;
constexpr int32_t kIgnoreListRemove = 145;

// The welcome dialog of a new player.
constexpr int32_t kWelcomeDialog = 212;
constexpr int32_t kWelcomeStart = 213;
constexpr int32_t kWelcomeTabs = 214;
constexpr int32_t kWelcomeText = 216;

// The dialog of the completed tutorial.
constexpr int32_t kTutorialDialog = 321;
constexpr int32_t kTutorialText = 322;
constexpr int32_t kTutorialClose = 323;

// The "Quit Client" question.
constexpr int32_t kQuitDialog = 89;
constexpr int32_t kQuitButton = 90;
constexpr int32_t kQuitCancel = 91;
constexpr int32_t kQuitLogout = 92;

// The world map and its "Add Marker" dialog.
constexpr int32_t kWorldMapDialog = 244;
constexpr int32_t kWorldMapClose = 245;
constexpr int32_t kWorldMapMenu = 251;
constexpr int32_t kAddMarkerDialog = 252;
constexpr int32_t kAddMarkerText = 253;
constexpr int32_t kAddMarkerButton = 254;

// The side windows' frames.
constexpr int32_t kMinimapWindow = 44;
constexpr int32_t kInventoryWindow = 46;
constexpr int32_t kSkillsWindow = 51;
constexpr int32_t kFriendsWindow = 72;
constexpr int32_t kPartyWindow = 93;
constexpr int32_t kActionsWindow = 224;
// The container window of slot i is kFirstContainerWindow + 2i.
constexpr int32_t kFirstContainerWindow = 20000;

// The actions window's buttons that have ids of their own.
constexpr int32_t kAutofollowButton = 146;
constexpr int32_t kOptionsButton = 168;
constexpr int32_t kQuestsButton = 225;
constexpr int32_t kSpellsButton = 226;
constexpr int32_t kLogoutButton = 227;
constexpr int32_t kFightmodeButton = 235;
constexpr int32_t kTalentsButton = 240;
constexpr int32_t kGuildButton = 299;

// What the mouse actions drop things on, and their context menu.
constexpr int32_t kTradeWindow = 108;
constexpr int32_t kNpcShopDialog = 125;
constexpr int32_t kHotkeyEditor = 138;
constexpr int32_t kContextMenu = 188;
constexpr int32_t kMarketDialog = 196;
constexpr int32_t kBrewingDialog = 324;

}  // namespace GameIds
