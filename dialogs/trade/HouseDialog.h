#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/trade/HouseRecord.h"
#include "game/GameControlIds.h"
#include "world/Position.h"

class GUIManager;
class KEngine2;

// An item the Decoration page offers for sale.
struct DecorationItem {
    uint32_t id = 0;     // the item's number: also the number of its picture
    std::string name;    // the row's label
    std::string detail;  // right-aligned in the row, in brackets in the preview
};

// House management ("House Management", dialog 148): who is invited to the
// player's house and who of them is a sub owner, who holds which rights on
// its tiles, transferring or abandoning it, and buying decoration.
//
// The server sends everything in one message (0x28), whose handler clears the
// lists, sets the fields, then opens and refreshes the window. The player
// edits the two person lists in memory only; "Save & Close" sends both back
// in one request, "Cancel" keeps the edits until the next 0x28 replaces them.
// Transfer, abandon and buying send at once.
//
// The game screen makes the module when the game starts and frees it when
// the game ends; the dialog is built each time it opens.
class HouseDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kHouseDialog;
    // The rights of a tile permission.
    static constexpr uint32_t kNoEntry = 1;
    static constexpr uint32_t kDoor = 2;
    static constexpr uint32_t kEditRights = 4;
    // A person list's count is one byte in the save request.
    static constexpr size_t kMaxPersons = 255;

    enum Page { kInviteList = 1, kTilePermissions = 2, kOwnership = 3, kDecoration = 4 };

    HouseDialog();
    ~HouseDialog();
    HouseDialog(const HouseDialog&) = delete;
    HouseDialog& operator=(const HouseDialog&) = delete;

    // The setters of the 0x28 handler; none of them touches the window.
    // ClearLists empties the three lists and leaves the rest.
    void ClearLists();
    void SetName(const std::string& houseName);
    void SetPosition(const Position& where);
    void SetFirstValue(int32_t value);   // accessLevel
    void SetSecondValue(int32_t value);  // grantableRights
    void AddInvite(const std::string& person, bool subOwner);
    void AddTilePermission(const std::string& person, uint32_t rights);
    void AddDecorationItem(uint32_t id, const std::string& itemName, const std::string& detail);

    // Builds dialog 148 on page 1; nothing while it is open, so a second
    // 0x28 leaves the page, the decoration list and the check boxes' enabled
    // states as first built.
    void Open();
    // Shows the controls of currentTab, hides the others and refills the
    // person list.
    void Refresh();
    // Whether a control of the pages shows on a page (1 to 4). The controls
    // that are on no page's list (the tabs, Save & Close, Cancel) always
    // show; PageControls lists the others.
    static bool ShownOnPage(int32_t id, int page);
    static const std::vector<int32_t>& PageControls();

    // List 156 from the page's list (pages 1 and 2), then the check boxes.
    void RefillPersonList();
    // The check boxes from the first record named as list 156's current row.
    void SyncCheckboxes();
    // The right-hand text of a tile permission: "*", "/" and "+" for rights
    // 1, 2 and 4, in that order.
    static std::string RightsText(uint32_t rights);

    // The typed name onto the page's list, when the player may add there,
    // the list holds fewer than kMaxPersons names and the save would still
    // fit one request; the box is emptied whenever it held a name.
    void AddPerson();
    void RemoveSelectedPerson();
    void ToggleSubOwner();
    // Sets or clears the mask in every tile permission named as the current row.
    void SetTileRight(uint32_t mask, bool on);

    // Requests, and closing the window.
    void SaveAndClose();
    void Abandon();
    void Cancel();
    void TransferHouse();
    void BuyItem();

    // The window's own drawing: panel, header with the name, page box and
    // the page's texts and preview, following the dialog's rectangle.
    void Draw();
    // Closes the window (game end) and frees the lists and the name.
    void Close();

    // Callbacks (context: the module).
    static void DrawCallback(void* self);
    static void OnInviteListTab(void* self, int x, int y);
    static void OnTilePermissionsTab(void* self, int x, int y);
    static void OnOwnershipTab(void* self, int x, int y);
    static void OnDecorationTab(void* self, int x, int y);
    static void OnPersonSelected(void* self, int x, int y);
    static void OnAddClick(void* self);
    static void OnRemoveClick(void* self);
    static void OnSubOwnerCheck(void* self, int x, int y);
    static void OnNoEntryCheck(void* self, int x, int y);
    static void OnDoorCheck(void* self, int x, int y);
    static void OnEditRightsCheck(void* self, int x, int y);
    static void OnAbandonCheck(void* self, int x, int y);
    static void OnSaveAndClose(void* self);
    static void OnAbandon(void* self);
    static void OnCancel(void* self);
    static void OnTransferHouse(void* self);
    static void OnBuyItem(void* self);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    int32_t currentTab = kInviteList;
    std::string name;
    // Position and the two person lists: what "Save & Close" sends.
    HouseRecord record;
    // Both set by every 0x28 before it opens the window.
    int32_t accessLevel = 0;
    int32_t grantableRights = 0;
    std::vector<DecorationItem> decorationItems;

private:
    // The label of list 156's current row; false when there is no such row.
    bool CurrentLabel(std::string& label) const;
    void CloseWindow();
};
