#include "game/StatusLine.h"

#include <algorithm>

#include "client/Client.h"
#include "client/TextUtils.h"
#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "game/GameInterface.h"

namespace {

const size_t kWholeLine = 44;
const size_t kLongestLine = 59;
const int kSpeechLineHeight = 14;
const int kTimedLineHeight = 15;

KEngine2* App() { return Client::Instance()->app; }

int TextWidth(const std::string& text) { return App()->TextWidth(text); }

void DrawText(const std::string& text, int x, int y, uint32_t color) {
    App()->graphics->RenderText(text, x, y, color, true);
}

// The field of the game screen, or an empty one without it.
FieldView GameField() {
    const GameInterface* game = Client::Instance()->game;
    return game ? game->GetFieldView() : FieldView();
}

}  // namespace

StatusLine* StatusLine::Instance() {
    static StatusLine* instance = new StatusLine();
    return instance;
}

void StatusLine::SetText(const std::string& text) {
    statusText = text;
    statusTime = GetTicks();
}

void StatusLine::AddSpeech(const Position& position, const std::string& name, const std::string& text) {
    auto spot = std::find_if(speech.begin(), speech.end(), [&](const SpeechSpot& candidate) {
        return candidate.position.x == position.x && candidate.position.y == position.y &&
               candidate.position.z == position.z;
    });
    if (spot == speech.end()) {
        speech.emplace_back();
        spot = std::prev(speech.end());
        spot->position = position;
    }
    auto speaker = std::find_if(spot->speakers.begin(), spot->speakers.end(),
                                [&](const Speaker& candidate) { return candidate.name == name; });
    if (speaker == spot->speakers.end()) {
        spot->speakers.emplace_back();
        speaker = std::prev(spot->speakers.end());
        speaker->name = name;
    }
    speaker->lines.push_back({CleanSpeech(text), GetTicks()});
}

std::vector<std::string> StatusLine::WrapToField(const std::string& text) const {
    const int width = GameField().Width() - 60;
    return SplitString(WrapText(App()->font, width, text), "\n");
}

void StatusLine::SetTimedText(const std::string& text) {
    centreTime = GetTicks();
    centreLines = WrapToField(text);
}

void StatusLine::AddTimedLines(const std::string& text) {
    while (timedLines.size() >= kMaxTimedBlocks)
        timedLines.pop_front();
    TimedBlock block;
    block.lines = WrapToField(text);
    timedLines.push_back(std::move(block));
}

std::string StatusLine::CleanSpeech(const std::string& text) {
    std::string clean;
    clean.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\x01')
            i += 4;  // the colour bytes; the loop's bound stops a code cut short
        else if (text[i] != '\x02')
            clean += text[i];
    }
    return clean;
}

std::vector<std::string> StatusLine::BreakSpeech(const std::string& text) {
    std::vector<std::string> lines;
    std::string rest = text;
    for (;;) {
        if (rest.size() <= kWholeLine) {
            lines.push_back(rest);
            return lines;
        }
        size_t cut = 0;
        for (size_t i = kWholeLine; i <= kLongestLine; ++i) {
            if (i >= rest.size()) {
                cut = rest.size();
                break;
            }
            if (rest[i] == ' ') {
                cut = i;
                break;
            }
        }
        if (cut == rest.size()) {
            lines.push_back(rest);
            return lines;
        }
        if (cut == 0) {
            lines.push_back(rest.substr(0, kLongestLine) + "-");
            rest.erase(0, kLongestLine);
        } else {
            lines.push_back(rest.substr(0, cut));
            rest.erase(0, cut);
        }
    }
}

void StatusLine::Draw() { Draw(GameField()); }

void StatusLine::Draw(const FieldView& view) {
    const uint32_t now = GetTicks();
    const int tw = view.tileWidth;
    const int th = view.tileHeight;
    const int sx = int(0.03125 * view.offsetX * tw);
    const int sy = int(0.03125 * view.offsetY * th);

    for (auto spot = speech.begin(); spot != speech.end();) {
        if (spot->position.z != view.floor || spot->speakers.empty()) {
            spot = speech.erase(spot);
            continue;
        }
        const int ax = view.originX + (spot->position.x - view.cameraX) * tw - sx + tw / 2 - tw / 4;
        const int ay = view.originY + (spot->position.y - view.cameraY) * th - sy - 6 - th / 4;
        // Speakers of one spot are drawn over each other; within one speaker
        // each newer line goes above the older ones, under the header.
        for (auto speaker = spot->speakers.begin(); speaker != spot->speakers.end();) {
            int y = ay;
            bool drew = false;
            for (auto line = speaker->lines.begin(); line != speaker->lines.end();) {
                const std::vector<std::string> drawn = BreakSpeech(line->text);
                for (auto part = drawn.rbegin(); part != drawn.rend(); ++part) {
                    DrawText(*part, ax - TextWidth(*part) / 2, y, kSpeechColor);
                    y -= kSpeechLineHeight;
                    drew = true;
                }
                if (now - line->tick > kSpeechLifetime)
                    line = speaker->lines.erase(line);
                else
                    ++line;
            }
            if (drew) {
                const std::string header = speaker->name + " says:";
                DrawText(header, ax - TextWidth(header) / 2, y, kSpeechColor);
            }
            if (speaker->lines.empty())
                speaker = spot->speakers.erase(speaker);
            else
                ++speaker;
        }
        if (spot->speakers.empty())
            spot = speech.erase(spot);
        else
            ++spot;
    }

    if (now - statusTime < kStatusLifetime) {
        const int x = view.originX + view.Width() / 2 - TextWidth(statusText) / 2;
        DrawText(statusText, x, view.originY + view.Height() - 17, kStatusColor);
    }
}

void StatusLine::DrawMessages() { DrawMessages(GameField()); }

void StatusLine::DrawMessages(const FieldView& view) {
    const uint32_t now = GetTicks();
    const int cx = view.originX + view.Width() / 2;
    int y = view.originY + view.Height() / 3;
    for (auto block = timedLines.begin(); block != timedLines.end();) {
        if (!block->drawn) {
            block->drawn = true;
            block->firstDraw = now;
        }
        if (now - block->firstDraw > kTimedLifetime) {
            block = timedLines.erase(block);
            continue;
        }
        for (const std::string& line : block->lines) {
            DrawText(line, cx - TextWidth(line) / 2, y, kTimedColor);
            y += kTimedLineHeight;
        }
        ++block;
    }

    if (centreLines.empty() || now - centreTime >= kCentreLifetime)
        return;
    int widest = 0;
    for (const std::string& line : centreLines)
        widest = std::max(widest, TextWidth(line));
    const int count = int(centreLines.size());
    const int tx = cx - widest / 2;
    const int yc = view.originY + view.Height() / 3;
    App()->graphics->RenderBox(tx - 20, yc - 30, widest + 40, count * 16 + 20, 0xFF000000, 0xFF000000, 0x5A000000);
    for (int i = 0; i < count; ++i)
        DrawText(centreLines[size_t(i)], tx, yc - 20 + i * kTimedLineHeight, kCentreColor);
}
