#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "world/Position.h"

// Where the game field lies on screen and what of the map it shows: the
// status line draws its texts relative to it.
struct FieldView {
    int originX = 0;  // the field's top-left corner
    int originY = 0;
    int tileWidth = 32;
    int tileHeight = 32;
    int cameraX = 0;  // the map position of the field's top-left tile
    int cameraY = 0;
    int floor = 7;
    int offsetX = 0;  // the followed creature's walking offset, in 32-pixel tile units
    int offsetY = 0;

    int Width() const { return 17 * tileWidth; }
    int Height() const { return 13 * tileHeight; }
};

// The short-lived texts of the game screen: the status text at the bottom of
// the game field ("You can not move there."), what creatures say over their
// heads, green notices in the upper third of the field and one boxed centre
// message. Texts expire by age; the singleton lives for the whole run, so a
// text still within its time shows again when a game screen draws it.
class StatusLine {
public:
    static constexpr uint32_t kSpeechColor = 0xFF46C8DC;
    static constexpr uint32_t kStatusColor = 0xFFD2D2FF;
    static constexpr uint32_t kTimedColor = 0xFF82FF82;
    static constexpr uint32_t kCentreColor = 0xFF0080FF;
    static constexpr uint32_t kStatusLifetime = 2000;
    static constexpr uint32_t kSpeechLifetime = 3000;
    static constexpr uint32_t kTimedLifetime = 4000;
    static constexpr uint32_t kCentreLifetime = 6000;
    static constexpr size_t kMaxTimedBlocks = 4;

    struct SpeechLine {
        std::string text;
        uint32_t tick = 0;  // when it was said
    };
    struct Speaker {
        std::string name;
        std::list<SpeechLine> lines;  // oldest first
    };
    struct SpeechSpot {
        Position position;
        std::list<Speaker> speakers;  // in order of arrival
    };
    struct TimedBlock {
        std::vector<std::string> lines;
        // Its four seconds count from its first draw, not from its arrival.
        bool drawn = false;
        uint32_t firstDraw = 0;
    };

    static StatusLine* Instance();

    // Shows the text for two seconds from now.
    void SetText(const std::string& text);
    // A creature said something at a map position.
    void AddSpeech(const Position& position, const std::string& name, const std::string& text);
    // Replaces the centre message.
    void SetTimedText(const std::string& text);
    // Adds a block of green lines; the oldest of five goes.
    void AddTimedLines(const std::string& text);
    // Speech and the status text, under the GUI (the game screen's field).
    void Draw();
    void Draw(const FieldView& view);
    // The timed blocks and the centre message, over everything.
    void DrawMessages();
    void DrawMessages(const FieldView& view);

    // Speech without its formatting codes: a byte 1 with the four colour bytes
    // after it (as many as the text still holds), and every byte 2.
    static std::string CleanSpeech(const std::string& text);
    // A speech text broken into drawn lines, top to bottom: at most 44
    // characters stay whole; a longer text breaks at the first blank from
    // index 44 to 59 (the blank starts the next line), or after 59 characters
    // with a "-".
    static std::vector<std::string> BreakSpeech(const std::string& text);

    std::list<SpeechSpot> speech;
    std::list<TimedBlock> timedLines;  // oldest first
    std::vector<std::string> centreLines;
    std::string statusText;
    uint32_t centreTime = 0;
    uint32_t statusTime = 0;

private:
    StatusLine() = default;

    std::vector<std::string> WrapToField(const std::string& text) const;
};
