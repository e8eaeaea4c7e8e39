#include "game/GameInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <typeinfo>

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Settings.h"
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
#include "dialogs/trade/TradeWindow.h"
#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/BuffTimers.h"
#include "game/ChatLinks.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/ConfirmDialog.h"
#include "game/ExperienceWindow.h"
#include "game/GameControlIds.h"
#include "game/GameWorldHooks.h"
#include "game/HotkeyBar.h"
#include "game/KeyRules.h"
#include "game/PagedTextWindow.h"
#include "game/StatBars.h"
#include "game/ThingActions.h"
#include "game/TipMessages.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "sidewindows/Actions.h"
#include "sidewindows/CStatus.h"
#include "sidewindows/Container.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Inventory.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/Party.h"
#include "sidewindows/SidePanel.h"
#include "sidewindows/SideWindow.h"
#include "sidewindows/WorldMapDialog.h"
#include "world/EffectList.h"
#include "world/FloatingTexts.h"
#include "world/Creature.h"
#include "world/LightMap.h"
#include "world/Map.h"

namespace {

const int kChatButtonSize = 18;
const int kCloseChannelIcon = 169;
const int kChannelListIcon = 880;
const int kIgnoreListIcon = 1530;
const uint32_t kChatFill = 0x32000000;  // black at alpha 50
const int kMoveItemsDialogId = GameIds::kMoveItemsDialog;
// A list of the game screen whose keys walk all the same.
const int kWalkingListId = GameIds::kGmNameBox;

const int kHealthBarSprite = 6195;
const int kManaBarSprite = 6196;
const uint32_t kBarFill = 0x1E000000;
const uint32_t kFadeColor = 0xFF000000;
const uint32_t kWarningColor = 0xFF0000FF;
const uint32_t kFadeMs = 750;
const float kLowHealth = 0.3f;

const char kLinkWarningTitle[] = "Warning!";
const char kLinkWarningText[] = "Entering unofficial websites might lead\nto your account being hacked, be careful!";

// Movement keys in the order of moveKeyHeld, and their numeric-keypad twins.
const int kMoveKeys[8] = {0x28, 0x25, 0x26, 0x27, 0x23, 0x24, 0x21, 0x22};
const int kNumpadKeys[8] = {0x62, 0x64, 0x68, 0x66, 0x61, 0x67, 0x69, 0x63};

const int kVkF1 = 0x70;
const int kVkF12 = 0x7B;

bool CtrlHeld(const KEngine2* app) { return app->IsKeyDown(platform::kVkControl); }
bool ShiftHeld(const KEngine2* app) { return app->IsKeyDown(platform::kVkShift); }

// --- What the game screen asks of the map view ---

Creature* FollowedCreature(const Map* map) { return map && map->camera ? map->camera->creature : nullptr; }

// A player whose creature has not arrived yet has no rights.
int AccessLevel(const Map* map) {
    const Creature* player = FollowedCreature(map);
    return player ? player->privilegeLevel : 0;
}

}  // namespace

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

// --- Layout ---

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
        window->dialog->MoveBy(placement.x - window->dialog->x, placement.y - window->dialog->y);
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

void GameInterface::CloseActiveChannel(void* context) {
    GameInterface* game = static_cast<GameInterface*>(context);
    ChatPane* pane = ChatLog::Instance()->ActivePane();
    if (!pane || pane->name == "Main")
        return;
    // Copies: closing the pane frees it.
    const int type = pane->type;
    const std::string name = pane->name;
    game->protocol->SendOp16(uint8_t(type), name);
    ChatLog::Instance()->CloseChannel(type, name);
}

void GameInterface::OpenChannelList(void*) { OpenChannelDialog::Instance()->Open(); }

void GameInterface::OpenIgnoreList(void* context) {
    GameInterface* game = static_cast<GameInterface*>(context);
    if (game->ignoreList)
        game->ignoreList->Open();
}

void GameInterface::CopyLinkToClipboard(void* context) {
    // A failed copy leaves the clipboard as it was; the player may try again.
    platform::GetClipboard().SetText(static_cast<GameInterface*>(context)->pendingLink);
}

