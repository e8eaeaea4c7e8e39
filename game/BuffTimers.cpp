#include "game/BuffTimers.h"

#include <algorithm>

#include "client/Client.h"
#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/ChatLog.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"
#include "world/Map.h"

namespace {

const int kColumnInset = 210;  // from the field's right edge
const int kTop = 10;
const int kRowPitch = 15;
const int kFrameWidth = 200;
const int kFrameHeight = 10;
const uint32_t kFrameFill = 0x80000000;
const int kWarningType = 6;

GUIManager* Gui() {
    KEngine2* app = Client::Instance()->app;
    return app ? app->gui : nullptr;
}

int64_t Remaining(const BuffEntry& entry, uint32_t now) { return entry.startTick + entry.durationMs - int64_t(now); }

}  // namespace

BuffTimers::BuffTimers() { lifecycle::Note("BuffTimers"); }

BuffTimers::~BuffTimers() { lifecycle::Note("~BuffTimers"); }

void BuffTimers::Clear() {
    lifecycle::Note("BuffTimers::Clear");
    entries.clear();
}

void BuffTimers::RemoveAll() { entries.clear(); }

void BuffTimers::Remove(const std::string& name) {
    auto found = std::find_if(entries.begin(), entries.end(), [&](const BuffEntry& e) { return e.name == name; });
    if (found != entries.end())
        entries.erase(found);
}

void BuffTimers::Add(const std::string& name, int64_t elapsedMs, int64_t durationMs, int kind) {
    Remove(name);
    const uint32_t now = GetTicks();
    BuffEntry entry;
    entry.name = name;
    entry.startTick = int64_t(now) - elapsedMs;
    entry.durationMs = durationMs;
    entry.kind = kind;
    entry.warnPending = Remaining(entry, now) > kWarningMs;
    entries.push_back(entry);
    UpdateTooltips();
}

bool BuffTimers::HitTest(int, int) const { return false; }

int BuffTimers::BarWidth(int64_t remainingMs, int64_t durationMs) {
    // A buff without a length is over; one that claims more time left than
    // its length still fits its frame.
    if (durationMs <= 0 || remainingMs <= 0)
        return 0;
    const double width = double(kBarWidth) * double(remainingMs) / double(durationMs);
    return width >= kBarWidth ? kBarWidth : int(width);
}

uint32_t BuffTimers::KindColor(int kind) {
    switch (kind) {
    // Alpha in the highest byte, red in the lowest.
    case 1:
        return 0x64FAD728;
    case 2:
        return 0x643030FF;
    case 3:
        return 0x64C8C8C8;
    default:
        return 0x6400FF00;
    }
}

bool BuffTimers::Origin(int* x0, int* y0) const {
    const GameInterface* game = Client::Instance()->game;
    const Map* map = game ? game->map : nullptr;
    if (!map)
        return false;
    *x0 = map->viewX + Map::kViewColumns * map->tileWidth - kColumnInset;
    *y0 = map->viewY + kTop;
    return true;
}

void BuffTimers::UpdateTooltips() {
    GUIManager* gui = Gui();
    if (!gui)
        return;
    for (int key = kFirstTooltipKey; key < kFirstTooltipKey + kTooltipKeys; ++key)
        gui->RemoveTooltip(key);
    int x0 = 0;
    int y = 0;
    if (!Origin(&x0, &y))
        return;
    const uint32_t now = GetTicks();
    const size_t shown = std::min(entries.size(), size_t(kTooltipKeys));
    for (size_t i = 0; i < shown; ++i) {
        const BuffEntry& entry = entries[i];
        const int64_t seconds = Remaining(entry, now) / 1000;
        gui->AddTooltip(kFirstTooltipKey + int(i), float(x0), float(y), float(kFrameWidth), float(kFrameHeight),
                        {entry.name, "The buff will expire in " + std::to_string(seconds) + " seconds."});
        y += kRowPitch;
    }
}

void BuffTimers::Draw() {
    KEngine2* app = Client::Instance()->app;
    Graphics* graphics = app ? app->graphics : nullptr;
    int x0 = 0;
    int y = 0;
    if (!graphics || !Origin(&x0, &y))
        return;
    const uint32_t now = GetTicks();
    bool removed = false;
    for (size_t i = 0; i < entries.size();) {
        BuffEntry& entry = entries[i];
        const int64_t remaining = Remaining(entry, now);
        const int width = BarWidth(remaining, entry.durationMs);
        if (width <= 0) {
            entries.erase(entries.begin() + std::ptrdiff_t(i));
            removed = true;
            continue;
        }
        if (entry.warnPending && remaining < kWarningMs) {
            entry.warnPending = false;
            ChatLog::Instance()->AddMessage("Server", "Main", kWarningType,
                                            entry.name + " is about to expire in 15 seconds.");
        }
        const uint32_t colour = KindColor(entry.kind);
        graphics->RenderBox(x0, y, kFrameWidth, kFrameHeight, colour, colour, kFrameFill);
        graphics->RenderRectangle(colour, x0 + 2, y + 2, width, 6);
        y += kRowPitch;
        ++i;
    }
    if (removed || now - lastTooltipRefresh > kTooltipRefreshMs) {
        UpdateTooltips();
        lastTooltipRefresh = now;
    }
}
