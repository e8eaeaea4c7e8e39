#include "game/HotkeyBar.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "dialogs/character/HotkeyDialog.h"
#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"
#include "sidewindows/SidePanel.h"
#include "world/ItemsCache.h"
#include "world/Position.h"

using namespace hotkeys;

namespace {

const uint32_t kSlotFill = 0x32000000;
const uint32_t kLabelColor = 0x80FFFFFF;
const uint32_t kCooldownTint = 0x50FFFFFF;
const uint32_t kNoTint = 0xFFFFFFFF;
const uint32_t kShadeColor = 0xBE000000;
const uint32_t kSecondsColor = 0xC8FFFFFF;
const uint32_t kTargetColor = 0x8000FFFF;
const uint32_t kPageStripFill = 0x1E000000;
const uint32_t kVerticalPageColor = 0xFFA0A0A0;
const uint32_t kHorizontalPageColor = 0xFFC8C8C8;

// Tooltip keys: main-row slot i has key i, fight-row slot i key i + 13.
const int kFightTooltipOffset = 13;

GameInterface* Game() { return Client::Instance()->game; }
Protocol* Net() { return Client::Instance()->protocol; }

}  // namespace

HotkeyBar::HotkeyBar() {
    app = Client::Instance()->app;
    gui = app->gui;
    previousPage = new GUIButton(0, "", &HotkeyBar::OnPrevPage, this);
    nextPage = new GUIButton(0, "", &HotkeyBar::OnNextPage, this);
    gui->AddControl(previousPage);
    gui->AddControl(nextPage);
    lifecycle::Note("HotkeyBar");
}

HotkeyBar::~HotkeyBar() {
    gui->RemoveControl(previousPage, true);
    gui->RemoveControl(nextPage, true);
    previousPage = nullptr;
    nextPage = nullptr;
    lifecycle::Note("~HotkeyBar");
}

ConfigFile* HotkeyBar::Options() const { return Client::Instance()->settings->options; }

// --- Storage ---

int HotkeyBar::GetKeyAction(int page, const std::string& key, bool fightRow) const {
    const ConfigFile* options = Options();
    // A new player finds the first spell on F1 until page 1 is saved.
    if (!fightRow && page == 1 && key == "F1" && !options->FindSection(SectionName(1, false)))
        return kDefaultSpell;
    return options->GetInt(SectionName(page, fightRow), key);
}

int HotkeyBar::GetKeyType(int page, const std::string& key, bool fightRow) const {
    return Options()->GetInt(SectionName(page, fightRow), key + "type");
}

std::string HotkeyBar::GetKeyParam(int page, const std::string& key, bool fightRow) const {
    return Options()->GetString(SectionName(page, fightRow), key + "param");
}

int HotkeyBar::GetSlotAction(int page, int slot, bool fightRow) const {
    return GetKeyAction(page, SlotKey(slot), fightRow);
}

int HotkeyBar::GetSlotType(int page, int slot, bool fightRow) const {
    return GetKeyType(page, SlotKey(slot), fightRow);
}

std::string HotkeyBar::GetSlotParam(int page, int slot, bool fightRow) const {
    return GetKeyParam(page, SlotKey(slot), fightRow);
}

// --- Performing and editing ---

// Read from the options, not from the slot records: the editor may have
// changed the assignment since the last layout. No timer is consulted; the
// server decides whether the action is allowed.
void HotkeyBar::TriggerSlot(int slot, bool fight) {
    const int action = GetSlotAction(page, slot, fight);
    if (action <= 0)
        return;
    switch (GetSlotType(page, slot, fight)) {
    case 0:
        Net()->SendCastSpell(action, GetSlotParam(page, slot, fight));
        break;
    case 1:
        Net()->SendUseAt(Position{0, 0, 0}, uint32_t(action));
        break;
    case 2:
        if (GameInterface* game = Game())
            game->LootAllContainers();
        break;
    default:
        // "Attack nearest monster" is shown but asks nothing of the server.
        break;
    }
}

