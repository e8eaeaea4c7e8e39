#pragma once

#include <cstdint>

// The experience calculator over the game field (option experiencecalculator).
class ExperienceWindow {
public:
    ExperienceWindow();
    ~ExperienceWindow();
    ExperienceWindow(const ExperienceWindow&) = delete;
    ExperienceWindow& operator=(const ExperienceWindow&) = delete;

    // True when the press falls on the window, which then takes it.
    bool OnMouseDown(int x, int y);
    void Draw();
    // The player statistics' experience: the start of the rate measurement.
    void SetStartExperience(uint64_t experience);

    uint64_t experience = 0;
};
