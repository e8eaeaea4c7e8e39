#include "game/ExperienceWindow.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "sidewindows/CStatus.h"
#include "world/Map.h"

namespace {

const uint32_t kDim = 0x64FFFFFF;
const uint32_t kBright = 0xFFFFFFFF;
const uint32_t kFrameFill = 0x80000000;
const int kCollapsedIcon = 892;
const int kExpandedIcon = 891;
// Beyond this the estimate means nothing; it also keeps the conversions defined.
const double kMaxHours = 99999.0;

const CStatus* Status() {
    const GameInterface* game = Client::Instance()->game;
    return game ? game->status : nullptr;
}

bool Inside(int x, int y, int left, int top, int right, int bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

std::string Whole(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", std::trunc(value));
    return text;
}

}  // namespace

uint64_t ExperienceForLevel(int level) {
    if (level < 2)
        return 0;
    const double exponent = double(2.12f);
    uint64_t sum = 0;
    for (int k = 2; k <= level; ++k)
        sum += uint64_t(std::pow(double(k), exponent) * 50.0);
    const float rounded = float(sum);
    const uint64_t scaled = uint64_t(double(rounded) * double(1.3f));
    return uint64_t(double(scaled) / 100.0) * 100;
}

ExperienceWindow::ExperienceWindow() { lifecycle::Note("ExperienceWindow"); }

ExperienceWindow::~ExperienceWindow() { lifecycle::Note("~ExperienceWindow"); }

int64_t ExperienceWindow::Now() const { return clock ? clock() : int64_t(std::time(nullptr)); }

bool ExperienceWindow::Enabled() const {
    const Settings* settings = Client::Instance()->settings;
    return settings && settings->GetExperienceCalculator();
}

bool ExperienceWindow::Origin(int* vx, int* vy) const {
    const GameInterface* game = Client::Instance()->game;
    if (!game || !game->map)
        return false;
    *vx = game->map->viewX;
    *vy = game->map->viewY;
    return true;
}

void ExperienceWindow::SetStartExperience(uint64_t experience) {
    if (experience == 0 || startExperience == 0) {
        startExperience = experience;
        startTime = Now() - 1;
    }
}

bool ExperienceWindow::OnMouseDown(int x, int y) {
    int vx = 0;
    int vy = 0;
    if (!Enabled() || !Origin(&vx, &vy) || x < vx + 10)
        return false;
    if (Inside(x, y, vx + 10, vy + 10, vx + 223, vy + 20)) {
        expanded = !expanded;
        return true;
    }
    if (expanded && Inside(x, y, vx + 10, vy + 81, vx + 223, vy + 101)) {
        const CStatus* status = Status();
        startExperience = status ? status->experience : 0;
        startTime = Now() - 1;
        return true;
    }
    return false;
}

int ExperienceWindow::FillWidth(int percent) {
    const int clamped = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    // The factor is the float 1.96 (1.9600000381...) and the product is
    // rounded up before it is narrowed, so 100 % fills 197 pixels.
    return int(std::ceil(double(1.96f) * clamped));
}

ExperienceWindow::Figures ExperienceWindow::Compute(uint64_t experience, uint64_t start, int64_t elapsedSeconds,
                                                    int level) {
    const float gained = float(experience > start ? experience - start : 0);
    float rate = 0;
    if (elapsedSeconds > 0)
        rate = float(gained / (double(float(elapsedSeconds)) / 3600.0));
    if (!(rate > 0))
        rate = 0;
    const uint64_t next = level > 0 ? ExperienceForLevel(level + 1) : 0;
    const float toAdvance = float(next > experience ? next - experience : 0);
    double hours = rate > 0 ? double(toAdvance) / double(rate) : 0;
    if (hours > kMaxHours)
        hours = kMaxHours;
    const double h = std::floor(hours);
    const double m = std::floor((hours - h) * 60);

    Figures figures;
    figures.rate = Whole(rate);
    figures.toAdvance = Whole(toAdvance);
    if (rate == 0) {
        figures.timeLeft = "-";
    } else {
        char text[32];
        std::snprintf(text, sizeof text, "%02d:%02d", int(h), int(m));
        figures.timeLeft = text;
    }
    return figures;
}

void ExperienceWindow::Draw() {
    KEngine2* app = Client::Instance()->app;
    Graphics* graphics = app ? app->graphics : nullptr;
    int vx = 0;
    int vy = 0;
    if (!graphics || !Enabled() || !Origin(&vx, &vy))
        return;
    const CStatus* status = Status();
    const int percent = status ? status->experiencePercent : 0;
    const uint64_t experience = status ? status->experience : 0;
    const int level = status ? status->level : 0;

    uint32_t colour = kDim;
    uint32_t resetColour = kDim;
    if (const GUIManager* gui = app->gui) {
        const int mx = int(gui->mouseX);
        const int my = int(gui->mouseY);
        if (Inside(mx, my, vx + 10, vy + 10, vx + 223, vy + 20)) {
            colour = kBright;
            resetColour = kBright;
        } else if (Inside(mx, my, vx + 10, vy + 81, vx + 223, vy + 101)) {
            resetColour = kBright;
        }
    }
    graphics->RenderBox(vx + 10, vy + 10, 200, 10, colour, colour, kFrameFill);
    graphics->RenderBox(vx + 213, vy + 10, 10, 10, colour, colour, kFrameFill);
    const int fill = FillWidth(percent);
    if (fill > 0)
        graphics->RenderRectangle(colour, vx + 12, vy + 12, fill, 6);
    if (app->sprites)
        graphics->RenderSprite(app->sprites->GetSprite(expanded ? kExpandedIcon : kCollapsedIcon), vx + 214,
                               vy + 11);
    if (!expanded)
        return;
    graphics->RenderBox(vx + 10, vy + 23, 213, 78, colour, colour, kFrameFill);
    if (startTime == 0)
        return;

    const Figures figures = Compute(experience, startExperience, Now() - startTime, level);
    graphics->RenderText("Experience per hour:\nExperience to advance:\nTime left to advance:", vx + 15, vy + 28,
                         colour, true);
    const Font* font = app->font;
    const std::string* lines[3] = {&figures.rate, &figures.toAdvance, &figures.timeLeft};
    for (int i = 0; i < 3; ++i) {
        const int width = font ? font->GetTextWidth(*lines[i]) : 0;
        graphics->RenderText(*lines[i], vx + 218 - width, vy + 28 + 16 * i, colour, false);
    }
    graphics->RenderRectangle(kDim, vx + 16, vy + 81, 201, 1);
    graphics->RenderText("Reset", vx + 99, vy + 83, resetColour, false);
}
