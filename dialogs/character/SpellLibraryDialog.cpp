#include "dialogs/character/SpellLibraryDialog.h"

#include <algorithm>

#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const uint32_t kLabelColor = 0xFFC8C8C8;
const uint32_t kHintColor = 0xFF808080;
const uint32_t kListFill = 0x1E000000;      // black at alpha 30
const char kUnknownBeing[] = "unknown being";
const int kWarrior = 1;
const int kRanger = 2;
const int kMage = 3;

SpellLibraryDialog* Module(void* context) { return static_cast<SpellLibraryDialog*>(context); }

void ShowTab(void* module, int tab) {
    Module(module)->tab = tab;
    Module(module)->ShowSpell();
}

}  // namespace

SpellLibraryDialog::SpellLibraryDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("SpellLibraryDialog");
}

SpellLibraryDialog::~SpellLibraryDialog() { lifecycle::Note("~SpellLibraryDialog"); }

void SpellLibraryDialog::SetSpells(int spellId, int vocation, const std::string& name, const std::string& label,
                                   int mana, int magicLevel, const std::string& description) {
    if (entries.size() >= kMaxEntries)
        entries.erase(entries.begin());
    entries.push_back(SpellLibraryEntry{spellId, vocation, name, label == kUnknownBeing ? std::string() : label,
                                        mana, magicLevel, description});
}

void SpellLibraryDialog::Clear() { entries.clear(); }

void SpellLibraryDialog::Open() {
    DialogHelper dialog(gui, GameIds::kSpellLibraryDialog);
    if (dialog.IsOpen()) {
        ShowSpell();
        return;
    }
    tab = kWarrior;
    GUIDialog* window = dialog.OpenFromCentre("Spell Library", -175, -231, 350, 462);
    if (!window)
        return;
    window->drawCallback = &SpellLibraryDialog::DrawPanel;
    window->drawContext = this;

    dialog.AddTabStrip(GameIds::kSpellLibraryTabs, 20, 38, 311, 20, 103,
                       {{GameIds::kSpellLibraryTabWarrior, "Warrior Spells", &SpellLibraryDialog::OnTabWarrior},
                        {GameIds::kSpellLibraryTabRanger, "Ranger Spells", &SpellLibraryDialog::OnTabRanger},
                        {GameIds::kSpellLibraryTabMage, "Mage Spells", &SpellLibraryDialog::OnTabMage}},
                       this);

    GUISelect* list = dialog.Add(new GUISelect(), 20, 65, 310, 202);
    list->id = GameIds::kSpellLibraryList;
    list->fillColor = kListFill;

    GUITextbox* description = dialog.Add(new GUITextbox(), 26, 316, 298, 76);
    description->id = GameIds::kSpellLibraryDescription;
    description->SetFlag(GUIControl::kMultiLine | GUIControl::kReadOnly);
    description->textColor = kLabelColor;
    description->SetText("Choose a spell to see it's description.");
    description->EnableScrollbar();

    dialog.Add(new GUILine(), 7, 417, 336, 1);
    dialog.AddButton(GameIds::kSpellLibraryClose, "Close", &SpellLibraryDialog::OnClose, this, 128, 427, 95, 25);
    ShowSpell();
}

void SpellLibraryDialog::ShowSpell() {
    std::stable_sort(entries.begin(), entries.end(), [](const SpellLibraryEntry& a, const SpellLibraryEntry& b) {
        if (a.label != b.label)
            return a.label < b.label;  // byte-wise: std::string compares as unsigned bytes
        return a.mana < b.mana;
    });
    GUISelect* list = DialogHelper(gui, GameIds::kSpellLibraryDialog).Find<GUISelect>(GameIds::kSpellLibraryList);
    if (!list)
        return;
    list->Clear();
    for (const SpellLibraryEntry& entry : entries)
        if (entry.vocation == tab)
            list->AddItem(entry.name, entry.label);
}

const SpellLibraryEntry* SpellLibraryDialog::SelectedSpell() const {
    const GUISelect* list =
        DialogHelper(gui, GameIds::kSpellLibraryDialog).Find<GUISelect>(GameIds::kSpellLibraryList);
    if (!list || list->selectedIndex < 0)
        return nullptr;
    int index = list->selectedIndex;
    for (const SpellLibraryEntry& entry : entries)
        if (entry.vocation == tab && index-- == 0)
            return &entry;
    return nullptr;
}

void SpellLibraryDialog::DrawPanel(void* module) {
    SpellLibraryDialog* self = Module(module);
    DialogHelper dialog(self->gui, GameIds::kSpellLibraryDialog);
    const GUIControl* window = dialog.Dialog();
    Graphics* graphics = self->app->graphics;
    if (!window || !graphics)
        return;
    const int X = window->x;
    const int Y = window->y;
    const int W = window->width;
    dialog.DrawPanel();
    dialog.DrawPanelBox(X + 20, Y + 272, W - 40, 126);

    const SpellLibraryEntry* spell = self->SelectedSpell();
    if (!spell) {
        const std::string hint = "Select a spell from the list.";
        graphics->RenderText(hint, X + W / 2 - self->app->TextWidth(hint) / 2, Y + 285, kHintColor, true);
        return;
    }
    dialog.DrawFrameBox(X + 26, Y + 277, 34, 34);
    // Ids the store cannot hold give no sprite.
    if (Sprite* icon = self->app->sprites ? self->app->sprites->GetSprite(spell->spellId) : nullptr)
        graphics->RenderSprite(icon, X + 27, Y + 278, 32, 32);
    graphics->RenderText("This spell requires magic level " + std::to_string(spell->magicLevel) + ".", X + 66,
                         Y + 278, kLabelColor, true);
    graphics->RenderText("The mana usage is " + std::to_string(spell->mana) + ".", X + 66, Y + 293, kLabelColor,
                         true);
    if (GUITextbox* description = dialog.Find<GUITextbox>(GameIds::kSpellLibraryDescription)) {
        const std::string text =
            spell->description.empty() ? "No information about this spell." : spell->description + "\n";
        if (description->GetText() != text)
            description->SetText(text);
    }
}

void SpellLibraryDialog::OnTabWarrior(void* module, int, int) { ShowTab(module, kWarrior); }
void SpellLibraryDialog::OnTabRanger(void* module, int, int) { ShowTab(module, kRanger); }
void SpellLibraryDialog::OnTabMage(void* module, int, int) { ShowTab(module, kMage); }

void SpellLibraryDialog::OnClose(void* module) {
    DialogHelper(Module(module)->gui, GameIds::kSpellLibraryDialog).CloseAndFocus(GameIds::kChatInput);
}

void SpellLibraryDialog::Close() {
    lifecycle::Note("SpellLibraryDialog::Close");
    Clear();
    DialogHelper(gui, GameIds::kSpellLibraryDialog).CloseAndFocus(GameIds::kChatInput);
}
