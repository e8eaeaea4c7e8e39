#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One running buff. Times are 64-bit milliseconds: the server sends second
// counts that times 1000 do not fit into an int.
struct BuffEntry {
    std::string name;
    int64_t startTick = 0;   // on the GetTicks clock; before 0 for a buff that began earlier
    int64_t durationMs = 0;  // 0 or less: already over
    int kind = 0;            // the bar's colour
    bool warnPending = false;  // the chat warning 15 s before the end is still to come
};

// The running buffs as a column of countdown bars at the top right of the
// game field, each with a tooltip of its name and seconds left, a warning in
// the chat 15 seconds before one ends, and the buff dropped when its time is
// up. The character information replaces the whole list; from then on the
// bars count down on the client's own clock.
class BuffTimers {
public:
    static constexpr int kBarWidth = 196;
    static constexpr int64_t kWarningMs = 15000;
    static constexpr int kFirstTooltipKey = 250;
    // Tooltip keys above 259 belong to other windows, so only the first ten
    // buffs get a tooltip; every buff keeps its bar.
    static constexpr int kTooltipKeys = 10;
    static constexpr uint32_t kTooltipRefreshMs = 1000;

    BuffTimers();
    ~BuffTimers();
    BuffTimers(const BuffTimers&) = delete;
    BuffTimers& operator=(const BuffTimers&) = delete;

    // Frees every buff entry.
    void Clear();
    // Deletes every entry; the character information sends the whole set anew.
    void RemoveAll();
    // Starts (or replaces, by name, moving it to the end) a buff.
    void Add(const std::string& name, int64_t elapsedMs, int64_t durationMs, int kind);
    // Removes the first entry of that name.
    void Remove(const std::string& name);
    // Per frame: drops expired buffs, gives the warnings, draws the bars and
    // rebuilds the tooltips at least once a second.
    void Draw();
    void UpdateTooltips();
    // The bars take no mouse input.
    bool HitTest(int x, int y) const;

    // The bar's fill width for the time left, 0 .. 196.
    static int BarWidth(int64_t remainingMs, int64_t durationMs);
    static uint32_t KindColor(int kind);

    std::vector<BuffEntry> entries;  // in the order added
    uint32_t lastTooltipRefresh = 0;

private:
    // The column's left edge and first bar's top; false without a map view.
    bool Origin(int* x0, int* y0) const;
};
