#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

class GUIButton;
class GUIControl;
class GUIDialog;
class GUIManager;
class GUIScrollbar;
class KEngine2;

// The base of the windows in the side panels. A side window is not a control
// itself: it owns one top-level dialog (its frame), the title-bar buttons and
// an optional scroll bar, and draws its content through the dialog's draw
// callback. The game screen's side-window list owns the windows; the panels
// only arrange their dialogs.
class SideWindow {
public:
    static constexpr int kMinWidth = 165;
    static constexpr int kMaxWidth = 241;
    static constexpr int kMinimizedHeight = 19;
    static constexpr int kCloseSprite = 169;
    static constexpr int kMinimizeSprite = 891;
    static constexpr int kRestoreSprite = 892;
    static constexpr int kIconButtonSprite = 1734;
    static constexpr uint32_t kTitleColor = 0xFFAAAAAA;

    SideWindow();
    // Queues the frame, with its buttons and scroll bar, for deletion.
    virtual ~SideWindow();
    SideWindow(const SideWindow&) = delete;
    SideWindow& operator=(const SideWindow&) = delete;

    // Called before every draw of the content.
    virtual void Relayout();
    // Called when the frame's size has changed, and once at creation.
    virtual void Update();
    // Only records the state; the window classes lay themselves out anew.
    virtual void SetMinimized(bool minimized);
    virtual void Draw();

    // Makes the frame far below the screen (ordered by id, so that a new window
    // comes last in its panel) and places it at the right edge unless the
    // options want new windows in the left panel.
    void Create(const std::string& title, int width, int height);
    // The title-bar buttons; each is made once. The close and icon buttons get
    // their actions from the window class, the "Loot" button from the container.
    void AddCloseButton();
    // 30 pixels from the right edge when a close button exists, else 16.
    void AddMinimizeButton();
    void AddIconButton();
    void AddLootButton();
    // Destroy the optional buttons (nothing when absent).
    void RemoveIconButton();
    void RemoveLootButton();
    // Shortens the title with "..." to the room the title bar leaves beside
    // its buttons at the frame's current width.
    void TruncateWithEllipsis(const std::string& title);
    // Toggles the minimised state when asked to.
    void ToggleMinimize(bool toggle);
    // Keeps the buttons and the scroll bar on the frame as it moves.
    void PlaceControls();
    // Makes the window's scroll bar; the window owns it until it is added to
    // the frame, which then owns it.
    void MakeScrollbar(int id);
    // The scroll bar's range: total steps, of which visible fit the frame.
    void SetScrollRange(int visible, int total);
    // The range of a list below `top` pixels of heading, in steps of `step`
    // pixels: what the frame shows now against what it shows at its largest.
    void SetListScrollRange(int top, int step);
    // Whether a point lies in the frame's list area, below the title bar
    // (where the list windows open their menus).
    bool InListArea(int x, int y) const;
    // Hides or shows a window's own controls as it is minimised or restored;
    // null ones (not made yet) are skipped.
    static void SetHidden(std::initializer_list<GUIControl*> controls, bool hidden);

    static void DrawFrame(void* window);
    static void OnMinimizeButton(void* window);
    static void EmptyCallback(void*) {}

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    GUIDialog* dialog = nullptr;  // owned by the GUI tree once made
    GUIButton* closeButton = nullptr;
    GUIButton* minimizeButton = nullptr;
    GUIButton* iconButton = nullptr;
    GUIButton* lootButton = nullptr;
    GUIScrollbar* scrollbar = nullptr;
    int windowId = 0;
    int titleIcon = 0;
    int restoreHeight = 0;
    int minimizeButtonOffset = 16;
    int lastWidth = 0;
    int lastHeight = 0;
    uint8_t initialized = 0;
    uint8_t minimized = 0;
    uint8_t restoreResizable = 0;
    std::string fullTitle;
    std::string shownTitle;
};
