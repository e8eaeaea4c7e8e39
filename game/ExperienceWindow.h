#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The total experience a character needs to reach a level; 0 below level 2.
// Computed in the float and double steps the server uses, so that the
// figures agree exactly.
uint64_t ExperienceForLevel(int level);

// The experience calculator over the game field's top left corner (option
// experiencecalculator): a bar of the way through the current level, a toggle,
// and when expanded the experience per hour since the measurement started,
// the experience still to go and the time that will take, with a "Reset".
class ExperienceWindow {
public:
    // The panel's figures for a moment of the measurement.
    struct Figures {
        std::string rate;       // experience per hour, truncated
        std::string toAdvance;  // experience to the next level
        std::string timeLeft;   // hh:mm, or "-" without any gain
    };

    ExperienceWindow();
    ~ExperienceWindow();
    ExperienceWindow(const ExperienceWindow&) = delete;
    ExperienceWindow& operator=(const ExperienceWindow&) = delete;

    // True when the press falls on the window, which then takes it.
    bool OnMouseDown(int x, int y);
    void Draw();
    // The player statistics' experience: the first non-zero one after a reset
    // is the baseline of the measurement.
    void SetStartExperience(uint64_t experience);

    // Pure: the figures for an experience and level at a time. A loss of
    // experience (a death) counts as no gain, never as a huge one.
    static Figures Compute(uint64_t experience, uint64_t startExperience, int64_t elapsedSeconds, int level);
    // The fill of the header bar for a percentage, clamped to 0 .. 100.
    static int FillWidth(int percent);

    // Seconds of the C runtime clock; tests install their own.
    std::function<int64_t()> clock;
    int64_t startTime = 0;  // 0: never started
    uint64_t startExperience = 0;
    bool expanded = false;

private:
    int64_t Now() const;
    bool Enabled() const;
    // The field's top left corner; false without a map view.
    bool Origin(int* vx, int* vy) const;
};
