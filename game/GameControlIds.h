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
// The game master's window; its name box takes focus as the chat input does,
// so the movement keys keep working while it has it.
constexpr int32_t kGmWindow = 119;
constexpr int32_t kGmClose = 120;
constexpr int32_t kGmOnlineListButton = 121;
constexpr int32_t kGmReadReport = 122;
constexpr int32_t kGmNameBox = 123;

// The game master's ban dialog.
constexpr int32_t kBanDialog = 100;
constexpr int32_t kBanButton = 101;  // "Ban/warn" or "Unban"
constexpr int32_t kBanClose = 102;
constexpr int32_t kBanName = 103;
constexpr int32_t kBanRules = 104;
constexpr int32_t kBanDays = 105;
constexpr int32_t kBanComment = 106;
constexpr int32_t kBanWarning = 107;

// The online list of the game master's tools.
constexpr int32_t kOnlineListDialog = 335;
constexpr int32_t kOnlineList = 336;

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

// The character dialogs the server opens: the quest and achievement log, the
// summon list, brewing and the learned recipes.
constexpr int32_t kQuestLogDialog = 169;
constexpr int32_t kQuestLogClose = 170;
constexpr int32_t kQuestLogList = 171;
constexpr int32_t kQuestLogDetail = 179;
constexpr int32_t kSummonDialog = 180;
constexpr int32_t kSummonList = 181;
constexpr int32_t kSummonButton = 182;
constexpr int32_t kSummonCancel = 183;
constexpr int32_t kBrewingAmount = 325;
constexpr int32_t kBrewingBegin = 326;
constexpr int32_t kBrewingFinish = 327;
constexpr int32_t kRecipesDialog = 328;
constexpr int32_t kRecipesList = 329;
constexpr int32_t kRecipesText = 330;
constexpr int32_t kBrewingClose = 331;

}  // namespace GameIds
