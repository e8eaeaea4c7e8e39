#pragma once

#include <cstdint>
#include <ctime>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "game/GameControlIds.h"

class DialogHelper;
class GUIControl;
class GUIManager;
class GUITable;
class GUITextbox;
class GUITableRow;
class KEngine2;

// A category of the market's grid. Ids 1 to 15 are what the server puts into
// an offer; -1 ("All Items") matches every offer; 0 means none is chosen.
struct MarketCategory {
    int32_t id = 0;
    int32_t iconSpriteId = 0;  // a sprite id, not an item id; 0 draws no icon
    std::string name;
};

// One offer of the server's listing. The row is the offers table's row that
// shows it: null when the table did not exist when the offer arrived, and
// nulled when the window goes, since the table owns its rows.
struct MarketOffer {
    std::string itemName;
    std::string playerName;
    uint32_t itemId = 0;
    uint32_t count = 0;
    uint32_t category = 0;
    float eachPrice = 0;
    uint8_t sell = 0;  // 1 sell offer, 0 buy offer
    GUITableRow* row = nullptr;
};

// One of the player's past trades; time is seconds since 1970 (UTC).
struct MarketHistoryRecord {
    std::string itemName;
    std::string playerName;
    uint32_t time = 0;
    uint32_t count = 0;
    float eachPrice = 0;
};

// One entry of the catalogue of tradeable items the buy offer searches.
struct MarketItemName {
    uint32_t itemId = 0;
    std::string itemName;
};