// --- Input ---

GUITextbox* GameInterface::ChatInput() { return dynamic_cast<GUITextbox*>(gui->FindControl(kChatInputId)); }

// A control on its way out of the tree keeps no keys.
static GUIControl* LiveFocus(GUIManager* gui) {
    GUIControl* focus = gui->focus;
    return focus && !focus->IsPendingDeletion() ? focus : nullptr;
}

bool GameInterface::DialogHasKeys() {
    GUIControl* focus = LiveFocus(gui);
    if (!focus || focus->id == kChatInputId)
        return false;
    return dynamic_cast<GUITextbox*>(focus) || dynamic_cast<GUISelect*>(focus);
}

void GameInterface::HandleEvent(const InputEvent& event) {
    // A dialog this event's input closed still covers its rectangle here, and
    // an Enter that pressed a dialog's button is spent.
    GUIManager::HandledEvent handled(gui, event.input);
    switch (event.type) {
    case InputEvent::KeyDown:
        OnKeyDown(event.a, event.modifiers);
        break;
    case InputEvent::KeyUp:
        OnKeyUp(event.a);
        break;
    case InputEvent::MouseMove:
        OnMouseMove(event.a, event.b);
        break;
    case InputEvent::LeftDown:
        OnLeftDown(event.a, event.b, event.c != 0);
        break;
    case InputEvent::LeftUp:
        OnLeftUp(event.a, event.b);
        break;
    case InputEvent::RightDown:
        OnRightDown(event.a, event.b);
        break;
    case InputEvent::RightUp:
        OnRightUp(event.a, event.b);
        break;
    case InputEvent::Wheel:
        OnWheel(event.a, event.b, event.c);
        break;
    case InputEvent::MiddleUp:
        hotkeyBar->TriggerSlot(11, true);
        break;
    default:
        // Middle down and resizes (which the main loop lays out itself).
        break;
    }
}

bool GameInterface::OnEnter() {
    // The Enter that pressed a dialog's button is spent, though the button
    // may be gone with its dialog by now.
    if (gui->InputSpent())
        return false;
    const int32_t enterButton = gui->enterButtonId;
    if (enterButton > 0 && gui->FindControl(enterButton))
        return false;
    HotkeyModeState mode{hotkeyMode != 0, chatLineOpen != 0};
    const bool send = mode.PressEnter();
    chatLineOpen = mode.chatLineOpen ? 1 : 0;
    if (!send)
        return true;
    GUITextbox* input = ChatInput();
    if (!input)
        return true;
    const std::string text = input->GetText();
    if (text.empty())
        return true;
    protocol->SendChatMessage(text);
    if (ChatPane* pane = ChatLog::Instance()->ActivePane())
        pane->AddToHistory(text);
    input->SetText("");
    return true;
}

