#pragma once

#include <cstdint>
#include <string>

// The running buffs with their remaining time, drawn over the game field.
class BuffTimers {
public:
    BuffTimers();
    ~BuffTimers();
    BuffTimers(const BuffTimers&) = delete;
    BuffTimers& operator=(const BuffTimers&) = delete;

    // Frees every buff entry.
    void Clear();
    // Deletes every entry; the character information sends the whole set anew.
    void RemoveAll();
    // Starts (or replaces, by name) a buff; times in milliseconds, 64-bit
    // because the server's second counts times 1000 overflow an int.
    void Add(const std::string& name, int64_t elapsedMs, int64_t durationMs, int kind);
    void Remove(const std::string& name);
    void Draw();
};
