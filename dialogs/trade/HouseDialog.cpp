#include "dialogs/trade/HouseDialog.h"

#include <algorithm>
#include <utility>

#include "client/Client.h"
#include "client/TextUtils.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/Lifecycle.h"
#include "protocol/Protocol.h"

namespace {

constexpr uint32_t kListFill = DialogHelper::kPanelFill;
constexpr uint32_t kLabelColor = 0xFFC8C8C8;
constexpr uint32_t kHintColor = 0xFFB4B4B4;

// The controls of the pages and the pages that show them (bit k - 1 for page k).
struct PageControl {
    int32_t id;
    unsigned pages;
};
constexpr unsigned kPage1 = 1, kPage2 = 2, kPage3 = 4, kPage4 = 8;
constexpr PageControl kPageTable[] = {
    {GameIds::kHouseName, kPage1 | kPage2},      {GameIds::kHouseAdd, kPage1 | kPage2},
    {GameIds::kHousePersons, kPage1 | kPage2},   {GameIds::kHouseRemove, kPage1 | kPage2},
    {GameIds::kHouseSubOwner, kPage1},           {GameIds::kHouseNoEntry, kPage2},
    {GameIds::kHouseDoor, kPage2},               {GameIds::kHouseEditRights, kPage2},
    {GameIds::kHouseAbandonCheck, kPage3},       {GameIds::kHouseAbandon, kPage3},
    {GameIds::kHouseNewOwner, kPage3},           {GameIds::kHousePrice, kPage3},
    {GameIds::kHouseTransfer, kPage3},           {GameIds::kHouseDecorations, kPage4},
    {GameIds::kHouseBuy, kPage4},
};

Protocol* GetProtocol() { return Client::Instance()->protocol; }

HouseDialog* Module(void* self) { return static_cast<HouseDialog*>(self); }

// A check box's state, read in its click callback after it has toggled.
bool Checked(HouseDialog* house, int32_t id) {
    const GUICheckbox* box = DialogHelper(house->gui, HouseDialog::kDialogId).Find<GUICheckbox>(id);
    return box && box->checked;
}

}  // namespace

HouseDialog::HouseDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("HouseDialog");
}

HouseDialog::~HouseDialog() { lifecycle::Note("~HouseDialog"); }

// --- The server's data ---

void HouseDialog::ClearLists() {
    record.invites.clear();
    record.tilePermissions.clear();
    decorationItems.clear();
}

void HouseDialog::SetName(const std::string& houseName) { name = houseName; }

void HouseDialog::SetPosition(const Position& where) { record.position = where; }

void HouseDialog::SetFirstValue(int32_t value) { accessLevel = value; }

void HouseDialog::SetSecondValue(int32_t value) { grantableRights = value; }

void HouseDialog::AddInvite(const std::string& person, bool subOwner) {
    record.invites.push_back({person, subOwner});
}

void HouseDialog::AddTilePermission(const std::string& person, uint32_t rights) {
    record.tilePermissions.push_back({person, rights});
}

void HouseDialog::AddDecorationItem(uint32_t id, const std::string& itemName, const std::string& detail) {
    decorationItems.push_back({id, itemName, detail});
}

// --- The window ---