void GameInterface::OnKeyDown(int key, int modifiers) {
    for (int k = 0; k < 8; ++k)
        if (key == kMoveKeys[k]) {
            moveKeyHeld[k] = moveKeyPressed[k] = 1;
            moveKeyModifiers |= modifiers;
        }
    if (key == platform::kVkTab) {
        if (ShiftHeld(app))
            ChatLog::Instance()->SelectPreviousTab();
        else
            ChatLog::Instance()->SelectNextTab();
        gui->focus = gui->FindControl(kChatInputId);
    }
    if (key == platform::kVkEscape)
        thingActions->StopWalk(true);
    // A dialog's Enter button takes the key whole.
    if (key == platform::kVkReturn && !OnEnter())
        return;

    const bool ctrl = CtrlHeld(app) || (modifiers & InputEvent::kCtrlHeld);
    bool done = false;
    if (ctrl) {
        done = true;
        switch (key) {
        case 'C':
            CopySelection();
            break;
        case 'Q':
            protocol->SendRequestQuests();
            break;
        case 'G':
            protocol->SendRequestGuild();
            break;
        case 'O':
            if (OptionsDialog* options = Client::Instance()->optionsDialog)
                options->Open();
            break;
        case 'L':
            protocol->SendLogout();
            break;
        case 'T':
            talents->Show();
            break;
        case 'M':
            worldMap->Open();
            break;
        case 'F': {
            HotkeyModeState mode{hotkeyMode != 0, chatLineOpen != 0};
            mode.Toggle();
            hotkeyMode = mode.hotkeyMode ? 1 : 0;
            chatLineOpen = mode.chatLineOpen ? 1 : 0;
            break;
        }
        default:
            done = false;
            break;
        }
    }
    if (!done && key == 'Y' && !gmWindow && ctrl && AccessLevel(map) > 2) {
        gmWindow = new GMWindow();
        gmWindow->Open();
        done = true;
    }
    if (!done && key == 'R' && !reportDialog && ctrl) {
        reportDialog = new ReportDialog();
        reportDialog->Show();
        done = true;
    }
    if (!done && key == 'P' && ctrl) {
        OpenChannelDialog::Instance()->Open();
        done = true;
    }
    if (!done && key >= kVkF1 && key <= kVkF12) {
        const int i = key - kVkF1;
        // The key repeats while held; the slot fires once per press.
        if (!fKeyHeld[i]) {
            fKeyHeld[i] = 1;
            hotkeyBar->TriggerSlot(i + 1, false);
        }
        done = true;
    }
    if (!done) {
        const HotkeyModeState mode{hotkeyMode != 0, chatLineOpen != 0};
        if (key >= '0' && key <= '9' && mode.KeysAreHotkeys() && !gui->FindControl(kMoveItemsDialogId)) {
            if (!DialogHasKeys()) {
                const int slot = key == '0' ? 10 : key - '0';
                if (!digitKeyHeld[slot - 1]) {
                    digitKeyHeld[slot - 1] = 1;
                    hotkeyBar->TriggerSlot(slot, true);
                }
            }
        } else if ((key == platform::kVkUp || key == platform::kVkDown) && ShiftHeld(app)) {
            ChatPane* pane = ChatLog::Instance()->ActivePane();
            GUITextbox* input = ChatInput();
            if (pane && input)
                input->SetText(pane->RecallHistory(key == platform::kVkDown));
        }
    }
    moveItems->SetEditTime(GetTicks());
}

void GameInterface::OnKeyUp(int key) {
    for (int k = 0; k < 8; ++k)
        if (key == kMoveKeys[k] || key == kNumpadKeys[k])
            moveKeyHeld[k] = 0;
    if (key >= kVkF1 && key <= kVkF12)
        fKeyHeld[key - kVkF1] = 0;
    if (hotkeyMode && !chatLineOpen && key >= '0' && key <= '9')
        digitKeyHeld[key == '0' ? 9 : key - '1'] = 0;
}

void GameInterface::CopySelection() {
    GUITextbox* input = ChatInput();
    ChatPane* pane = ChatLog::Instance()->ActivePane();
    // A selection in the chat input is copied by the text box itself.
    if (input && !input->GetSelectedText().empty())
        return;
    if (!pane || !pane->box)
        return;
    const std::string text = pane->box->GetSelectedText();
    if (text.empty())
        return;
    if (LooksLikeLink(text) && !IsTrustedLink(text)) {
        pendingLink = text;
        ConfirmDialog::Instance()->Show(kLinkWarningTitle, kLinkWarningText, &GameInterface::CopyLinkToClipboard,
                                        this);
        return;
    }
    platform::GetClipboard().SetText(text);
}

void GameInterface::OnMouseMove(int x, int y) {
    lastMouseMoveTick = GetTicks();
    const bool dragging = thingActions->IsDragging();
    inventory->SetMouse(x, y, dragging);
    for (Container* container : containers)
        if (container)
            container->SetMouse(x, y, dragging);
    if (TradeWindow* trade = protocol->tradeWindow)
        trade->SetDragState(x, y, dragging);
    HandleEdgeDrag(x, y, dragging, false);
    minimap->OnDrag(x, y);
    worldMap->OnMouseMove(x, y);
    hotkeyBar->OnMouseMove(x, y);
}

