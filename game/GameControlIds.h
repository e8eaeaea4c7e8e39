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

// The move-items amount dialog: its buttons, the amount's scroll bar and the
// hidden text box that takes typed digits.
constexpr int32_t kMoveItemsDialog = 47;
constexpr int32_t kMoveItemsMove = 48;
constexpr int32_t kMoveItemsCancel = 49;
constexpr int32_t kMoveItemsAmount = 50;
constexpr int32_t kMoveItemsTyped = 167;

// The NPC trade amount ("Trade Item"): its buttons and the amount's text box.
constexpr int32_t kNpcTradeDialog = 53;
constexpr int32_t kNpcTradeButton = 54;
constexpr int32_t kNpcTradeCancel = 55;
constexpr int32_t kNpcTradeAmount = 56;

// The NPC shop's buttons, offer list and tabs (its dialog is kNpcShopDialog).
constexpr int32_t kNpcShopChoose = 126;
constexpr int32_t kNpcShopClose = 127;
constexpr int32_t kNpcShopList = 128;
constexpr int32_t kNpcShopTabs = 129;
constexpr int32_t kNpcShopBuyTab = 130;
constexpr int32_t kNpcShopSellTab = 131;

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

// The player trade window: its lock-or-accept and cancel buttons and the
// scroll bars of the own and the partner's offer.
constexpr int32_t kTradeLockButton = 109;
constexpr int32_t kTradeCancelButton = 110;
constexpr int32_t kTradeOwnScrollbar = 111;
constexpr int32_t kTradePartnerScrollbar = 112;

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

// The guild window and its three small dialogs.
constexpr int32_t kGuildDialog = 275;
constexpr int32_t kGuildWarList = 276;
constexpr int32_t kGuildCancelWar = 277;
constexpr int32_t kGuildNewWar = 278;
constexpr int32_t kGuildClose = 279;
constexpr int32_t kGuildChannelMessage = 280;
constexpr int32_t kGuildInviteName = 281;
constexpr int32_t kGuildAcceptWar = 282;
constexpr int32_t kGuildMemberList = 283;
constexpr int32_t kGuildEditMember = 284;
constexpr int32_t kGuildKick = 285;
constexpr int32_t kGuildSetMessage = 286;
constexpr int32_t kGuildInvite = 287;
constexpr int32_t kGuildEditRanks = 300;
constexpr int32_t kEditMemberDialog = 294;
constexpr int32_t kEditMemberSave = 295;
constexpr int32_t kEditMemberCancel = 296;
constexpr int32_t kEditMemberTitle = 297;
constexpr int32_t kEditMemberRanks = 298;
constexpr int32_t kCreateWarDialog = 301;
constexpr int32_t kCreateWarCreate = 302;
constexpr int32_t kCreateWarCancel = 303;
constexpr int32_t kCreateWarOpponent = 304;
constexpr int32_t kCreateWarFee = 305;
constexpr int32_t kCreateWarLoyalty = 306;
constexpr int32_t kCreateWarDays = 307;
constexpr int32_t kEditRanksDialog = 308;
constexpr int32_t kEditRanksClose = 309;
constexpr int32_t kEditRanksName = 310;
constexpr int32_t kEditRanksCreate = 311;
constexpr int32_t kEditRanksList = 312;
constexpr int32_t kEditRanksUp = 313;
constexpr int32_t kEditRanksDown = 314;
constexpr int32_t kEditRanksRemove = 315;
constexpr int32_t kRankLevelMember = 316;
constexpr int32_t kRankLevelViceLeader = 317;
constexpr int32_t kRankLevelLeader = 318;

// The dialog of a player without a guild.
constexpr int32_t kNoGuildDialog = 288;
constexpr int32_t kNoGuildClose = 289;
constexpr int32_t kNoGuildName = 290;
constexpr int32_t kNoGuildCreate = 291;
constexpr int32_t kNoGuildInvites = 292;
constexpr int32_t kNoGuildJoin = 293;

// What the mouse actions drop things on, and their context menu.
constexpr int32_t kTradeWindow = 108;
constexpr int32_t kNpcShopDialog = 125;
constexpr int32_t kHotkeyEditor = 138;
constexpr int32_t kContextMenu = 188;
constexpr int32_t kMarketDialog = 196;
constexpr int32_t kBrewingDialog = 324;

// The hotkey editor "Select Action" (its dialog is kHotkeyEditor).
constexpr int32_t kHotkeyTabs = 135;
constexpr int32_t kHotkeyTabGeneral = 334;
constexpr int32_t kHotkeyTabSupport = 136;
constexpr int32_t kHotkeyTabOffensive = 137;
constexpr int32_t kHotkeyList = 134;
constexpr int32_t kHotkeyTarget = 189;
constexpr int32_t kHotkeyDescription = 217;
constexpr int32_t kHotkeySave = 132;
constexpr int32_t kHotkeyCancel = 133;

