#include "game/TipMessages.h"

#include <algorithm>

#include "client/Client.h"
#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "game/ChatLog.h"
#include "game/GameInterface.h"
#include "world/Map.h"

namespace {

constexpr int kBoxHalfWidth = 120;
constexpr int kBoxRaise = 75;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;

uint32_t WithAlpha(uint32_t rgb, float alpha) {
    const int value = std::max(0, std::min(255, int(alpha)));
    return (rgb & 0x00FFFFFFu) | (uint32_t(value) << 24);
}

// The fade of a tip by its age: in over the first second, out over the last
// half second.
float Fade(uint32_t age) {
    if (age < TipMessages::kFadeIn)
        return float(age) / 1000.0f;
    if (age <= TipMessages::kFadeOutStart)
        return 1.0f;
    return 1.0f - float(age - TipMessages::kFadeOutStart) / 500.0f;
}

}  // namespace

TipMessages::TipMessages() : viewSource(&TipMessages::GameView) {}

TipMessages::~TipMessages() { Clear(); }

TipMessages::View TipMessages::GameView() {
    View view;
    GameInterface* game = Client::Instance()->game;
    if (!game || !game->map)
        return view;
    const Map& map = *game->map;
    view.originX = map.viewX;
    view.originY = map.viewY;
    view.tileWidth = map.tileWidth;
    view.tileHeight = map.tileHeight;
    return view;
}

void TipMessages::Add(int kind, const std::string& title, const std::string& text, int x, int y, int z) {
    const uint32_t now = GetTicks();
    // Unsigned on purpose: near the start of the clock this wraps, and the
    // age computed from it (now - created) still comes out as 14500.
    for (TipRecord* tip : tips)
        tip->created = now - kFadeOutStart;
    TipRecord* tip = new TipRecord();
    tip->title = title;
    tip->text = text;
    tip->x = x;
    tip->y = y;
    tip->z = z;
    tip->kind = kind;
    tip->created = now;
    tips.push_back(tip);
    ChatLog::Instance()->AddMessage("Tip Message", "Main", ChatLog::kHighlighted, title + " " + text);
}

void TipMessages::ScreenPosition(const TipRecord& tip, int& x, int& y) const {
    const View view = viewSource ? viewSource() : View();
    const int tw = view.tileWidth;
    const int th = view.tileHeight;
    x = view.originX + (tip.x - view.cameraX) * tw - view.scrollX * tw / 32 + tw / 2 - kBoxHalfWidth;
    y = view.originY + (tip.y - view.cameraY) * th - view.scrollY * th / 32 - kBoxRaise;
}

void TipMessages::Draw() {
    const uint32_t now = GetTicks();
    const View view = viewSource ? viewSource() : View();
    if (view.welcomeOpen) {
        // Tips wait for the welcome dialog: their life starts when it closes.
        for (TipRecord* tip : tips)
            tip->created = now;
        return;
    }
    KEngine2* app = Client::Instance()->app;
    Graphics* graphics = app ? app->graphics : nullptr;
    Font* font = app ? app->font : nullptr;
    SpriteStore* sprites = app ? app->sprites : nullptr;

    for (auto it = tips.begin(); it != tips.end();) {
        TipRecord* tip = *it;
        const uint32_t age = now - tip->created;
        if (age >= kLifetime) {
            delete tip;
            it = tips.erase(it);
            continue;
        }
        ++it;
        if (tip->z != view.floor || !graphics)
            continue;
        const float fade = Fade(age);
        int x = 0;
        int y = 0;
        ScreenPosition(*tip, x, y);

        ClipRect clip;
        clip.left = float(view.originX);
        clip.top = float(view.originY);
        clip.right = float(view.originX + 17 * view.tileWidth);
        clip.bottom = float(view.originY + 13 * view.tileHeight);
        graphics->EnableClipper(clip);

        graphics->SetColor(WithAlpha(kOpaqueWhite, fade * 185));
        graphics->RenderSprite(sprites ? sprites->GetSprite(kBackgroundSprite) : nullptr, x, y);
        graphics->SetColor(kOpaqueWhite);

        const uint32_t textColor = WithAlpha(kTitleColor, fade * 255);
        const int titleWidth = font ? font->GetTextWidth(tip->title) : 0;
        const int textWidth = font ? font->GetTextWidth(tip->text) : 0;
        graphics->RenderText(tip->title, x + kBoxHalfWidth - titleWidth / 2, y + 5, textColor);
        graphics->RenderText(tip->text, x + kBoxHalfWidth - textWidth / 2, y + 20, textColor);

        if (tip->kind == 1) {
            graphics->SetColor(WithAlpha(kOpaqueWhite, fade * 255));
            graphics->RenderSprite(sprites ? sprites->GetSprite(kEmblemSprite) : nullptr, x + 104, y + 40);
        } else {
            graphics->SetColor(WithAlpha(kOpaqueWhite, fade * 185));
            graphics->RenderSprite(sprites ? sprites->GetSprite(kCloseSprite) : nullptr, x + 104, y + 40);
        }
        graphics->SetColor(kOpaqueWhite);
        graphics->DisableClipper();
    }
}

bool TipMessages::HitTest(int px, int py) {
    for (TipRecord* tip : tips) {
        if (tip->kind == 1)
            continue;
        int x = 0;
        int y = 0;
        ScreenPosition(*tip, x, y);
        if (px < x || px > x + 241 || py < y || py > y + 66)
            continue;
        if (px > x + 103 && px <= x + 136 && py > y + 39 && py <= y + 59)
            tip->created = GetTicks() - kFadeOutStart;
        return true;
    }
    return false;
}

void TipMessages::Clear() {
    for (TipRecord* tip : tips)
        delete tip;
    tips.clear();
}
