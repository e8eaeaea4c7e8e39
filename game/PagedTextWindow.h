#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GUITextbox;
class KEngine2;
class Map;

// A long server text shown as an open book in the middle of the game view:
// two facing pages at a time (text boxes 190 and 191), "< Page n" and
// "Page n >" at the bottom to turn back and forth. The server separates the
// pages with "|". Owned by the game screen; the player's step closes it.
class PagedTextWindow {
public:
    static constexpr int32_t kLeftBoxId = 190;
    static constexpr int32_t kRightBoxId = 191;
    static constexpr int32_t kBookSprite = 1812;
    static constexpr uint32_t kPageTextColor = 0xFF323232;   // (50,50,50)
    static constexpr uint32_t kLabelColor = 0xFF505050;      // (80,80,80)

    // Builds the two hidden page boxes under the GUI root.
    PagedTextWindow(KEngine2* app, Map* map);
    PagedTextWindow(const PagedTextWindow&) = delete;
    PagedTextWindow& operator=(const PagedTextWindow&) = delete;

    // Opens the book on the first spread of a new text.
    void Show(const std::string& text);
    void Draw();
    // A press in the game view; true when taken (every press while open is:
    // one outside the book closes it).
    bool OnMouse(int x, int y);
    void Hide();
    // The game screen is going: the boxes go to the manager, the pages are freed.
    void Reset();

    std::vector<std::string> pages;
    int32_t pageIndex = 0;  // the page on the left
    bool open = false;
    KEngine2* app;
    Map* map;

private:
    // The book's centre: the centre of the game view.
    void Centre(int& cx, int& cy) const;
    GUITextbox* Box(int32_t id) const;
    void RefreshBoxes();
};
