#include "game/GameInterface.h"

#include "client/Client.h"
#include "dialogs/character/BrewingDialog.h"
#include "dialogs/character/TalentsDialog.h"
#include "dialogs/social/GMWindow.h"
#include "dialogs/social/IgnoreList.h"
#include "dialogs/social/OpenChannelDialog.h"
#include "dialogs/social/OptionsDialog.h"
#include "dialogs/social/ReportDialog.h"
#include "dialogs/trade/MarketDialog.h"
#include "dialogs/trade/MoveItemsDialog.h"
#include "dialogs/trade/TradeWindow.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/ChatLinks.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/ConfirmDialog.h"
#include "game/ExperienceWindow.h"
#include "game/FollowedCreature.h"
#include "game/HotkeyBar.h"
#include "game/KeyRules.h"
#include "game/PagedTextWindow.h"
#include "game/ThingActions.h"
#include "game/TipMessages.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "sidewindows/Container.h"
#include "sidewindows/Friends.h"
#include "sidewindows/Inventory.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/Party.h"
#include "sidewindows/SidePanel.h"
#include "sidewindows/SideWindow.h"
#include "sidewindows/WorldMapDialog.h"
#include "world/Creature.h"
#include "world/Map.h"

// The game screen's input: every key and mouse event the main loop hands it,
// the chat buttons, the held movement keys turned into steps, and the drags
// on the chat area's and the panels' edges.

namespace {

const int kMoveItemsDialogId = GameIds::kMoveItemsDialog;
// A list of the game screen whose keys walk all the same.
const int kWalkingListId = GameIds::kGmNameBox;

const char kLinkWarningTitle[] = "Warning!";
const char kLinkWarningText[] = "Entering unofficial websites might lead\nto your account being hacked, be careful!";

// Movement keys in the order of moveKeyHeld, and their numeric-keypad twins.
const int kMoveKeys[8] = {0x28, 0x25, 0x26, 0x27, 0x23, 0x24, 0x21, 0x22};
const int kNumpadKeys[8] = {0x62, 0x64, 0x68, 0x66, 0x61, 0x67, 0x69, 0x63};

const int kVkF1 = 0x70;
const int kVkF12 = 0x7B;

bool CtrlHeld(const KEngine2* app) { return app->IsKeyDown(platform::kVkControl); }
bool ShiftHeld(const KEngine2* app) { return app->IsKeyDown(platform::kVkShift); }

// A player whose creature has not arrived yet has no rights.
int AccessLevel(const Map* map) {
    const Creature* player = FollowedCreature(map);
    return player ? player->privilegeLevel : 0;
}

}  // namespace

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
