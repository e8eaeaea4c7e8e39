#include "dialogs/character/HotkeyDialog.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/ChatLog.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "game/HotkeyBar.h"
#include "game/HotkeyGeometry.h"
#include "game/Lifecycle.h"
#include "world/ItemsCache.h"

namespace {

const uint32_t kLabelColor = 0xFFC8C8C8;
const int kRowHeight = 50;
const int kLootBodies = 246;
const int kTypeNothing = 0;
const int kTypeItem = 1;
const int kTypeGeneral = 2;
const int kMessageNotice = 6;
const int kDescriptionHeightGeneral = 93;
const int kDescriptionHeightSpells = 63;

HotkeyDialog* Module(void* context) { return static_cast<HotkeyDialog*>(context); }

HotkeyBar* Bar() {
    GameInterface* game = Client::Instance()->game;
    return game ? game->hotkeyBar : nullptr;
}

std::string SecondsText(const HotkeySpellRecord& spell) {
    std::string text = spell.seconds > 0 ? std::to_string(spell.seconds) + " seconds" : "Instant";
    if (spell.premium)
        text += " (Premium)";
    return text;
}

// Setting a text box's text moves its caret and scroll: only a new text is set.
void SetTextIfNew(GUITextbox* box, const std::string& text) {
    if (box->GetText() != text)
        box->SetText(text);
}

}  // namespace

HotkeyDialog::HotkeyDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    AddAction(0, kTypeNothing, "-- Do nothing --",
              "Choose to make the hotkey void of action. You can drop usable items into this window to add them.");
    AddAction(kLootBodies, kTypeGeneral, "Loot Bodies", "Loot all open bodies at once when triggering this hotkey.");
    lifecycle::Note("HotkeyDialog");
}

HotkeyDialog::~HotkeyDialog() { lifecycle::Note("~HotkeyDialog"); }

void HotkeyDialog::AddAction(int id, int type, const std::string& name, const std::string& description) {
    actions.push_back(HotkeyActionEntry{id, type, name, description});
}

void HotkeyDialog::ClearSpells() {
    supportSpells.clear();
    offensiveSpells.clear();
}

void HotkeyDialog::AddSpell(int spellId, const std::string& name, int mana, int magicLevel, int seconds,
                            bool offensive, bool premium, const std::string& description) {
    std::vector<HotkeySpellRecord>& spells = offensive ? offensiveSpells : supportSpells;
    spells.push_back(HotkeySpellRecord{spellId, mana, magicLevel, seconds, name, description, premium});
    std::stable_sort(spells.begin(), spells.end(),
                     [](const HotkeySpellRecord& a, const HotkeySpellRecord& b) { return a.mana < b.mana; });
}

const std::vector<HotkeySpellRecord>& HotkeyDialog::SpellsOf(int which) const {
    return which == kOffensive ? offensiveSpells : supportSpells;
}

GUISelect* HotkeyDialog::List() const {
    return DialogHelper(gui, GameIds::kHotkeyEditor).Find<GUISelect>(GameIds::kHotkeyList);
}

int HotkeyDialog::SelectedIndex() const {
    const GUISelect* list = List();
    return list ? list->selectedIndex : -1;
}

const HotkeyActionEntry* HotkeyDialog::SelectedAction() const {
    const int index = SelectedIndex();
    if (category != kGeneral || index < 0 || index >= int(actions.size()))
        return nullptr;
    return &actions[size_t(index)];
}

const HotkeySpellRecord* HotkeyDialog::SelectedSpell() const {
    const int index = SelectedIndex();
    if (category == kGeneral)
        return nullptr;
    const std::vector<HotkeySpellRecord>& spells = SpellsOf(category);
    if (index < 0 || index >= int(spells.size()))
        return nullptr;
    return &spells[size_t(index)];
}

