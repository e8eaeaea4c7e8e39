#include "game/GameInterface.h"

#include <cstdlib>

#include "client/Client.h"
#include "dialogs/character/BrewingDialog.h"
#include "dialogs/character/HotkeyDialog.h"
#include "dialogs/character/QuestLogDialog.h"
#include "dialogs/character/RecipesDialog.h"
#include "dialogs/character/SpellLibraryDialog.h"
#include "dialogs/character/SummonMonsterDialog.h"
#include "dialogs/character/TalentsDialog.h"
#include "dialogs/social/GMBanDialog.h"
#include "dialogs/social/GMWindow.h"
#include "dialogs/social/GuildDialog.h"
#include "dialogs/social/IgnoreList.h"
#include "dialogs/social/NoGuildDialog.h"
#include "dialogs/social/OnlineListDialog.h"
#include "dialogs/social/OpenChannelDialog.h"
#include "dialogs/social/OptionsDialog.h"
#include "dialogs/social/QuitDialog.h"
#include "dialogs/social/ReportDialog.h"
#include "dialogs/social/TutorialDialog.h"
#include "dialogs/social/WelcomeDialog.h"
#include "dialogs/trade/HouseBiddingDialog.h"
#include "dialogs/trade/HouseDialog.h"
#include "dialogs/trade/MarketDialog.h"
#include "dialogs/trade/MoveItemsDialog.h"
#include "dialogs/trade/NpcShopDialog.h"
#include "dialogs/trade/NpcTradeDialog.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIManager.h"
#include "game/BuffTimers.h"
#include "game/ConfirmDialog.h"
#include "game/ExperienceWindow.h"
#include "game/FollowedCreature.h"
#include "game/GameWorldHooks.h"
#include "game/HotkeyBar.h"
#include "game/PagedTextWindow.h"
#include "game/ThingActions.h"
#include "game/TipMessages.h"
#include "protocol/Protocol.h"
#include "sidewindows/SidePanel.h"
#include "sidewindows/SideWindow.h"
#include "sidewindows/WorldMapDialog.h"
#include "world/Creature.h"
#include "world/EffectList.h"
#include "world/FloatingTexts.h"
#include "world/LightMap.h"
#include "world/Map.h"

// The game screen's construction and teardown; its input, frame, side
// windows and layout have files of their own, listed in GameInterface.h.

std::string GetLocalPlayerName() {
    const GameInterface* game = Client::Instance()->game;
    const Creature* player = game ? FollowedCreature(game->map) : nullptr;
    return player ? player->name : std::string();
}

GameInterface::GameInterface(bool showWelcome) {
    Client* client = Client::Instance();
    app = client->app;
    gui = app->gui;
    settings = client->settings;
    protocol = client->protocol;

    map = new Map(GameWorldHooks::Instance());
    map->app = app;
    LightMap::Instance()->map = map;
    thingActions = new ThingActions();
    pagedText = new PagedTextWindow(app, map);
    floatingTexts = new FloatingTexts();
    effects = new EffectList();
    map->effects = effects;
    map->random = [] { return std::rand(); };
    effects->map = map;
    floatingTexts->map = map;
    hotkeyBar = new HotkeyBar();
    experienceWindow = new ExperienceWindow();
    buffTimers = new BuffTimers();
    tipMessages = new TipMessages();

    npcShop = new NpcShopDialog();
    hotkeyDialog = new HotkeyDialog();
    ignoreList = new IgnoreList();
    house = new HouseDialog();
    houseBidding = new HouseBiddingDialog();
    summonMonster = new SummonMonsterDialog();
    moveItems = new MoveItemsDialog();
    market = new MarketDialog();
    welcome = new WelcomeDialog();
    spellLibrary = new SpellLibraryDialog();
    talents = new TalentsDialog();
    worldMap = new WorldMapDialog();
    guild = new GuildDialog();
    noGuild = new NoGuildDialog();
    tutorial = new TutorialDialog();
    brewing = new BrewingDialog();
    recipes = new RecipesDialog();

    leftPanel = new SidePanel(true);
    rightPanel = new SidePanel(false);
    RestoreLayout(showWelcome);
}

GameInterface::~GameInterface() {
    // Saved first, while every window still has the geometry of the last frame.
    SaveContainerSettings();
    gui->ClearTooltips();
    // The box's OK action points at this object.
    ConfirmDialog::Instance()->Close();
    // The client's own dialogs opened over the game go with it too: the login
    // screen comes back alone.
    QuitDialog::Instance()->Close();
    DialogHelper(gui, OptionsDialog::kDialogId).Close();
    // The merchant's amount question outlives the game screen with its
    // module; over the login screen its "Trade" would go to the login server.
    if (NpcTradeDialog* npcTrade = NpcTradeDialog::IfCreated())
        npcTrade->Close();
    SaveLayout();
    // Dialogs of modules that outlive the game screen: open on the login
    // screen, "Open" would send a join on the login connection. The options
    // the player changed are saved once by whoever ends the game.
    OpenChannelDialog::Instance()->Close();

    // A dialog closed here stays in the GUI tree until the manager's next
    // update, but from now on it is not found, drawn or given input, so none
    // of its callbacks reaches the freed module.
    if (moveItems) {
        moveItems->Close();
        delete moveItems;
    }
    if (effects) {
        effects->Clear();
        delete effects;
    }
    if (floatingTexts) {
        floatingTexts->Clear();
        delete floatingTexts;
    }
    if (pagedText) {
        pagedText->Reset();
        delete pagedText;
    }
    delete hotkeyBar;
    if (tipMessages) {
        tipMessages->Clear();
        delete tipMessages;
    }
    delete experienceWindow;
    if (buffTimers) {
        buffTimers->Clear();
        delete buffTimers;
    }
    auto close = [](auto*& module) {
        if (module) {
            module->Close();
            delete module;
            module = nullptr;
        }
    };
    close(npcShop);
    close(hotkeyDialog);
    close(ignoreList);
    close(house);
    close(houseBidding);
    close(summonMonster);
    close(market);
    close(welcome);
    close(spellLibrary);
    close(talents);
    close(worldMap);
    close(guild);
    close(noGuild);
    close(tutorial);
    close(brewing);
    close(recipes);
    // The protocol keeps the quest log, but it belongs to this game: it
    // closes with it rather than on the login screen's first frame.
    if (QuestLogDialog* log = protocol ? protocol->questLog : nullptr)
        log->Close();
    if (thingActions) {
        thingActions->Clear();
        delete thingActions;
    }
    if (LightMap::Instance()->map == map)
        LightMap::Instance()->map = nullptr;
    delete map;
    map = nullptr;
    close(reportDialog);
    close(gmWindow);
    // The staff singletons outlive the game; their dialogs do not, or their
    // refreshes would go on over the login screen.
    GMBanDialog::Instance()->Close();
    OnlineListDialog::Instance()->Close();
    for (SidePanel* panel : {leftPanel, rightPanel}) {
        if (panel) {
            panel->Clear();
            delete panel;
        }
    }

    // The list alone owns the side windows, the container windows included.
    for (SideWindow* window : sideWindows)
        delete window;
    sideWindows.clear();
}

void GameInterface::StampEnterTick() { enterGameTick = GetTicks(); }

void GameInterface::CloseReportDialog() {
    if (!reportDialog)
        return;
    reportDialog->Close();
    delete reportDialog;
    reportDialog = nullptr;
}

void GameInterface::CloseOwnedDialog() {
    if (!gmWindow)
        return;
    gmWindow->Close();
    delete gmWindow;
    gmWindow = nullptr;
}
