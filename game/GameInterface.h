#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "engine/InputEvent.h"
#include "game/GameControlIds.h"
#include "game/GameLayout.h"
#include "game/StatusLine.h"

class Actions;
class BrewingDialog;
class BuffTimers;
class CStatus;
class Container;
struct ContainerSlot;
class EffectList;
class ExperienceWindow;
class FloatingTexts;
class Friends;
class GMWindow;
class GUIManager;
class GUITextbox;
class GuildDialog;
class HotkeyBar;
class HotkeyDialog;
class HouseBiddingDialog;
class HouseDialog;
class IgnoreList;
class Inventory;
class KEngine2;
class Map;
class MarketDialog;
class Minimap;
class MoveItemsDialog;
class NoGuildDialog;
class NpcShopDialog;
class PagedTextWindow;
class Party;
class Protocol;
class RecipesDialog;
class ReportDialog;
class Settings;
class SidePanel;
class SideWindow;
class SpellLibraryDialog;
class SummonMonsterDialog;
class TalentsDialog;
class ThingActions;
class TipMessages;
class TutorialDialog;
class WelcomeDialog;
class WorldMapDialog;

// The game screen: exactly one exists while the player is in the world. It
// owns the map view, every part of the screen, the side windows and the
// in-game dialog modules; the main loop hands it every input event, a
// per-frame update and a per-frame draw. Other code reaches it through
// Client::Instance()->game and reads its members directly.
//
// Between the end of the constructor and the start of the destructor every
// owned pointer but reportDialog, gmWindow and the container slots is set;
// the six side-window pointers and the filled container slots also stand in
// sideWindows, which alone deletes them.
//
// Its definitions lie in one file per concern: GameInterface.cpp (building
// and teardown), GameInput.cpp (key and mouse events, held movement keys,
// edge drags, the chat buttons), GameFrame.cpp (per-frame update and draw),
// GameSideWindows.cpp (the container slots) and GameLayout.cpp (the layout's
// restore and save, beside its pure reader).
class GameInterface {
public:
    static constexpr int kChatInputId = GameIds::kChatInput;
    static constexpr int kTabGroupId = GameIds::kChatTabs;
    static constexpr int kCloseChannelButtonId = GameIds::kLeaveChannelButton;
    static constexpr int kChannelListButtonId = GameIds::kChannelListButton;
    static constexpr int kIgnoreListButtonId = GameIds::kIgnoreListButton;
    static constexpr int kContainerSlots = 20;

    // showWelcome: the enter-game message lets the welcome dialog open.
    explicit GameInterface(bool showWelcome);
    // Saves the container windows and the layout, then closes and frees
    // everything, in a fixed order.
    ~GameInterface();
    GameInterface(const GameInterface&) = delete;
    GameInterface& operator=(const GameInterface&) = delete;

    // The enter-game message has been handled: the field fades in from now on.
    void StampEnterTick();

    // Builds the chat area's controls and the six side windows, and restores
    // what the main ini file kept of the last game.
    void RestoreLayout(bool showWelcome);
    // Writes the layout into the options (in memory) and takes the chat area down.
    void SaveLayout();
    // Places the chat area's controls for the window size and chatHeight.
    void LayoutChatArea();
    // The server has sent the action groups: the character's saved count.
    void LoadActionGroups();
    // The chat buttons.
    static void CloseActiveChannel(void* game);
    static void OpenChannelList(void* game);
    static void OpenIgnoreList(void* game);
    // The OK action of the untrusted-link warning.
    static void CopyLinkToClipboard(void* game);

    void HandleEvent(const InputEvent& event);
    void Update();
    void Draw();
    void DrawStatBars();
    // The chat area's top edge and the panels' inner edges: resizing, and the
    // cursor over them. True only when a press started a chat-area resize.
    bool HandleEdgeDrag(int x, int y, bool itemDragging, bool press);

    // Side-window slots and the container windows' settings.
    void SetContainerWindow(Container* window, int index);
    // The server opens container `index` (0 .. 19), or refreshes the window
    // that holds it: a new window takes the geometry saved for it during the
    // login burst, else the defaults. Each item goes to the slot of its place
    // in the list.
    void OpenContainer(int index, int titleIcon, const std::string& title, bool withIconButton,
                       bool withLootButton, int capacity, const std::vector<ContainerSlot>& items);
    void RemoveSideWindow(int index);
    bool LoadContainerSettings(int index, int& x, int& y, int& width, int& height, int& scroll);
    void SaveContainerSettings();
    void LootAllContainers();
    void CloseReportDialog();
    void CloseOwnedDialog();
    static bool LooksLikeLink(const std::string& text);