void HouseDialog::Open() {
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = dialog.OpenFromCentre("House Management", -249, -209, 498, 418);
    if (!frame)
        return;
    currentTab = kInviteList;
    frame->drawCallback = &HouseDialog::DrawCallback;
    frame->drawContext = this;

    dialog.AddTabStrip(GameIds::kHouseTabs, 20, 75, 458, 20, 114,
                       {{GameIds::kHouseTabInvites, "Invite List", &HouseDialog::OnInviteListTab},
                        {GameIds::kHouseTabPermissions, "Tile Permissions", &HouseDialog::OnTilePermissionsTab},
                        {GameIds::kHouseTabOwnership, "Ownership", &HouseDialog::OnOwnershipTab},
                        {0, "Decoration", &HouseDialog::OnDecorationTab}},
                       this);
    GUITextbox* nameBox = new GUITextbox();
    nameBox->id = GameIds::kHouseName;
    dialog.Add(nameBox, 30, 115, 358, 25);
    dialog.AddButton(GameIds::kHouseAdd, "Add", &HouseDialog::OnAddClick, this, 393, 115, 75, 25);
    GUISelect* persons = new GUISelect();
    persons->id = GameIds::kHousePersons;
    persons->clickCallback = &HouseDialog::OnPersonSelected;
    persons->clickContext = this;
    if (dialog.Add(persons, 30, 150, 438, 62))
        persons->fillColor = kListFill;
    dialog.AddButton(GameIds::kHouseRemove, "Remove selected person", &HouseDialog::OnRemoveClick, this, 30, 222,
                     438, 25);
    dialog.Add(new GUILine(), 7, 373, 484, 1);
    dialog.AddButton(GameIds::kHouseSave, "Save & Close", &HouseDialog::OnSaveAndClose, this, 141, 383, 95, 25);
    dialog.AddButton(GameIds::kHouseCancel, "Cancel", &HouseDialog::OnCancel, this, 262, 383, 95, 25);

    // The player's level and rights decide, once, which boxes respond.
    const auto addCheckbox = [&](int32_t id, const char* label, GUIControl::ClickCallback onClick, int dy,
                                 bool enabled) {
        GUICheckbox* box = new GUICheckbox();
        box->id = id;
        box->label = label;
        box->framed = true;
        box->clickCallback = onClick;
        box->clickContext = this;
        if (!enabled)
            box->SetFlag(GUIControl::kDisabled);
        return dialog.Add(box, 30, dy, 438, 25);
    };
    addCheckbox(GameIds::kHouseSubOwner, "Sub owner", &HouseDialog::OnSubOwnerCheck, 257, accessLevel > 1);
    addCheckbox(GameIds::kHouseNoEntry, "Can't enter", &HouseDialog::OnNoEntryCheck, 257,
                (grantableRights & kNoEntry) != 0);
    addCheckbox(GameIds::kHouseDoor, "Can open / close door", &HouseDialog::OnDoorCheck, 287,
                (grantableRights & kDoor) != 0);
    addCheckbox(GameIds::kHouseEditRights, "Can edit tile's permissions", &HouseDialog::OnEditRightsCheck, 317,
                (grantableRights & kEditRights) != 0);
    if (GUIControl* check = addCheckbox(GameIds::kHouseAbandonCheck,
                                        "I want to abandon this house - this can not be undone!",
                                        &HouseDialog::OnAbandonCheck, 115, true))
        check->SetFlag(GUIControl::kHidden);
    if (GUIButton* abandon =
            dialog.AddButton(GameIds::kHouseAbandon, "Abandon", &HouseDialog::OnAbandon, this, 30, 150, 438, 25))
        abandon->SetFlag(GUIControl::kHidden | GUIControl::kDisabled);
    for (const auto& [id, dy] : {std::pair<int32_t, int>{GameIds::kHouseNewOwner, 205}, {GameIds::kHousePrice, 235}}) {
        GUITextbox* box = new GUITextbox();
        box->id = id;
        if (dialog.Add(box, 130, dy, 338, 25))
            box->SetFlag(GUIControl::kHidden);
    }
    if (GUIButton* transfer = dialog.AddButton(GameIds::kHouseTransfer, "Transfer house",
                                               &HouseDialog::OnTransferHouse, this, 30, 270, 438, 25))
        transfer->SetFlag(GUIControl::kHidden);
    GUISelect* decorations = new GUISelect();
    decorations->id = GameIds::kHouseDecorations;
    decorations->rowHeight = 50;
    if (dialog.Add(decorations, 30, 115, 438, 175)) {
        decorations->fillColor = kListFill;
        decorations->SetFlag(GUIControl::kHidden);
        // Filled once: the row's sprite number is the item's id, which "Buy
        // item" sends, so what is bought is always what the row shows.
        for (const DecorationItem& item : decorationItems)
            decorations->AddItem(item.name, item.detail, int(item.id));
    }
    if (GUIButton* buy = dialog.AddButton(GameIds::kHouseBuy, "Buy item", &HouseDialog::OnBuyItem, this, 358, 310,
                                          100, 25))
        buy->SetFlag(GUIControl::kHidden);

    gui->enterButtonId = GameIds::kHouseSave;
    Refresh();
}