void HotkeyDialog::Open() {
    lifecycle::Note("HotkeyDialog::Open " + std::to_string(slot) + (fightSet ? " fight" : ""));
    DialogHelper dialog(gui, GameIds::kHotkeyEditor);
    if (dialog.IsOpen()) {
        FillList();
        SelectCurrent();
        return;
    }
    category = kGeneral;
    GUIDialog* window = dialog.OpenFromCentre("Select Action", -201, -217, 402, 435);
    if (!window)
        return;
    window->drawCallback = &HotkeyDialog::ShowActionInfo;
    window->drawContext = this;

    dialog.AddTabStrip(GameIds::kHotkeyTabs, 20, 38, 362, 20, 120,
                       {{GameIds::kHotkeyTabGeneral, "General Actions", &HotkeyDialog::OnTabGeneral},
                        {GameIds::kHotkeyTabSupport, "Support Spells", &HotkeyDialog::OnTabSupport},
                        {GameIds::kHotkeyTabOffensive, "Offensive Spells", &HotkeyDialog::OnTabOffensive}},
                       this);

    GUISelect* list = dialog.Add(new GUISelect(), 20, 65, 362, 202);
    list->id = GameIds::kHotkeyList;
    list->rowHeight = kRowHeight;
    list->SetFlag(GUIControl::kFramedIcons);

    GUITextbox* target = dialog.Add(new GUITextbox(), 70, 345, 312, 25);
    target->id = GameIds::kHotkeyTarget;
    if (HotkeyBar* bar = Bar())
        target->SetText(bar->GetSlotParam(bar->page, slot, fightSet));

    GUITextbox* description = dialog.Add(new GUITextbox(), 20, 275, 362, 63);
    description->id = GameIds::kHotkeyDescription;
    description->SetFlag(GUIControl::kMultiLine | GUIControl::kReadOnly);
    description->textColor = kLabelColor;
    description->SetText("Choose an action to see its description.");
    description->EnableScrollbar();

    dialog.Add(new GUILine(), 7, 390, 388, 1);
    dialog.AddButton(GameIds::kHotkeySave, "Save", &HotkeyDialog::OnSave, this, 93, 400, 95, 25);
    dialog.AddButton(GameIds::kHotkeyCancel, "Cancel", &HotkeyDialog::OnCancel, this, 214, 400, 95, 25);
    gui->enterButtonId = GameIds::kHotkeySave;

    FillList();
    SelectCurrent();
}

void HotkeyDialog::FillList() {
    GUISelect* list = List();
    if (!list)
        return;
    list->Clear();
    if (category == kGeneral) {
        for (const HotkeyActionEntry& entry : actions)
            list->AddItem(entry.name, "Action Key", entry.id);
        return;
    }
    for (const HotkeySpellRecord& spell : SpellsOf(category))
        list->AddItem(spell.name, std::to_string(spell.mana) + " mana", spell.spellId, SecondsText(spell),
                      "magic level " + std::to_string(spell.magicLevel));
}

void HotkeyDialog::ShowCategory(int which) {
    GUISelect* list = List();
    if (!list)
        return;
    category = which;
    FillList();
    const int32_t tabId = which == kGeneral   ? GameIds::kHotkeyTabGeneral
                          : which == kSupport ? GameIds::kHotkeyTabSupport
                                              : GameIds::kHotkeyTabOffensive;
    DialogHelper dialog(gui, GameIds::kHotkeyEditor);
    if (GUITabgroup* tabs = dialog.Find<GUITabgroup>(GameIds::kHotkeyTabs))
        tabs->SetActiveTab(dialog.Find<GUITab>(tabId));
    list->SyncScroll();
}

void HotkeyDialog::SelectCurrent() {
    HotkeyBar* bar = Bar();
    GUISelect* list = List();
    if (!bar || !list)
        return;
    const int action = bar->GetSlotAction(bar->page, slot, fightSet);
    const int type = bar->GetSlotType(bar->page, slot, fightSet);
    if (action == 0)
        return;
    if (type == kTypeNothing) {
        // A spell id in both lists ends on the offensive tab: the search goes
        // on after a match.
        for (int which : {kSupport, kOffensive}) {
            const std::vector<HotkeySpellRecord>& spells = SpellsOf(which);
            for (size_t position = 0; position < spells.size(); ++position) {
                if (spells[position].spellId != action)
                    continue;
                list->selectedIndex = int(position);
                ShowCategory(which);
            }
        }
        return;
    }
    if (type != kTypeItem && type != kTypeGeneral)
        return;
    const auto found = std::find_if(actions.begin(), actions.end(),
                                    [action](const HotkeyActionEntry& entry) { return entry.id == action; });
    const int position = int(found - actions.begin());
    if (found == actions.end())
        SetItemAction(action);
    list->selectedIndex = position;
    ShowCategory(kGeneral);
}

void HotkeyDialog::SetItemAction(int itemId) {
    const ItemRecord* record = itemId > 0 ? ItemsCache::Instance()->Get(unsigned(itemId)) : nullptr;
    if (!record || record->name.empty()) {
        ChatLog::Instance()->AddMessage("Server", "Main", kMessageNotice, "This item is not usable.");
        return;
    }
    AddAction(itemId, kTypeItem, "Use " + record->name,
              "Choose this to use " + record->name + " when triggering this hotkey.");
    FillList();
}