void HotkeyBar::OnClick(int px, int py) {
    if (gui->ControlAt(float(px), float(py)) || !InsideBar(Rect(), px, py))
        return;
    bool fight = false;
    const int slot = HitSlot(layout, px, py, fight);
    if (!slot)
        return;
    GameInterface* game = Game();
    if (game && game->hotkeyDialog) {
        game->hotkeyDialog->slot = slot;
        game->hotkeyDialog->fightSet = fight;
    }
    // The answer (the spell list) opens the editor for that slot.
    Net()->SendRequestActionList(0);
}

// --- Server data ---

namespace {

// Starts a spell's timer; a new spell at the cap first makes room.
void StartTimer(std::map<int, Timer>& timers, int spell, uint32_t seconds) {
    const uint32_t now = GetTicks();
    if (timers.size() >= HotkeyBar::kMaxTimers && !timers.count(spell)) {
        for (auto it = timers.begin(); it != timers.end();)
            it = it->second.Running(now) ? std::next(it) : timers.erase(it);
        if (timers.size() >= HotkeyBar::kMaxTimers) {
            const auto age = [now](const auto& entry) { return now - entry.second.start; };
            timers.erase(std::max_element(timers.begin(), timers.end(),
                                          [&](const auto& a, const auto& b) { return age(a) < age(b); }));
        }
    }
    timers[spell] = Timer{now, seconds};
}

}  // namespace

void HotkeyBar::SetShadeTimer(int spell, uint32_t seconds) { StartTimer(shadeTimers, spell, seconds); }

void HotkeyBar::SetCooldown(int spell, uint32_t seconds) { StartTimer(cooldowns, spell, seconds); }

std::pair<uint32_t, uint32_t> HotkeyBar::GetCooldown(int spell) const {
    const auto found = cooldowns.find(spell);
    if (found == cooldowns.end())
        return {0, 0};
    return {found->second.start, found->second.seconds};
}

void HotkeyBar::SetSpellInfo(int spell, const std::string& name, int mana) {
    if (spellInfo.size() >= kMaxSpells && !spellInfo.count(spell))
        spellInfo.erase(std::min_element(spellInfo.begin(), spellInfo.end(), [](const auto& a, const auto& b) {
            return a.second.stored < b.second.stored;
        }));
    HotkeySpellInfo& info = spellInfo[spell];
    info.stored = ++spellsStored;
    info.name = name;
    info.mana = mana;
}

const HotkeySpellInfo* HotkeyBar::GetSpellInfo(int spell) {
    const auto found = spellInfo.find(spell);
    if (found != spellInfo.end())
        return &found->second;
    // Asked once per bar: every tooltip of every frame looks spells up.
    if (!spellListRequested) {
        spellListRequested = true;
        Net()->SendRequestActionList(1);
    }
    return nullptr;
}

// --- Geometry and mouse ---

void HotkeyBar::OnResize(int chatHeight) {
    int left = 0;
    int right = 0;
    if (GameInterface* game = Game()) {
        left = game->leftPanel ? game->leftPanel->GetWidth() : 0;
        right = game->rightPanel ? game->rightPanel->GetWidth() : 0;
    }
    const Dock dock = DockBar(side, thickness, app->clientWidth, app->clientHeight, left, right, chatHeight);
    side = dock.side;
    x = dock.rect.x;
    y = dock.rect.y;
    width = dock.rect.width;
    height = dock.rect.height;
    Layout();
}

void HotkeyBar::Layout() {
    layout = LayoutBar(side, Rect(), thickness);
    for (int i = 1; i <= kSlotsPerRow; ++i) {
        const std::string key = SlotKey(i);
        for (bool fight : {false, true}) {
            HotkeySlot& slot = fight ? fightRow[i] : mainRow[i];
            const SlotCorner& corner = fight ? layout.fight[i] : layout.main[i];
            slot.x = corner.x;
            slot.y = corner.y;
            slot.slot = i;
            slot.action = GetKeyAction(page, key, fight);
            slot.type = GetKeyType(page, key, fight);
            slot.param = GetKeyParam(page, key, fight);
        }
    }
    for (const auto& [button, rect] : {std::make_pair(previousPage, layout.previous),
                                       std::make_pair(nextPage, layout.next)}) {
        button->SetRect(rect.x, rect.y, rect.width, rect.height);
        button->SetIcon(rect.icon);
    }
}