void GameInterface::OnLeftDown(int x, int y, bool menuWasOpen) {
    leftButtonDown = 1;
    // A press on a menu is the menu's, even when the menu has closed since.
    if (gui->openMenu || menuWasOpen)
        return;
    if (pagedText->OnMouse(x, y) || experienceWindow->OnMouseDown(x, y) || tipMessages->HitTest(x, y))
        return;
    const Position target = minimap->PositionAt(x, y);
    if (target.x != 0)
        thingActions->WalkTo(target, true);
    if (HandleEdgeDrag(x, y, false, true))
        return;
    thingActions->BeginDrag(x, y);
    hotkeyBar->OnMouseDown(x, y);
    worldMap->OnMouseDown(x, y);
    market->OnMouseDown(x, y);
    brewing->HitTest(x, y);
}

void GameInterface::OnLeftUp(int x, int y) {
    leftButtonDown = 0;
    chatResizeAnchor = 0;
    leftPanel->resizing = 0;
    rightPanel->resizing = 0;
    // After a click on the game view or a chat pane the keys go back to the
    // chat input; a dialog's own text field keeps them.
    GUITextbox* focused = dynamic_cast<GUITextbox*>(LiveFocus(gui));
    if (!focused || focused->HasFlag(GUIControl::kReadOnly))
        gui->focus = gui->FindControl(kChatInputId);
    thingActions->OnClick(x, y);
    hotkeyBar->OnMouseUp(x, y);
    worldMap->OnMouseUp();
}

void GameInterface::OnRightDown(int x, int y) {
    friends->ContextMenu(x, y);
    party->ContextMenu(x, y);
    thingActions->ContextMenu(x, y);
    minimap->OnMouseDown(x, y);
    worldMap->OpenMenu(x, y);
    market->OnRightClick(x, y);
    if (TradeWindow* trade = protocol->tradeWindow)
        trade->OnSlotClick(x, y);
    PrivateChatFromLine(x, y);
}

// A right click on "[12:01] Name: text" opens a private chat with Name.
void GameInterface::PrivateChatFromLine(int x, int y) {
    ChatPane* pane = ChatLog::Instance()->ActivePane();
    GUITextbox* box = pane ? pane->box : nullptr;
    if (!box || !box->Contains(x, y))
        return;
    std::string name;
    if (ChatLineSpeaker(box->GetLineAt(y - box->y), name))
        protocol->SendJoinChannel(1, name);
}

void GameInterface::OnRightUp(int x, int y) {
    minimap->OnMouseUp();
    hotkeyBar->OnClick(x, y);
}

void GameInterface::OnWheel(int x, int y, int delta) {
    if (minimap->dialog && minimap->dialog->Contains(x, y)) {
        if (delta > 0 && minimap->zoom > 0.25f)
            minimap->zoom /= 2;
        else if (delta < 0 && minimap->zoom < 4.0f)
            minimap->zoom *= 2;
    }
    worldMap->OnMouseWheel(x, y, delta);
    for (SideWindow* window : sideWindows)
        if (window->dialog && window->scrollbar && window->dialog->Contains(x, y))
            window->scrollbar->Scroll(delta > 0 ? 5 : -5);
}

// --- Per-frame update and draw ---

void GameInterface::WalkFromHeldKeys() {
    // Each press counts in the one update after it, walking or not, with the
    // modifiers it came with.
    uint8_t keys[8];
    bool tapped = false;
    for (int k = 0; k < 8; ++k) {
        keys[k] = moveKeyHeld[k] | moveKeyPressed[k];
        tapped = tapped || (moveKeyPressed[k] && !moveKeyHeld[k]);
        moveKeyPressed[k] = 0;
    }
    const int32_t tapModifiers = tapped ? moveKeyModifiers : 0;
    moveKeyModifiers = 0;
    GUIControl* focus = LiveFocus(gui);
    if (focus && focus->id != kChatInputId && focus->id != kWalkingListId &&
        (dynamic_cast<GUITextbox*>(focus) || dynamic_cast<GUISelect*>(focus)))
        return;
    if (welcomeShown)
        return;
    const HotkeyModeState mode{hotkeyMode != 0, chatLineOpen != 0};
    bool turnOnly = false;
    KEngine2* engine = app;
    const bool shift = ShiftHeld(app) || (tapModifiers & InputEvent::kShiftHeld);
    const bool ctrl = CtrlHeld(app) || (tapModifiers & InputEvent::kCtrlHeld);
    const int direction = HeldKeyDirection(keys, shift, ctrl, mode.KeysAreHotkeys(),
                                           [engine](int key) { return engine->IsKeyDown(key); }, turnOnly);
    if (direction)
        map->camera->Walk(direction, turnOnly);
}