bool HotkeyDialog::DropTarget(int x, int y) {
    const GUIControl* dialog = DialogHelper(gui, GameIds::kHotkeyEditor).Dialog();
    return dialog && dialog->x < x && x < dialog->x + dialog->width && dialog->y < y &&
           y < dialog->y + dialog->height;
}

void HotkeyDialog::ShowActionInfo(void* module) {
    HotkeyDialog* self = Module(module);
    DialogHelper dialog(self->gui, GameIds::kHotkeyEditor);
    const GUIControl* window = dialog.Dialog();
    if (!window)
        return;
    dialog.DrawPanel();
    GUITextbox* description = dialog.Find<GUITextbox>(GameIds::kHotkeyDescription);
    GUITextbox* target = dialog.Find<GUITextbox>(GameIds::kHotkeyTarget);
    GUISelect* list = dialog.Find<GUISelect>(GameIds::kHotkeyList);
    const int X = window->x;
    const int Y = window->y;
    const int W = window->width;
    const int H = window->height;
    const bool general = self->category == kGeneral;
    if (list) {
        if (general)
            list->ClearFlag(GUIControl::kFramedIcons);
        else
            list->SetFlag(GUIControl::kFramedIcons);
    }
    if (target) {
        if (general)
            target->SetFlag(GUIControl::kHidden);
        else
            target->ClearFlag(GUIControl::kHidden);
    }
    if (description) {
        description->SetRect(description->x, description->y, W - 40,
                             general ? kDescriptionHeightGeneral : kDescriptionHeightSpells);
        if (general) {
            if (const HotkeyActionEntry* entry = self->SelectedAction())
                SetTextIfNew(description, entry->description.empty() ? "No information about this action."
                                                                     : entry->description + "\n");
        } else if (const HotkeySpellRecord* spell = self->SelectedSpell()) {
            SetTextIfNew(description,
                         spell->description.empty() ? "No information about this spell." : spell->description + "\n");
        }
    }
    if (!general && self->app->graphics)
        self->app->graphics->RenderText("Target:", X + 20, Y + H - 85, kLabelColor, true);
}

void HotkeyDialog::OnSave(void* module) {
    HotkeyDialog* self = Module(module);
    HotkeyBar* bar = Bar();
    DialogHelper dialog(self->gui, GameIds::kHotkeyEditor);
    const GUITextbox* target = dialog.Find<GUITextbox>(GameIds::kHotkeyTarget);
    Settings* settings = Client::Instance()->settings;
    // A slot the bar never set (an editor opened by a spell list nobody asked
    // for) has no key: writing one would also create the page's section,
    // which ends the new player's default first slot.
    const bool validSlot = self->slot >= 1 && self->slot <= hotkeys::kSlotsPerRow;
    if (bar && target && self->List() && settings && validSlot) {
        ConfigFile* options = settings->options;
        const std::string section = hotkeys::SectionName(bar->page, self->fightSet);
        const std::string key = hotkeys::SlotKey(self->slot);
        bool wrote = false;
        if (const HotkeyActionEntry* entry = self->SelectedAction()) {
            options->SetInt(section, key, entry->id);
            options->SetInt(section, key + "type", entry->type);
            options->SetString(section, key + "param", target->GetText());
            wrote = true;
        } else if (const HotkeySpellRecord* spell = self->SelectedSpell()) {
            std::printf("%s|%s|%d\n", key.c_str(), section.c_str(), spell->spellId);
            std::fflush(stdout);
            options->SetInt(section, key, spell->spellId);
            options->SetInt(section, key + "type", kTypeNothing);
            options->SetString(section, key + "param", target->GetText());
            wrote = true;
        }
        if (wrote) {
            settings->Save();
            bar->Layout();
        }
    }
    dialog.CloseAndFocus(GameIds::kChatInput);
}

void HotkeyDialog::OnCancel(void* module) {
    DialogHelper(Module(module)->gui, GameIds::kHotkeyEditor).CloseAndFocus(GameIds::kChatInput);
}

void HotkeyDialog::OnTabGeneral(void* module, int, int) {
    Module(module)->category = kGeneral;
    Module(module)->FillList();
}

void HotkeyDialog::OnTabSupport(void* module, int, int) {
    Module(module)->category = kSupport;
    Module(module)->FillList();
}

void HotkeyDialog::OnTabOffensive(void* module, int, int) {
    Module(module)->category = kOffensive;
    Module(module)->FillList();
}

void HotkeyDialog::Close() {
    lifecycle::Note("HotkeyDialog::Close");
    DialogHelper(gui, GameIds::kHotkeyEditor).CloseAndFocus(GameIds::kChatInput);
    ClearSpells();
    actions.clear();
}