bool HotkeyBar::HitGrip(int px, int py) const { return hotkeys::HitGrip(side, Rect(), px, py); }

void HotkeyBar::OnMouseDown(int px, int py) {
    // A page button (or any control over the bar) takes the press itself.
    if (gui->ControlAt(float(px), float(py)) || !InsideBar(Rect(), px, py))
        return;
    bool fight = false;
    if (const int slot = HitSlot(layout, px, py, fight)) {
        TriggerSlot(slot, fight);
        return;
    }
    if (HitGrip(px, py))
        resizing = true;
    else
        dragging = true;
}

void HotkeyBar::OnMouseMove(int px, int py) {
    if (dragging) {
        GameInterface* game = Game();
        const int left = game && game->leftPanel ? game->leftPanel->GetWidth() : 0;
        const int right = game && game->rightPanel ? game->rightPanel->GetWidth() : 0;
        const int chatHeight = game ? game->chatHeight : 0;
        const int newSide = DragSide(left > 0, app->clientWidth, app->clientHeight, right, chatHeight, px, py);
        if (newSide != side) {
            side = newSide;
            ResizeAgain();
        }
        return;
    }
    if (resizing) {
        const int newThickness = DragThickness(side, Rect(), px, py);
        if (newThickness != thickness) {
            thickness = newThickness;
            ResizeAgain();
        }
    }
}

void HotkeyBar::OnMouseUp(int, int) {
    dragging = false;
    resizing = false;
}

// The map view and the chat area make room for the bar's new shape; the
// game screen's layout docks the bar again on its way.
void HotkeyBar::ResizeAgain() {
    if (GameInterface* game = Game())
        game->LayoutChatArea();
    else
        OnResize(0);
}

void HotkeyBar::OnPrevPage(void* context) {
    HotkeyBar* bar = static_cast<HotkeyBar*>(context);
    bar->page = std::max(bar->page - 1, 1);
    bar->Layout();
}

void HotkeyBar::OnNextPage(void* context) {
    HotkeyBar* bar = static_cast<HotkeyBar*>(context);
    bar->page = std::min(bar->page + 1, kPages);
    bar->Layout();
}

// --- Drawing ---

void HotkeyBar::Draw() {
    Graphics* graphics = app->graphics;
    const uint32_t first = gui->root->lightColor;
    const uint32_t second = gui->root->darkColor;
    const int bx = int(x);
    const int by = int(y);
    const int bw = int(width);
    const int bh = int(height);

    graphics->RenderBox(bx, by, bw, bh, first, second, 0);
    graphics->RenderBox(bx + 1, by + 1, bw - 2, bh - 2, first, second, 0);

    ClipRect clip;
    clip.left = x + 2;
    clip.top = y + 2;
    clip.right = x + width - 2;
    clip.bottom = y + height - 2;
    graphics->EnableClipper(clip);
    const int count = std::min(layout.slotCount, kSlotsPerRow);
    for (int i = 1; i <= count; ++i) {
        DrawSlot(mainRow[i], false);
        UpdateSlotTooltip(mainRow[i], i);
        DrawSlot(fightRow[i], true);
        UpdateSlotTooltip(fightRow[i], i + kFightTooltipOffset);
    }
    // Slots that no longer fit keep no tooltip.
    for (int i = std::max(count + 1, 1); i <= kSlotsPerRow; ++i) {
        gui->RemoveTooltip(i);
        gui->RemoveTooltip(i + kFightTooltipOffset);
    }
    graphics->DisableClipper();

    const int offset = layout.firstOffset;
    if (IsHorizontal(side)) {
        graphics->RenderBox(bx + offset - 20, by + 9, 16, bh - 18, second, first, kPageStripFill);
        if (thickness > 60) {
            const std::string text = std::to_string(page);
            graphics->RenderText(text, bx + offset - 12 - app->TextWidth(text) / 2, by + bh / 2 - 7,
                                 kHorizontalPageColor);
        }
    } else {
        graphics->RenderBox(bx + 9, by + offset - 20, bw - 18, 16, second, first, kPageStripFill);
        if (thickness > 80) {
            const std::string text = std::to_string(page) + "/10";
            graphics->RenderText(text, bx + bw / 2 - app->TextWidth(text) / 2, by + offset - 20,
                                 kVerticalPageColor);
        }
    }
}

