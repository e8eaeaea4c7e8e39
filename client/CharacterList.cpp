#include "client/CharacterList.h"

#include "client/Client.h"
#include "client/Hosts.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "world/OutfitPalette.h"

namespace {

const uint32_t kListFill = 0x1E000000;  // black at alpha 30
const uint32_t kLabelColor = 0xFFC8C8C8;
// Standing, facing the player: what creatures show of themselves too.
const int kPreviewPose = 12;
const int kPreviewFrame = 0;

// "3 days ", "1 hour ": a number, its unit and a blank.
std::string Part(long long number, const char* unit) {
    return std::to_string(number) + " " + unit + (number == 1 ? "" : "s") + " ";
}

}  // namespace

CharacterEntry::~CharacterEntry() { delete preview; }

CharacterList::CharacterList(Protocol* owner) : protocol(owner), outfits(OutfitPalette::Instance()) {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

// The protocol, and with it the list, outlives the GUI at the end of the
// program: only the entries are freed here.
CharacterList::~CharacterList() { characters.clear(); }

void CharacterList::Clear() {
    // The open dialog's rows point at the previews: they go first, so that
    // nothing draws a deleted picture.
    if (GUISelect* list = DialogHelper(gui, kDialog).Find<GUISelect>(kList))
        list->Clear();
    characters.clear();
}

void CharacterList::SetPremiumDays(uint32_t value) { premiumEnd = int32_t(value); }

void CharacterList::AddCharacter(std::string name, std::string secondText, std::string host, uint16_t port,
                                 const int outfit[9], std::string thirdText, int32_t level) {
    auto entry = std::make_unique<CharacterEntry>();
    entry->name = std::move(name);
    entry->secondText = std::move(secondText);
    entry->host = std::move(host);
    entry->thirdText = std::move(thirdText);
    entry->port = port;
    entry->level = level;
    for (int i = 0; i < 9; ++i)
        entry->outfit[i] = outfit[i];
    characters.push_back(std::move(entry));
}

void CharacterList::Open() {
    DialogHelper dialog(gui, kDialog);
    GUIDialog* frame = dialog.OpenFromCentre("Character List", -135, -149, 270, 297);
    if (!frame)
        return;
    frame->drawCallback = &CharacterList::OnDraw;
    frame->drawContext = this;

    GUISelect* list = new GUISelect();
    list->id = kList;
    list->rowHeight = 50;
    dialog.Add(list, 10, 30, 250, 152);
    list->fillColor = kListFill;  // after adding, which copies the dialog's colours

    dialog.AddButton(kEnterGameButton, "Enter Game", &CharacterList::OnEnterGameClicked, this, 11, 223, 248, 25);
    dialog.AddButton(kNewCharacterButton, "New Character", &CharacterList::OnNewCharacterClicked, nullptr, 11, 259,
                     124, 25);
    dialog.AddButton(kCancelButton, "Cancel", &CharacterList::OnCancelClicked, this, 135, 259, 124, 25);

    // Up and Down pick a row, Enter enters the game.
    gui->focus = list;
    gui->enterButtonId = kEnterGameButton;
}

void CharacterList::Refresh() {
    GUISelect* list = DialogHelper(gui, kDialog).Find<GUISelect>(kList);
    if (!list)
        return;
    list->Clear();
    for (const std::unique_ptr<CharacterEntry>& entry : characters) {
        delete entry->preview;
        entry->preview = outfits ? outfits->GetSprite(entry->outfit[0], kPreviewPose, kPreviewFrame, entry->outfit)
                                 : nullptr;
        list->AddItem(entry->name, entry->secondText, 0, entry->thirdText, "Level " + std::to_string(entry->level),
                      entry->preview);
    }
    list->UpdateScrollbar();
}

void CharacterList::EnterGame() {
    const GUISelect* list = DialogHelper(gui, kDialog).Find<GUISelect>(kList);
    const int index = list ? list->selectedIndex : 0;
    if (index < 0 || size_t(index) >= characters.size())
        return;
    const CharacterEntry& entry = *characters[size_t(index)];
    protocol->characterName = entry.name;
    protocol->Connect(1, {entry.host}, entry.port);
}

void CharacterList::Draw() {
    const GUIControl* dialog = DialogHelper(gui, kDialog).Dialog();
    if (!dialog || !app->graphics)
        return;
    Graphics* graphics = app->graphics;
    const int dx = dialog->x;
    const int dy = dialog->y;
    const uint32_t light = gui->root->lightColor;
    const uint32_t dark = gui->root->darkColor;
    graphics->RenderBox(dx + 10, dy + 222, 250, 27, dark, light, kListFill);
    graphics->RenderBox(dx + 10, dy + 258, 250, 27, dark, light, kListFill);
    graphics->RenderBox(dx + 10, dy + 192, 250, 20, dark, light, kListFill);
    graphics->RenderText("Premium:", dx + 15, dy + 194, kLabelColor, true);

    const std::time_t now = std::time(nullptr);
    const std::string text = PremiumText(premiumEnd, now);
    const uint32_t color = premiumEnd > now ? kPremiumColor : kNotPremiumColor;
    const int width = app->font ? app->font->GetTextWidth(text) : 0;
    graphics->RenderText(text, dx + 255 - width, dy + 194, color, true);
}

std::string CharacterList::PremiumText(int32_t premiumEnd, std::time_t now) {
    if (premiumEnd <= now)
        return "This account is not premium.";
    const long long seconds = premiumEnd - now;
    const long long minutes = seconds / 60;
    const long long hours = minutes / 60;
    const long long days = hours / 24;
    const long long h = hours - 24 * days;
    const long long m = minutes - 60 * hours;
    const long long s = seconds - 60 * minutes;
    // The larger units crowd out the smaller: no minutes once there are days,
    // no seconds once there are hours.
    std::string text;
    if (days > 0)
        text += Part(days, "day");
    if (h > 0)
        text += Part(h, "hour");
    if (days == 0) {
        if (m > 0)
            text += Part(m, "minute");
        if (h == 0 && s > 0)
            text += Part(s, "second");
    }
    return text + "left";
}

void CharacterList::OnEnterGameClicked(void* list) { static_cast<CharacterList*>(list)->EnterGame(); }

void CharacterList::OnNewCharacterClicked(void*) { platform::OpenInShell(kAccountPageUrl); }

void CharacterList::OnCancelClicked(void* list) { DialogHelper(static_cast<CharacterList*>(list)->gui, kDialog).Close(); }

void CharacterList::OnDraw(void* list) { static_cast<CharacterList*>(list)->Draw(); }