// The "Spell Library".
constexpr int32_t kSpellLibraryDialog = 228;
constexpr int32_t kSpellLibraryList = 229;
constexpr int32_t kSpellLibraryTabs = 230;
constexpr int32_t kSpellLibraryTabWarrior = 231;
constexpr int32_t kSpellLibraryTabRanger = 232;
constexpr int32_t kSpellLibraryTabMage = 233;
constexpr int32_t kSpellLibraryClose = 234;
constexpr int32_t kSpellLibraryDescription = 236;

// The "Talents" dialog.
constexpr int32_t kTalentsDialog = 241;
constexpr int32_t kTalentsSave = 242;

// The "Character Outfit" dialog. The game screen's layout save queues it with
// the chat area's controls.
constexpr int32_t kOutfitDialog = 27;
constexpr int32_t kOutfitClose = 28;
constexpr int32_t kOutfitSave = 29;
constexpr int32_t kOutfitTabs = 30;
constexpr int32_t kOutfitTabBody = 32;
constexpr int32_t kOutfitTabLegs = 33;
constexpr int32_t kOutfitTabFeet = 34;
constexpr int32_t kOutfitPrevious = 42;
constexpr int32_t kOutfitNext = 43;
constexpr int32_t kOutfitTabSkin = 193;
constexpr int32_t kOutfitTabBeard = 194;
constexpr int32_t kOutfitTabHair = 195;

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

// The house management: its tabs and pages. The Ownership page's name and
// price boxes, the Decoration page's list and button.
constexpr int32_t kHouseDialog = 148;
constexpr int32_t kHouseTabs = 149;
constexpr int32_t kHouseTabInvites = 150;
constexpr int32_t kHouseTabPermissions = 151;
constexpr int32_t kHouseSave = 152;
constexpr int32_t kHouseCancel = 153;
constexpr int32_t kHouseName = 154;
constexpr int32_t kHouseAdd = 155;
constexpr int32_t kHousePersons = 156;
constexpr int32_t kHouseRemove = 157;
constexpr int32_t kHouseSubOwner = 158;
constexpr int32_t kHouseNoEntry = 159;
constexpr int32_t kHouseDoor = 160;
constexpr int32_t kHouseEditRights = 161;
constexpr int32_t kHouseTabOwnership = 218;
constexpr int32_t kHouseAbandonCheck = 219;
constexpr int32_t kHouseAbandon = 220;
constexpr int32_t kHouseNewOwner = 221;
constexpr int32_t kHousePrice = 222;
constexpr int32_t kHouseTransfer = 223;
constexpr int32_t kHouseDecorations = 262;
constexpr int32_t kHouseBuy = 263;

// The house bidding.
constexpr int32_t kHouseBiddingDialog = 162;
constexpr int32_t kHouseBid = 163;
constexpr int32_t kHouseBiddingClose = 164;
constexpr int32_t kHouseBiddingList = 165;
constexpr int32_t kHouseBidAmount = 166;

// The item market (its window is kMarketDialog above), its two offer dialogs
// and the history window.
constexpr int32_t kMarketClose = 197;
constexpr int32_t kMarketSearch = 198;
constexpr int32_t kMarketAmount = 199;
constexpr int32_t kMarketAccept = 200;
constexpr int32_t kMarketRefresh = 201;
constexpr int32_t kMarketBack = 205;
constexpr int32_t kMarketViewHistory = 206;
constexpr int32_t kMarketOffers = 207;
constexpr int32_t kMarketCreateBuyOffer = 270;
constexpr int32_t kSellOfferDialog = 256;
constexpr int32_t kSellOfferAmount = 257;
constexpr int32_t kSellOfferPrice = 258;
constexpr int32_t kSellOfferCreate = 259;
constexpr int32_t kSellOfferCancel = 260;
constexpr int32_t kBuyOfferDialog = 267;
constexpr int32_t kBuyOfferAmount = 268;
constexpr int32_t kBuyOfferPrice = 269;
constexpr int32_t kBuyOfferItems = 271;
constexpr int32_t kBuyOfferSearch = 274;
constexpr int32_t kBuyOfferCreate = 265;
constexpr int32_t kBuyOfferCancel = 266;
constexpr int32_t kMarketHistoryDialog = 272;
constexpr int32_t kMarketHistoryTable = 208;
constexpr int32_t kMarketHistoryClose = 273;

}  // namespace GameIds