void GameInterface::Update() {
    // A modal question: asked here, outside the enter-game message's dispatch.
    minimap->ConvertOldFormatOnce();
    ChatLog::Instance()->UpdatePanes();
    map->UpdateCreatures(app->GetFps());
    WalkFromHeldKeys();

    const int leftWidth = leftPanel->GetWidth();
    if (leftWidth > 0) {
        leftPanel->CollectWindows(false);
        leftPanel->Layout();
    }
    if (rightPanel->GetWidth() > 0) {
        rightPanel->CollectWindows(leftWidth == 0);
        rightPanel->Layout();
    }
    for (SideWindow* window : sideWindows)
        window->PlaceControls();

    // The view is drawn shifted by the player's walk offset.
    const std::vector<Creature*> hovered =
        map->GetCreaturesAt(int(gui->mouseX), int(gui->mouseY), false, viewOffsetX, viewOffsetY);
    map->SetTarget(hovered.empty() ? 0 : hovered.front()->id);

    if (GUIControl* input = gui->FindControl(kChatInputId)) {
        if (HotkeyModeState{hotkeyMode != 0, chatLineOpen != 0}.KeysAreHotkeys())
            input->SetFlag(GUIControl::kDisabled);
        else
            input->ClearFlag(GUIControl::kDisabled);
    }
}

FieldView GameInterface::GetFieldView() const {
    FieldView view;
    view.originX = map->viewX;
    view.originY = map->viewY;
    view.tileWidth = map->tileWidth;
    view.tileHeight = map->tileHeight;
    view.cameraX = map->camera->GetX();
    view.cameraY = map->camera->GetY();
    view.floor = map->camera->GetZ();
    view.offsetX = viewOffsetX;
    view.offsetY = viewOffsetY;
    return view;
}