void HotkeyBar::DrawSlot(const HotkeySlot& slot, bool fight) {
    Graphics* graphics = app->graphics;
    const uint32_t first = gui->root->lightColor;
    const uint32_t second = gui->root->darkColor;
    const int sx = int(slot.x);
    const int sy = int(slot.y);
    graphics->RenderBox(sx, sy, kSlotSize, kSlotSize, second, first, kSlotFill);

    if (slot.action <= 0) {
        const std::string label = SlotLabel(slot.slot, fight);
        graphics->RenderText(label, sx + 16 - app->TextWidth(label) / 2, sy + 9, kLabelColor);
        return;
    }
    Sprite* icon = app->sprites->GetSprite(slot.action);
    if (slot.type == 0) {
        const uint32_t now = GetTicks();
        const auto shade = shadeTimers.find(slot.action);
        const auto cooldown = cooldowns.find(slot.action);
        const bool shaded = shade != shadeTimers.end() && shade->second.Running(now);
        const bool cooling = cooldown != cooldowns.end() && cooldown->second.Running(now);
        if (cooling)
            graphics->SetColor(kCooldownTint);
        graphics->RenderSprite(icon, sx + 1, sy + 1);
        if (cooling)
            graphics->SetColor(kNoTint);
        if (shaded)
            graphics->RenderRectangle(kShadeColor, sx + 1, sy, 32, shade->second.ShadeHeight(now));
        if (cooling) {
            const std::string seconds = std::to_string(cooldown->second.SecondsLeft(now));
            graphics->RenderText(seconds, sx + 16 - app->TextWidth(seconds) / 2, sy + 9, kSecondsColor);
        }
    } else if (slot.type >= 1 && slot.type <= 3) {
        graphics->RenderSprite(icon, sx + 1, sy + 1);
    }
    if (!slot.param.empty())
        graphics->RenderText(slot.param.substr(0, 4), sx + 3, sy + 20, kTargetColor);
}

void HotkeyBar::UpdateSlotTooltip(const HotkeySlot& slot, int key) {
    // Only an id of 0 has no tooltip; a negative one is drawn empty but still
    // explains itself by its type.
    if (slot.action == 0) {
        gui->RemoveTooltip(key);
        return;
    }
    std::vector<std::string> lines;
    switch (slot.type) {
    case 0:
        if (const HotkeySpellInfo* info = GetSpellInfo(slot.action)) {
            lines.push_back(info->name);
            lines.push_back(std::to_string(info->mana) + " mana");
            if (!slot.param.empty()) {
                lines.push_back("");
                lines.push_back("Target: " + slot.param);
            }
        } else {
            lines.push_back("You can not cast this spell.");
        }
        break;
    case 1:
        lines.push_back("Use " + ItemsCache::Instance()->GetName(unsigned(slot.action)) + ".");
        break;
    case 2:
        lines.push_back("Loot all open bodies.");
        break;
    case 3:
        lines.push_back("Attack nearest monster.");
        break;
    default:
        break;
    }
    gui->AddTooltip(key, slot.x, slot.y, float(kSlotSize), float(kSlotSize), lines);
}
