#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The short-lived texts of the game screen: the status text at the bottom of
// the game field and the timed messages drawn over everything.
class StatusLine {
public:
    static StatusLine* Instance();

    // Shows the text from now on.
    void SetText(const std::string& text);
    // The boxed message in the middle of the field.
    void SetTimedText(const std::string& text);
    // A block of timed lines in the upper third of the field.
    void AddTimedLines(const std::string& text);
    // Draws the status text and the timed messages of this frame, over the GUI.
    void DrawMessages();

    std::string statusText;
    uint32_t statusTime = 0;  // GetTicks when the text was set
    std::vector<std::string> centreLines;
    std::vector<std::vector<std::string>> timedLines;

private:
    StatusLine() = default;
};