// The item market: the offers the server listed, browsed by category on the
// "Sell Offers" and "Buy Offers" tabs, the player's own on "My Offers", the
// two dialogs that post an offer and the history of past trades.
//
// The game screen makes the module when the game starts and frees it when the
// game ends; everything the server sent stays here while the windows close
// and open again. The server opens the window (a full listing, 0x2F); the
// client never opens it by itself. The window's draw callback does more than
// paint: it keeps the hovered category, filters the table once per change of
// the search text, writes the Accept caption and sends the query of a
// Ctrl-clicked sell offer.
//
// The code is split by subject: the data and the server's feed here
// (MarketDialog.cpp), the window (MarketWindow.cpp), the offer dialogs
// (MarketOfferDialogs.cpp), the drawing (MarketDraw.cpp) and the history
// window (MarketHistory.cpp).
class MarketDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kMarketDialog;
    static constexpr int32_t kCloseButton = GameIds::kMarketClose;
    static constexpr int32_t kSearchBox = GameIds::kMarketSearch;
    static constexpr int32_t kAmountBox = GameIds::kMarketAmount;
    static constexpr int32_t kAcceptButton = GameIds::kMarketAccept;
    static constexpr int32_t kRefreshButton = GameIds::kMarketRefresh;
    static constexpr int32_t kBackButton = GameIds::kMarketBack;
    static constexpr int32_t kViewHistoryButton = GameIds::kMarketViewHistory;
    static constexpr int32_t kOffersTable = GameIds::kMarketOffers;
    static constexpr int32_t kCreateBuyOfferButton = GameIds::kMarketCreateBuyOffer;
    static constexpr int32_t kSellDialogId = GameIds::kSellOfferDialog;
    static constexpr int32_t kSellAmountBox = GameIds::kSellOfferAmount;
    static constexpr int32_t kSellPriceBox = GameIds::kSellOfferPrice;
    static constexpr int32_t kSellCreateButton = GameIds::kSellOfferCreate;
    static constexpr int32_t kSellCancelButton = GameIds::kSellOfferCancel;
    static constexpr int32_t kBuyDialogId = GameIds::kBuyOfferDialog;
    static constexpr int32_t kBuyAmountBox = GameIds::kBuyOfferAmount;
    static constexpr int32_t kBuyPriceBox = GameIds::kBuyOfferPrice;
    static constexpr int32_t kBuyItemList = GameIds::kBuyOfferItems;
    static constexpr int32_t kBuySearchBox = GameIds::kBuyOfferSearch;
    static constexpr int32_t kBuyCreateButton = GameIds::kBuyOfferCreate;
    static constexpr int32_t kBuyCancelButton = GameIds::kBuyOfferCancel;
    static constexpr int32_t kHistoryDialogId = GameIds::kMarketHistoryDialog;
    static constexpr int32_t kHistoryTable = GameIds::kMarketHistoryTable;
    static constexpr int32_t kHistoryCloseButton = GameIds::kMarketHistoryClose;

    // The tabs.
    static constexpr uint32_t kSellTab = 0;
    static constexpr uint32_t kBuyTab = 1;
    static constexpr uint32_t kOwnTab = 2;
    // The grid's cells: four columns of 127 x 66, 10 and 76 apart.
    static constexpr int kCellWidth = 127;
    static constexpr int kCellHeight = 66;
    // Offers show the picture of a full stack.
    static constexpr int kIconCount = 100;

    MarketDialog();
    // Closes every window of the market and frees the lists.
    ~MarketDialog();
    MarketDialog(const MarketDialog&) = delete;
    MarketDialog& operator=(const MarketDialog&) = delete;

    // --- Data and the server's feed (MarketDialog.cpp) ---

    // Removes the market window, both offer dialogs (each followed by the
    // focus going back to the chat input) and then the history window, which
    // moves no focus. Idempotent; the lists stay.
    void Close();
    // What listings that only add can make the market hold: past a cap the
    // oldest offer (with its row), history record or catalogue entry goes.
    // Catalogue names are cut to the length of an item's name.
    static constexpr size_t kMaxOffers = 10000;
    static constexpr size_t kMaxHistory = 10000;
    static constexpr size_t kMaxItemNames = 20000;
    static constexpr size_t kMaxItemNameLength = 255;

    // Adds one offer; a count of 0 or at least 2^31 is dropped. While the
    // offers table exists the offer gets a row, its player shown as "You
    // (Sell Offer)" or "You (Buy Offer)" when it is the player's own.
    void InsertOffer(const std::string& itemName, const std::string& playerName, uint32_t itemId, uint32_t count,
                     float eachPrice, uint32_t category, bool sell);
    // A time of at least 2^31 is dropped. No window changes.
    void AddHistoryRecord(uint32_t time, const std::string& itemName, const std::string& playerName,
                          float eachPrice, uint32_t count);
    // The catalogue grows, duplicates included, up to kMaxItemNames.
    void AddItemName(uint32_t itemId, const std::string& itemName);
    void SetBalance(uint32_t balance) { bankBalance = balance; }
    // Frees the offers (and their table rows) and empties the history; the
    // categories and the catalogue stay.
    void ClearOffers();
    // The row filter: on tabs 0 and 1 the search text (case-sensitive) must
    // occur in the item name, the side must match and the category must be
    // the chosen one (0 or less: any); on tab 2 exactly the offers whose
    // player is the local player.
    static bool IsOfferVisible(uint32_t tab, const std::string& search, int32_t category,
                               const std::string& localName, const MarketOffer& offer);
    // The same with the window's search box, the module's tab and category
    // and the local player's name.
    bool IsOfferVisible(const MarketOffer& offer);
    // Shows or hides every offer's row after the filter and lets the table
    // size its scroll bar; nothing without the table.
    void RefreshRows();

    // --- The window (MarketWindow.cpp) ---

    // Which of the window's switchable controls a tab and category show, and
    // where Refresh sits (x from the dialog's corner, and its width).
    struct View {
        bool table = false;
        bool refresh = false;
        bool back = false;
        bool search = false;
        bool history = false;    // "View history"
        bool createBuy = false;  // "Create Buy Offer"
        int refreshX = 0;
        int refreshWidth = 0;
    };
    static View ViewFor(uint32_t tab, int32_t category);

    // Builds the window on "Sell Offers" with the grid; while it is open only
    // enables Refresh again.
    void Open();
    void SelectTab(uint32_t tab);
    // Chooses a category (0: back to the grid) and empties the search box.
    void ShowCategory(int32_t categoryId);
    // A left press: opens the category the pointer was over at the last frame,
    // while the grid is shown and the press lands on that cell of the window.
    void OnMouseDown(int x, int y);
    // Disables Refresh and asks for a new listing; the next full listing
    // enables it again.
    void Refresh();
    // Accepts the selected, shown offer for the amount typed.
    void Accept();
    // On "My Offers": withdraws the player's own offer under the pointer.
    void OnRightClick(int x, int y);
    // The window is open and the point lies strictly inside it.
    bool HitTest(int x, int y);

    // --- The offer dialogs (MarketOfferDialogs.cpp) ---

    // An item dropped on the market, on "My Offers" only: the sell offer is
    // for it (an open dialog keeps its typed values).
    void OpenSellOffer(uint32_t itemId);
    // "Create Buy Offer", on "My Offers" only.
    void OpenBuyOffer();
    // Refills the buy dialog's list from the catalogue with its search text:
    // the placeholder, then every matching name in arrival order.
    void FillBuyItemList();
    // The item id of the entry chosen in the buy dialog's list, as the list
    // shows it; 0 for the placeholder or none.
    uint32_t SelectedBuyItemId();
    // Sends the offer of the open dialog of that side and closes it.
    void CreateOffer(bool sell);

    // --- Drawing (MarketDraw.cpp) ---

    void Draw();
    // The top-left corner of grid cell i of a window at (x, y).
    static std::pair<int, int> GridCell(int x, int y, size_t i);
    void DrawSellOffer();
    void DrawBuyOffer();
    // "Buy" on tab 0, "Sell" on tab 1, with " (N gold)" for a positive amount
    // whose total (rounded up) an integer holds.
    static std::string AcceptCaption(uint32_t tab, int32_t amount, float eachPrice);
    // The sell offer's total: the price cut to whole hundredths times the
    // amount, rounded up; nothing when it is not between 0 and 1000000000.
    static std::optional<int64_t> SellOfferTotal(int32_t amount, float price);
    // The buy offer's total: price times amount, truncated; nothing when an
    // integer does not hold it.
    static std::optional<int32_t> BuyOfferTotal(int32_t amount, float price);
    // The first line of each preview, "\n" included.
    static std::string SellOfferTotalText(int32_t amount, float price);
    static std::string BuyOfferTotalText(int32_t amount, float price);

    // --- The history window (MarketHistory.cpp) ---

    // "View history", on "My Offers" only; an open window is refilled.
    void OpenHistory();
    void FillHistory();
    void DrawHistory();
    // "MM/DD/Y hh:mm" with the year less 2000.
    static std::string HistoryDate(const std::tm& local);
    // The same for a record's time in local time; empty when the time cannot
    // be converted.
    static std::string HistoryDate(uint32_t time);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::vector<MarketCategory> categories;
    std::deque<std::unique_ptr<MarketOffer>> offers;  // oldest first
    std::deque<MarketHistoryRecord> history;
    std::deque<MarketItemName> itemNames;
    uint32_t currentTab = kSellTab;
    uint32_t bankBalance = 0;
    int32_t currentCategory = 0;
    int32_t hoveredCategory = 0;  // written by the grid's drawing
    uint32_t sellOfferItem = 0;
    std::string marketSearch;    // what the offers table was last filtered with
    std::string buyOfferSearch;  // what the buy list was last filled with
    // The item id of each entry of the buy list as it was filled (0 for the
    // placeholder), so that a choice keeps its item until the list is refilled.
    std::vector<uint32_t> buyItemIds;