const std::vector<int32_t>& HouseDialog::PageControls() {
    static const std::vector<int32_t> ids = [] {
        std::vector<int32_t> all;
        for (const PageControl& control : kPageTable)
            all.push_back(control.id);
        return all;
    }();
    return ids;
}

bool HouseDialog::ShownOnPage(int32_t id, int page) {
    for (const PageControl& control : kPageTable)
        if (control.id == id)
            return page >= kInviteList && page <= kDecoration && (control.pages & (1u << (page - 1))) != 0;
    return true;
}

void HouseDialog::Refresh() {
    DialogHelper dialog(gui, kDialogId);
    for (int32_t id : PageControls()) {
        GUIControl* control = dialog.Find<GUIControl>(id);
        if (!control)
            continue;
        if (ShownOnPage(id, currentTab))
            control->ClearFlag(GUIControl::kHidden);
        else
            control->SetFlag(GUIControl::kHidden);
    }
    RefillPersonList();
}

std::string HouseDialog::RightsText(uint32_t rights) {
    std::string text;
    if (rights & kNoEntry)
        text += '*';
    if (rights & kDoor)
        text += '/';
    if (rights & kEditRights)
        text += '+';
    return text;
}

void HouseDialog::RefillPersonList() {
    if (currentTab != kInviteList && currentTab != kTilePermissions)
        return;
    GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(GameIds::kHousePersons);
    if (!list)
        return;
    // The current row number survives: after a change the check boxes follow
    // whichever record now stands there.
    list->Clear();
    if (currentTab == kInviteList) {
        for (const HouseInvite& invite : record.invites)
            list->AddItem(invite.name, invite.subOwner ? "Sub owner" : "");
    } else {
        for (const TilePermission& permission : record.tilePermissions)
            list->AddItem(permission.name, RightsText(permission.rights));
    }
    SyncCheckboxes();
}

bool HouseDialog::CurrentLabel(std::string& label) const {
    const GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(GameIds::kHousePersons);
    if (!list || list->selectedIndex < 0 || size_t(list->selectedIndex) >= list->items.size())
        return false;
    label = list->items[size_t(list->selectedIndex)].text;
    return true;
}

void HouseDialog::SyncCheckboxes() {
    std::string label;
    if (!CurrentLabel(label))
        return;
    DialogHelper dialog(gui, kDialogId);
    const auto set = [&](int32_t id, bool checked) {
        if (GUICheckbox* box = dialog.Find<GUICheckbox>(id))
            box->checked = checked;
    };
    if (currentTab == kInviteList) {
        const auto invite = std::find_if(record.invites.begin(), record.invites.end(),
                                         [&](const HouseInvite& entry) { return entry.name == label; });
        if (invite != record.invites.end())
            set(GameIds::kHouseSubOwner, invite->subOwner);
    } else if (currentTab == kTilePermissions) {
        const auto permission =
            std::find_if(record.tilePermissions.begin(), record.tilePermissions.end(),
                         [&](const TilePermission& entry) { return entry.name == label; });
        if (permission != record.tilePermissions.end()) {
            set(GameIds::kHouseNoEntry, (permission->rights & kNoEntry) != 0);
            set(GameIds::kHouseDoor, (permission->rights & kDoor) != 0);
            set(GameIds::kHouseEditRights, (permission->rights & kEditRights) != 0);
        }
    }
}

// --- Editing the person lists ---

void HouseDialog::AddPerson() {
    GUITextbox* box = DialogHelper(gui, kDialogId).Find<GUITextbox>(GameIds::kHouseName);
    if (!box)
        return;
    const std::string typed = box->GetText();
    if (typed.empty())
        return;
    // The save request's counts are single bytes, and a request that does
    // not fit one message is never sent: a name either list could not carry
    // is refused here, where the player sees it, rather than lost on saving.
    if (currentTab == kInviteList && accessLevel > 0 && record.invites.size() < kMaxPersons) {
        record.invites.push_back({typed, false});
        if (!Protocol::HouseSaveFits(record))
            record.invites.pop_back();
    } else if (currentTab == kTilePermissions && grantableRights != 0 &&
               record.tilePermissions.size() < kMaxPersons) {
        record.tilePermissions.push_back({typed, 0});
        if (!Protocol::HouseSaveFits(record))
            record.tilePermissions.pop_back();
    }
    box->SetText("");
    RefillPersonList();
}