void GameInterface::Draw() {
    Graphics* graphics = app->graphics;
    const GUIControl* root = gui->root;
    const uint32_t light = root->lightColor;
    const uint32_t dark = root->darkColor;
    Sprite* skin = app->sprites->GetSprite(settings->GetSkin());

    Camera* camera = map->camera;
    if (!camera->creature) {
        camera->SetCreature(map->FindCreature(map->playerId));
        map->CollectLightSources();
    }
    viewOffsetX = 0;
    viewOffsetY = 0;
    camera->GetFollowedOffset(&viewOffsetX, &viewOffsetY, 32);
    map->viewOffsetX = viewOffsetX;
    map->viewOffsetY = viewOffsetY;

    const int tileWidth = map->tileWidth;
    const int tileHeight = map->tileHeight;
    const int fieldWidth = 17 * tileWidth;
    const int fieldHeight = 13 * tileHeight;
    // A stretched field is drawn at 544 x 416 into the buffer and scaled; at
    // its own size it is clipped, since the floors reach beyond the view. The
    // clip leaves its right and bottom edge out, so they lie just past the field.
    const bool stretched = tileWidth != 32 || tileHeight != 32;
    if (stretched) {
        graphics->BeginBuffer();
    } else {
        ClipRect clip;
        clip.left = float(map->viewX);
        clip.top = float(map->viewY);
        clip.right = float(map->viewX + fieldWidth);
        clip.bottom = float(map->viewY + fieldHeight);
        graphics->EnableClipper(clip);
    }
    map->Draw();
    LightMap::Instance()->Update();

    // At most one cover over the field: the fade-in after entering, else the
    // low-health pulse.
    const uint32_t now = GetTicks();
    const uint32_t elapsed = now - enterGameTick;
    if (elapsed < kFadeMs) {
        map->DrawLight(kFadeColor, 1.0f - float(elapsed) / float(kFadeMs));
    } else if (status && status->maxHealth > 0 &&
               double(status->health) / double(status->maxHealth) < double(kLowHealth) &&
               settings->GetHealthWarning()) {
        map->DrawLight(kWarningColor, float((std::sin(now / 300.0) + 1.5) * 0.5 * 0.12));
    }
    if (stretched) {
        graphics->EndBuffer();
        graphics->RenderBuffer(map->viewX, map->viewY, fieldWidth, fieldHeight, 544, 416);
    } else {
        graphics->DisableClipper();
    }
    map->DrawCreatures();
    floatingTexts->Draw();
    StatusLine::Instance()->Draw(GetFieldView());

    // The chat area.
    const int left = leftPanel->GetWidth();
    const int right = rightPanel->GetWidth();
    const int screenWidth = app->clientWidth;
    const int screenHeight = app->clientHeight;
    const int top = screenHeight - chatHeight;
    const int width = screenWidth - left - right;
    graphics->RenderSpriteTiled(skin, left, top, width, chatHeight);
    graphics->RenderBox(left, top, width, chatHeight, light, dark, 0);
    graphics->RenderBox(left + 1, top + 1, width - 2, chatHeight - 2, light, dark, 0);
    graphics->RenderBox(left + 7, top + 32, width - 14, chatHeight - 65, dark, light, 0);

    // The field sits in a sunken one-pixel frame on the skin.
    const int mx = map->viewX;
    const int my = map->viewY;
    graphics->RenderSpriteTiled(skin, left, 0, width, my);
    graphics->RenderRectangle(dark, mx - 1, my - 1, fieldWidth + 2, 1);
    graphics->RenderSpriteTiled(skin, left, my, mx - left, top - my);
    graphics->RenderRectangle(dark, mx - 1, my, 1, fieldHeight + 1);
    graphics->RenderSpriteTiled(skin, mx + fieldWidth, my, left + width - mx - fieldWidth, top - my);
    graphics->RenderRectangle(light, mx + fieldWidth, my, 1, fieldHeight + 1);
    graphics->RenderSpriteTiled(skin, mx, my + fieldHeight, fieldWidth, top - my - fieldHeight);
    graphics->RenderRectangle(light, mx, my + fieldHeight, fieldWidth, 1);

    if (left > 0)
        leftPanel->Draw();
    if (right > 0)
        rightPanel->Draw();
    DrawStatBars();
    if (settings->GetExperienceCalculator())
        experienceWindow->Draw();
    buffTimers->Draw();
    hotkeyBar->Draw();
    tipMessages->Draw();
    pagedText->Draw();
}

void GameInterface::DrawStatBars() {
    const int position = settings->GetStatBarPosition();
    if (position == 0 || !status)
        return;
    Graphics* graphics = app->graphics;
    const GUIControl* root = gui->root;
    const uint32_t light = root->lightColor;
    const uint32_t dark = root->darkColor;
    const int mx = map->viewX;
    const int my = map->viewY;
    const int tileWidth = map->tileWidth;
    const int tileHeight = map->tileHeight;

    const double ratios[2] = {StatRatio(status->health, status->maxHealth), StatRatio(status->mana, status->maxMana)};
    Sprite* sprites[2] = {app->sprites->GetSprite(kHealthBarSprite), app->sprites->GetSprite(kManaBarSprite)};
    for (int bar = 0; bar < 2; ++bar) {
        const StatBarRects rects = PlaceStatBar(position, bar, mx, my, tileWidth, tileHeight, ratios[bar]);
        graphics->RenderBox(rects.x, rects.y, rects.width, rects.height, dark, light, kBarFill);
        // A fill size of 0 would mean the sprite's own size to the renderer.
        if (rects.fillWidth > 0 && rects.fillHeight > 0)
            graphics->RenderSprite(sprites[bar], rects.fillX, rects.fillY, rects.fillWidth, rects.fillHeight, 64, 13,
                                   0, 0, 64, 13);
    }
}

