#include "dialogs/social/IgnoreList.h"

#include <algorithm>

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "client/TextUtils.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITextbox.h"
#include "game/Lifecycle.h"

namespace {

const char kSection[] = "other";
const char kKey[] = "ignorelist";
const char kSeparator[] = "|";

ConfigFile* Options() {
    Settings* settings = Client::Instance()->settings;
    return settings ? settings->options : nullptr;
}

// Names come from the server: only A to Z fold, whatever the locale, and a
// byte of 0x80 or more compares as itself.
char Fold(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

void OnAddClicked(void* module) { static_cast<IgnoreList*>(module)->OnAdd(); }
void OnRemoveClicked(void* module) { static_cast<IgnoreList*>(module)->OnRemove(); }
// Only closes the dialog: the list stays as it is in memory.
void OnCloseClicked(void* module) {
    DialogHelper(static_cast<IgnoreList*>(module)->gui, IgnoreList::kDialogId).CloseAndFocus(GameIds::kChatInput);
}

}  // namespace

IgnoreList::IgnoreList() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("IgnoreList");
    Load();
}

IgnoreList::~IgnoreList() {
    if (!closed_)
        Close();
    lifecycle::Note("~IgnoreList");
}

void IgnoreList::Load() {
    if (const ConfigFile* options = Options())
        for (const std::string& name : SplitString(options->GetString(kSection, kKey), kSeparator))
            names.push_back(name);
}

void IgnoreList::Save() {
    std::string value;
    for (const std::string& name : names)
        value += (value.empty() ? "" : kSeparator) + name;
    if (ConfigFile* options = Options())
        options->SetString(kSection, kKey, value);
}

void IgnoreList::Close() {
    lifecycle::Note("IgnoreList::Close");
    closed_ = true;
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
    Save();
}

void IgnoreList::Open() {
    DialogHelper dialog(gui, kDialogId);
    if (GUIDialog* frame = dialog.OpenFromCentre("Ignore List", -150, -152, 300, 305)) {
        frame->drawCallback = &IgnoreList::Draw;
        frame->drawContext = this;
        GUITextbox* name = dialog.Add(new GUITextbox(), 20, 38, 180, 25);
        name->id = kNameBoxId;
        name->fillColor = 0x01000000;
        dialog.AddButton(kAddButtonId, "Add", &OnAddClicked, this, 210, 38, 70, 25);
        dialog.Add(new GUISelect(), 20, 70, 260, 137)->id = kListId;
        dialog.AddButton(kRemoveButtonId, "Remove", &OnRemoveClicked, this, 20, 217, 260, 25);
        dialog.Add(new GUILine(), 7, 260, 286, 1);
        dialog.AddButton(kCloseButtonId, "Close", &OnCloseClicked, this, 90, 270, 120, 25);
    }
    Refresh();
}

void IgnoreList::Refresh() {
    GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kListId);
    if (!list)
        return;
    list->Clear();
    for (const std::string& name : names)
        list->AddItem(name);
}

void IgnoreList::OnAdd() {
    GUITextbox* box = DialogHelper(gui, kDialogId).Find<GUITextbox>(kNameBoxId);
    if (!box)
        return;
    const std::string name = box->GetText();
    if (name.empty())
        return;
    box->SetText("");
    // Stored joined by "|", such a name would come back as two.
    if (name.find(kSeparator) == std::string::npos) {
        names.push_back(name);
        Save();
    }
    Refresh();
}

void IgnoreList::OnRemove() {
    const GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(kListId);
    const std::string selected = list ? list->GetSelectedText() : std::string();
    const auto found = std::find(names.begin(), names.end(), selected);
    if (found != names.end()) {
        names.erase(found);
        Save();
    }
    Refresh();
}

bool IgnoreList::IsIgnored(const std::string& name) const {
    return std::any_of(names.begin(), names.end(),
                       [&name](const std::string& entry) { return SameIgnoringCase(entry, name); });
}

void IgnoreList::Draw(void* module) {
    const DialogHelper dialog(static_cast<IgnoreList*>(module)->gui, kDialogId);
    if (const GUIControl* frame = dialog.Dialog())
        dialog.DrawPanelBox(frame->x + 10, frame->y + 28, frame->width - 20, frame->height - 81);
}