void HouseDialog::RemoveSelectedPerson() {
    std::string label;
    if (!CurrentLabel(label) || label.empty())
        return;
    if (currentTab == kInviteList) {
        const auto invite = std::find_if(record.invites.begin(), record.invites.end(),
                                         [&](const HouseInvite& entry) { return entry.name == label; });
        if (invite != record.invites.end())
            record.invites.erase(invite);
    } else if (currentTab == kTilePermissions) {
        const auto permission =
            std::find_if(record.tilePermissions.begin(), record.tilePermissions.end(),
                         [&](const TilePermission& entry) { return entry.name == label; });
        if (permission != record.tilePermissions.end())
            record.tilePermissions.erase(permission);
    }
    RefillPersonList();
}

void HouseDialog::ToggleSubOwner() {
    const GUICheckbox* box = DialogHelper(gui, kDialogId).Find<GUICheckbox>(GameIds::kHouseSubOwner);
    std::string label;
    if (box && CurrentLabel(label)) {
        const auto invite = std::find_if(record.invites.begin(), record.invites.end(),
                                         [&](const HouseInvite& entry) { return entry.name == label; });
        if (invite != record.invites.end())
            invite->subOwner = box->checked;
    }
    RefillPersonList();
}

void HouseDialog::SetTileRight(uint32_t mask, bool on) {
    std::string label;
    if (CurrentLabel(label)) {
        for (TilePermission& permission : record.tilePermissions) {
            if (permission.name != label)
                continue;
            if (on)
                permission.rights |= mask;
            else
                permission.rights &= ~mask;
        }
    }
    RefillPersonList();
}

// --- Requests and closing ---

void HouseDialog::CloseWindow() { DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput); }

void HouseDialog::SaveAndClose() {
    GetProtocol()->SendHouseSave(record);
    CloseWindow();
}

void HouseDialog::Abandon() {
    GetProtocol()->SendHouseAbandon();
    CloseWindow();
}

void HouseDialog::Cancel() { CloseWindow(); }

void HouseDialog::TransferHouse() {
    DialogHelper dialog(gui, kDialogId);
    const GUITextbox* owner = dialog.Find<GUITextbox>(GameIds::kHouseNewOwner);
    const GUITextbox* price = dialog.Find<GUITextbox>(GameIds::kHousePrice);
    if (!owner || !price)
        return;
    // A minus sign sends the two's complement, as the server has always read it.
    GetProtocol()->SendHouseTransfer(owner->GetText(), uint32_t(ReadLeadingInt(price->GetText())));
}

void HouseDialog::BuyItem() {
    const GUISelect* list = DialogHelper(gui, kDialogId).Find<GUISelect>(GameIds::kHouseDecorations);
    if (!list || list->selectedIndex < 0 || size_t(list->selectedIndex) >= list->items.size())
        return;
    GetProtocol()->SendHouseBuyItem(uint32_t(list->items[size_t(list->selectedIndex)].iconId));
}

void HouseDialog::Close() {
    lifecycle::Note("HouseDialog::Close");
    CloseWindow();
    ClearLists();
    record.invites.shrink_to_fit();
    record.tilePermissions.shrink_to_fit();
    decorationItems.shrink_to_fit();
    name = std::string();
}

// --- Drawing ---