private:
    // The closing half of Close and the destructor.
    void CloseWindows();
    // The window is gone: the table that owned the rows goes with it.
    void ForgetRows();
    GUITable* OffersTable();
    // The first offer shown by a row, or null.
    MarketOffer* OfferAt(const GUITableRow* row);
    // The offer the selected row shows, when it may be accepted.
    MarketOffer* ChosenOffer();
    // The rows after the filter for the current tab, category and search box.
    void ApplyFilter(GUITable* table);
    // The keyboard focus lies on the dialog or a control of it.
    bool FocusInside(int32_t dialogId);
    // Clears or sets the control's hidden flag; nothing without the control.
    static void SetShown(GUIControl* control, bool shown);
    // A text box with its text at (dx, dy) of the open dialog.
    static GUITextbox* AddTextBox(DialogHelper& dialog, int32_t id, const std::string& text, int dx, int dy,
                                  int width, int height);
    // The text of a box of the dialog; empty without the box.
    static std::string BoxText(const DialogHelper& dialog, int32_t id);
    // The open offer dialog of that id, with its own Create Offer made the
    // Enter button while the player types in it, and its panel drawn; null
    // when it is not open.
    const GUIControl* BeginOfferDraw(int32_t dialogId, int32_t createButton);
    void DrawGrid(int x, int y);
    void DrawItemIcon(uint32_t itemId, int x, int y);
    void DrawLabel(const std::string& text, int x, int y);
    void DrawOfferQuery(GUITable* table);

    static void DrawCallback(void* self);
    static void DrawSellCallback(void* self);
    static void DrawBuyCallback(void* self);
    static void DrawHistoryCallback(void* self);
    static void OnSellTab(void* self, int x, int y);
    static void OnBuyTab(void* self, int x, int y);
    static void OnOwnTab(void* self, int x, int y);
    static void OnBack(void* self);
    static void OnRefresh(void* self);
    static void OnAccept(void* self);
    static void OnClose(void* self);
    static void OnViewHistory(void* self);
    static void OnCreateBuyOffer(void* self);
    static void OnCreateSellOffer(void* self);
    static void OnCreateBuyOfferConfirm(void* self);
    static void OnSellCancel(void* self);
    static void OnBuyCancel(void* self);
    static void OnHistoryClose(void* self);
};
