#pragma once

// The running buffs with their remaining time, drawn over the game field.
class BuffTimers {
public:
    BuffTimers();
    ~BuffTimers();
    BuffTimers(const BuffTimers&) = delete;
    BuffTimers& operator=(const BuffTimers&) = delete;

    // Frees every buff entry.
    void Clear();
    void Draw();
};