void HouseDialog::Draw() {
    DialogHelper dialog(gui, kDialogId);
    const GUIControl* frame = dialog.Dialog();
    Graphics* graphics = app->graphics;
    if (!frame || !graphics || !gui->root)
        return;
    const int x = frame->x;
    const int y = frame->y;
    const int w = frame->width;
    const int h = frame->height;
    dialog.DrawPanel();
    dialog.DrawPanelBox(x + 20, y + 40, w - 40, 25);
    graphics->RenderText(name, x + 30, y + 45, kLabelColor, true);
    dialog.DrawPanelBox(x + 20, y + 105, w - 40, h - 170);
    if (currentTab == kOwnership) {
        graphics->RenderRectangle(gui->root->darkColor, x + 30, y + 190, w - 60, 1);
        graphics->RenderRectangle(gui->root->lightColor, x + 30, y + 191, w - 60, 1);
        graphics->RenderText("Transfer to:", x + 30, y + 210, kLabelColor, true);
        graphics->RenderText("Transfer price:", x + 30, y + 240, kLabelColor, true);
        graphics->RenderText("The new owner must be online and accept the transfer.", x + 75, y + 315, kHintColor,
                             true);
    } else if (currentTab == kDecoration) {
        dialog.DrawFrameBox(x + 30, y + 300, w - 60, 45);
        const GUISelect* list = dialog.Find<GUISelect>(GameIds::kHouseDecorations);
        if (!list || list->selectedIndex < 0 || size_t(list->selectedIndex) >= list->items.size())
            return;
        // The row, not the module's list: the preview shows what "Buy item" buys.
        const GUISelectItem& item = list->items[size_t(list->selectedIndex)];
        // Ids come from the server: the store answers null for one it lacks.
        if (Sprite* sprite = item.iconId > 0 && app->sprites ? app->sprites->GetSprite(item.iconId) : nullptr)
            graphics->RenderSprite(sprite, x + 40, y + 306, 32, 32);
        graphics->RenderText(item.text + " (" + item.rightText + ")", x + 90, y + 315, kHintColor, true);
    }
}

// --- Callbacks ---

void HouseDialog::DrawCallback(void* self) { Module(self)->Draw(); }

void HouseDialog::OnInviteListTab(void* self, int, int) {
    Module(self)->currentTab = kInviteList;
    Module(self)->Refresh();
}

void HouseDialog::OnTilePermissionsTab(void* self, int, int) {
    Module(self)->currentTab = kTilePermissions;
    Module(self)->Refresh();
}

void HouseDialog::OnOwnershipTab(void* self, int, int) {
    Module(self)->currentTab = kOwnership;
    Module(self)->Refresh();
}

void HouseDialog::OnDecorationTab(void* self, int, int) {
    Module(self)->currentTab = kDecoration;
    Module(self)->Refresh();
}

void HouseDialog::OnPersonSelected(void* self, int, int) {
    HouseDialog* house = Module(self);
    if (house->currentTab == kInviteList || house->currentTab == kTilePermissions)
        house->SyncCheckboxes();
}

void HouseDialog::OnAddClick(void* self) { Module(self)->AddPerson(); }

void HouseDialog::OnRemoveClick(void* self) { Module(self)->RemoveSelectedPerson(); }

void HouseDialog::OnSubOwnerCheck(void* self, int, int) { Module(self)->ToggleSubOwner(); }

void HouseDialog::OnNoEntryCheck(void* self, int, int) {
    Module(self)->SetTileRight(kNoEntry, Checked(Module(self), GameIds::kHouseNoEntry));
}

void HouseDialog::OnDoorCheck(void* self, int, int) {
    Module(self)->SetTileRight(kDoor, Checked(Module(self), GameIds::kHouseDoor));
}

void HouseDialog::OnEditRightsCheck(void* self, int, int) {
    Module(self)->SetTileRight(kEditRights, Checked(Module(self), GameIds::kHouseEditRights));
}

void HouseDialog::OnAbandonCheck(void* self, int, int) {
    HouseDialog* house = Module(self);
    GUIControl* abandon = DialogHelper(house->gui, kDialogId).Find<GUIControl>(GameIds::kHouseAbandon);
    if (!abandon)
        return;
    if (Checked(house, GameIds::kHouseAbandonCheck))
        abandon->ClearFlag(GUIControl::kDisabled);
    else
        abandon->SetFlag(GUIControl::kDisabled);
}

void HouseDialog::OnSaveAndClose(void* self) { Module(self)->SaveAndClose(); }

void HouseDialog::OnAbandon(void* self) { Module(self)->Abandon(); }

void HouseDialog::OnCancel(void* self) { Module(self)->Cancel(); }

void HouseDialog::OnTransferHouse(void* self) { Module(self)->TransferHouse(); }

void HouseDialog::OnBuyItem(void* self) { Module(self)->BuyItem(); }