bool GameInterface::HandleEdgeDrag(int x, int y, bool itemDragging, bool press) {
    if (press && itemDragging)
        return false;
    Client* client = Client::Instance();
    const int screenWidth = app->clientWidth;
    const int screenHeight = app->clientHeight;
    const int left = leftPanel->GetWidth();
    const int right = rightPanel->GetWidth();

    if (!press) {
        if (chatResizeAnchor > 0) {
            chatHeight = std::max(int(GameLayout::kMinChatHeight),
                                  std::min(screenHeight - 372, screenHeight - 1 - y + chatResizeAnchor));
            LayoutChatArea();
            return false;
        }
        if (leftPanel->resizing) {
            leftPanel->SetWidth(x > 240 ? 241 : std::max(165, x));
            LayoutChatArea();
            return false;
        }
        if (rightPanel->resizing) {
            const int fromRight = screenWidth - x;
            rightPanel->SetWidth(fromRight > 240 ? 241 : std::max(165, fromRight));
            LayoutChatArea();
            return false;
        }
        if (itemDragging)
            return false;
    }

    if (gui->openMenu || minimap->dragging || worldMap->dragging)
        return false;

    if (GUIControl* control = gui->ControlAt(float(x), float(y))) {
        if (press || leftButtonDown)
            return false;
        if (control->HasFlag(GUIControl::kResizeWidth) || control->HasFlag(GUIControl::kResizeHeight)) {
            for (const SideWindow* window : sideWindows) {
                const GUIDialog* dialog = window->dialog;
                if (dialog != control)
                    continue;
                const int right = dialog->x + dialog->width;
                const int bottom = dialog->y + dialog->height;
                if (dialog->HasFlag(GUIControl::kResizeWidth) && dialog->height > 20 && x >= right - 10 &&
                    x <= right - 1 && y >= bottom - 10 && y <= bottom - 1) {
                    client->SetCursor(4);
                    return false;
                }
                if (dialog->HasFlag(GUIControl::kResizeHeight) && y >= bottom - 10 && y <= bottom - 1) {
                    client->SetCursor(3);
                    return false;
                }
            }
        }
        client->SetCursor(1);
        return false;
    }

    const int chatTop = screenHeight - chatHeight;
    if (x >= left && x <= screenWidth - right && y >= chatTop && y <= chatTop + 6) {
        if (press) {
            chatResizeAnchor = y - chatTop + 1;
            return true;
        }
        if (!leftButtonDown)
            client->SetCursor(3);
        return false;
    }
    if (left > 0 && x >= left - 5 && x < left) {
        if (press)
            leftPanel->resizing = 1;
        else if (!leftButtonDown)
            client->SetCursor(4);
        return false;
    }
    if (right > 0 && x >= screenWidth - right && x <= screenWidth - right + 4) {
        if (press)
            rightPanel->resizing = 1;
        else if (!leftButtonDown)
            client->SetCursor(4);
        return false;
    }
    if (press)
        return false;
    if (hotkeyBar->HitGrip(x, y))
        client->SetCursor(hotkeyBar->side == 2 || hotkeyBar->side == 3 ? 3 : 4);
    else if (!leftButtonDown)
        client->SetCursor(1);
    return false;
}

// --- Side-window slots ---

void GameInterface::SetContainerWindow(Container* window, int index) {
    if (index < 0 || index >= kContainerSlots)
        return;
    containers[index] = window;
    sideWindows.push_back(window);
}

void GameInterface::RemoveSideWindow(int index) {
    if (index < 0 || index >= kContainerSlots)
        return;
    auto found = std::find(sideWindows.begin(), sideWindows.end(), containers[index]);
    if (found != sideWindows.end() && *found) {
        SideWindow* window = *found;
        if (window->dialog)
            window->dialog->SetFlag(GUIControl::kHidden);
        sideWindows.erase(found);
        // The columns keep this frame's list until the next update, and a
        // relayout may walk it before then.
        leftPanel->RemoveWindow(window);
        rightPanel->RemoveWindow(window);
        if (dynamic_cast<Container*>(window))
            delete window;
    }
    containers[index] = nullptr;
}