    // The layout of this moment, as SaveLayout writes it.
    GameLayout CurrentLayout() const;
    // The field and the part of the map it shows, for the status line.
    FieldView GetFieldView() const;

    uint8_t hotkeyMode = 0;    // digit keys trigger hotkeys; read by the main loop for Ctrl+S
    uint8_t chatLineOpen = 0;  // in hotkey mode, Enter has opened the chat input for one line
    std::string pendingLink;   // copied only once the player confirms the warning
    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    Settings* settings = nullptr;
    Protocol* protocol = nullptr;
    Map* map = nullptr;
    ThingActions* thingActions = nullptr;
    HotkeyBar* hotkeyBar = nullptr;
    PagedTextWindow* pagedText = nullptr;
    ExperienceWindow* experienceWindow = nullptr;
    BuffTimers* buffTimers = nullptr;
    TipMessages* tipMessages = nullptr;
    uint8_t welcomeShown = 0;
    uint32_t lastMouseMoveTick = 0;
    uint32_t enterGameTick = 0;
    uint8_t leftButtonDown = 0;
    uint8_t fKeyHeld[12] = {};
    uint8_t digitKeyHeld[10] = {};
    // Down, Left, Up, Right, End, Home, Page Up, Page Down: flag k walks in direction k + 1.
    uint8_t moveKeyHeld[8] = {};
    // The same keys pressed since the last update: a tap that is already
    // released when the update comes still walks once.
    uint8_t moveKeyPressed[8] = {};
    // Ctrl (turn only) and Shift held with those presses, for a tap whose
    // modifier is already up as well when the update comes.
    int32_t moveKeyModifiers = 0;
    int32_t viewOffsetX = 0;  // the followed creature's walking offset, written at each draw
    int32_t viewOffsetY = 0;
    SidePanel* leftPanel = nullptr;
    SidePanel* rightPanel = nullptr;
    Container* containers[kContainerSlots] = {};
    std::list<SideWindow*> sideWindows;  // owned, in creation order
    Minimap* minimap = nullptr;
    Inventory* inventory = nullptr;
    CStatus* status = nullptr;
    Friends* friends = nullptr;
    Party* party = nullptr;
    Actions* actions = nullptr;
    int32_t chatHeight = GameLayout::kMinChatHeight;
    int32_t chatResizeAnchor = 0;  // non-zero while the chat area's top edge is dragged
    ReportDialog* reportDialog = nullptr;
    GMWindow* gmWindow = nullptr;
    NpcShopDialog* npcShop = nullptr;
    HotkeyDialog* hotkeyDialog = nullptr;
    IgnoreList* ignoreList = nullptr;
    HouseDialog* house = nullptr;
    HouseBiddingDialog* houseBidding = nullptr;
    SummonMonsterDialog* summonMonster = nullptr;
    MoveItemsDialog* moveItems = nullptr;
    MarketDialog* market = nullptr;
    WelcomeDialog* welcome = nullptr;
    SpellLibraryDialog* spellLibrary = nullptr;
    TalentsDialog* talents = nullptr;
    WorldMapDialog* worldMap = nullptr;
    GuildDialog* guild = nullptr;
    NoGuildDialog* noGuild = nullptr;
    TutorialDialog* tutorial = nullptr;
    BrewingDialog* brewing = nullptr;
    RecipesDialog* recipes = nullptr;
    FloatingTexts* floatingTexts = nullptr;
    EffectList* effects = nullptr;

private:
    // modifiers: InputEvent's kCtrlHeld and kShiftHeld as the key went down.
    void OnKeyDown(int key, int modifiers = 0);
    void OnKeyUp(int key);
    void OnMouseMove(int x, int y);
    void OnLeftDown(int x, int y, bool menuWasOpen = false);
    void OnLeftUp(int x, int y);
    void OnRightDown(int x, int y);
    void OnRightUp(int x, int y);
    void OnWheel(int x, int y, int delta);
    // Enter: sends the chat line, or opens it in hotkey mode. False when a
    // dialog's Enter button takes the key.
    bool OnEnter();
    // Ctrl+C over the chat: the selection of the active chat pane.
    void CopySelection();
    void PrivateChatFromLine(int x, int y);
    void WalkFromHeldKeys();
    GUITextbox* ChatInput();
    // The focus lies on a text field or list of a dialog, which keeps the keys.
    bool DialogHasKeys();
};

// The name of the player's own creature; "" before it is known.
std::string GetLocalPlayerName();
