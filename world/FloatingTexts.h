#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>

class Map;

// Short texts the server puts on a map square (damage, healing, experience):
// each rises one pixel every 20 ms, fades over its last quarter second and is
// gone 1020 ms after it came. The game screen owns the list and draws it after
// the creature labels.
class FloatingTexts {
public:
    struct Record {
        int x = 0, y = 0;  // the map square
        uint32_t start = 0;
        std::string text;
        uint32_t colour = 0xFF000000;
    };

    static constexpr uint32_t kLifetime = 1020;  // ms
    static constexpr uint32_t kFadeStart = 765;  // ms
    // What a server can make the list hold: the newest texts, each cut to a
    // length no damage or experience figure comes near.
    static constexpr size_t kMaxTexts = 256;
    static constexpr size_t kMaxLength = 255;

    FloatingTexts() = default;
    ~FloatingTexts() { Clear(); }
    FloatingTexts(const FloatingTexts&) = delete;
    FloatingTexts& operator=(const FloatingTexts&) = delete;

    // type 1 red, 2 white, 3 green, 4 blue, anything else black.
    void Add(int x, int y, int type, const std::string& text);
    void Draw();
    void Clear();

    static uint32_t ColourOfType(int type);

    Map* map = nullptr;  // borrowed: the view it is drawn over
    std::list<Record> records;  // oldest first
};