void GameInterface::OpenContainer(int index, int titleIcon, const std::string& title, bool withIconButton,
                                  bool withLootButton, int capacity, const std::vector<ContainerSlot>& items) {
    if (index < 0 || index >= kContainerSlots)
        return;
    Container* window = containers[index];
    if (!window) {
        int x = 0;
        int y = 0;
        int width = SideWindow::kMinWidth;
        int height = Container::kDefaultHeight;
        int scroll = 0;
        // Only the login burst reopens the containers of the last game where
        // they were; a container opened later starts afresh.
        if (!protocol->layoutLoaded)
            LoadContainerSettings(index, x, y, width, height, scroll);
        window = new Container(Container::kFirstWindowId + 2 * index, index);
        window->Create(title, width, height);
        window->AddCloseButton();
        window->AddMinimizeButton();
        GUIDialog* dialog = window->dialog;
        if (x > 0 || y > 0)
            dialog->MoveBy(x - dialog->x, y - dialog->y);
        // Saved while minimised: opens minimised and restores to the default height.
        if (height <= SideWindow::kMinimizedHeight) {
            dialog->width = std::clamp(width, SideWindow::kMinWidth, SideWindow::kMaxWidth);
            dialog->height = Container::kDefaultHeight;
            window->ToggleMinimize(true);
        }
        window->Reset(capacity);
        window->Relayout();
        window->scrollbar->SetPosition(scroll);
        window->Update();
        SetContainerWindow(window, index);
    }
    if (withIconButton)
        window->AddIconButton();
    else
        window->RemoveIconButton();
    if (withLootButton)
        window->AddLootButton();
    else
        window->RemoveLootButton();
    window->titleIcon = titleIcon;
    window->TruncateWithEllipsis(title);
    window->Reset(capacity);
    for (size_t k = 0; k < items.size(); ++k)
        window->SetItem(int(k), items[k].itemId, items[k].count);
    // A button the message added to a window already drawn needs its action now.
    window->InstallButtonActions();
}

namespace {

// The character's section of "containers.ini"; "" when there is no player
// character yet or its name would not read back as the same section.
std::string ContainerSection(const Map* map) {
    const Creature* player = FollowedCreature(map);
    if (!player || player->name.empty())
        return std::string();
    const std::string section = "containers " + player->name;
    return ConfigFile::IsStorableSection(section) ? section : std::string();
}

}  // namespace

bool GameInterface::LoadContainerSettings(int index, int& x, int& y, int& width, int& height, int& scroll) {
    const std::string section = ContainerSection(map);
    if (section.empty())
        return false;
    const ConfigFile& file = *settings->containers;
    const std::string key = "container" + std::to_string(index);
    if (!file.HasKey(section, key + "x"))
        return false;
    x = file.GetInt(section, key + "x");
    y = file.GetInt(section, key + "y");
    width = std::clamp(file.GetInt(section, key + "width"), SideWindow::kMinWidth, SideWindow::kMaxWidth);
    height = file.GetInt(section, key + "height");
    scroll = file.GetInt(section, key + "scroll");
    return true;
}

void GameInterface::SaveContainerSettings() {
    const std::string section = ContainerSection(map);
    if (section.empty())
        return;
    ConfigFile& file = *settings->containers;
    for (int i = 0; i < kContainerSlots; ++i) {
        const Container* window = containers[i];
        if (!window || !window->dialog)
            continue;
        const std::string key = "container" + std::to_string(i);
        file.SetInt(section, key + "x", window->dialog->x);
        file.SetInt(section, key + "y", window->dialog->y);
        file.SetInt(section, key + "width", window->dialog->width);
        file.SetInt(section, key + "height", window->dialog->height);
        file.SetInt(section, key + "scroll", window->scrollbar ? window->scrollbar->GetPosition() : 0);
    }
    settings->SaveContainers();
}

void GameInterface::LootAllContainers() {
    // Exactly as a click on each "Loot" button, in slot order.
    for (Container* window : containers)
        if (window && window->lootButton)
            window->lootButton->action(window->lootButton->actionContext);
}

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
