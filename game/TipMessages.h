#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One tip box: a title over a text, anchored to a map position.
struct TipRecord {
    std::string title;
    std::string text;
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 7;
    int32_t kind = 0;      // 1: no close button
    uint32_t created = 0;  // GetTicks when it was added
};

// The small notice boxes that float over the game view: they fade in for a
// second, stay, and fade out over the last half second of their 15. A newer
// tip, or a click on the close button, sends a tip straight into its fade-out.
// Every tip is also written into the chat tab "Main". Owned by the game screen.
class TipMessages {
public:
    static constexpr int32_t kBackgroundSprite = 5722;
    static constexpr int32_t kEmblemSprite = 5723;
    static constexpr int32_t kCloseSprite = 5724;
    static constexpr uint32_t kFadeIn = 1000;
    static constexpr uint32_t kFadeOutStart = 14500;
    static constexpr uint32_t kLifetime = 15000;
    static constexpr uint32_t kTitleColor = 0x00C8C8C8;  // (200,200,200), alpha by the fade

    // What the tips need of the game view. The game screen supplies it; tests
    // set their own.
    struct View {
        int originX = 0;  // the view's top-left corner on screen
        int originY = 0;
        int tileWidth = 32;
        int tileHeight = 32;
        int cameraX = 0;  // the map position at the view's top-left tile
        int cameraY = 0;
        int floor = 7;    // the camera's floor
        int scrollX = 0;  // the walking offset, in 1/32 of a tile
        int scrollY = 0;
        bool welcomeOpen = false;  // tips wait while the welcome dialog is open
    };
    using ViewSource = View (*)();

    TipMessages();
    ~TipMessages();
    TipMessages(const TipMessages&) = delete;
    TipMessages& operator=(const TipMessages&) = delete;

    // Older tips start fading at once; the tip also goes to "Main" as kind 8.
    void Add(int kind, const std::string& title, const std::string& text, int x, int y, int z);
    void Draw();
    // A press in the game view: true when it lies on a tip box (kind 1 tips
    // take none). A press on the close button starts the fade-out.
    bool HitTest(int x, int y);
    void Clear();
    // The box's top-left corner on screen.
    void ScreenPosition(const TipRecord& tip, int& x, int& y) const;

    // The game screen's view by default.
    static View GameView();

    ViewSource viewSource;
    std::vector<TipRecord*> tips;  // owned, oldest first
};
