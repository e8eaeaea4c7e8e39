#pragma once

// The texts that rise over the map (damage, experience).
class FloatingTexts {
public:
    FloatingTexts() = default;
    FloatingTexts(const FloatingTexts&) = delete;
    FloatingTexts& operator=(const FloatingTexts&) = delete;

    void Draw() {}
    // Frees every text.
    void Clear() {}
};
