#include "world/FloatingTexts.h"

#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "world/Map.h"

uint32_t FloatingTexts::ColourOfType(int type) {
    switch (type) {
    case 1: return 0xFF1414DC;  // 220, 20, 20
    case 2: return 0xFFFFFFFF;
    case 3: return 0xFF14DC14;  // 20, 220, 20
    case 4: return 0xFFCD6932;  // 50, 105, 205
    default: return 0xFF000000;
    }
}

void FloatingTexts::Add(int x, int y, int type, const std::string& text) {
    Record record;
    record.x = x;
    record.y = y;
    record.start = GetTicks();
    record.text = text.substr(0, kMaxLength);
    record.colour = ColourOfType(type);
    if (records.size() >= kMaxTexts)
        records.pop_front();
    records.push_back(record);
}

void FloatingTexts::Clear() { records.clear(); }

void FloatingTexts::Draw() {
    const uint32_t now = GetTicks();
    const bool canDraw = map && g_app && g_app->graphics;
    const int tileWidth = canDraw ? map->tileWidth : 32;
    const int tileHeight = canDraw ? map->tileHeight : 32;
    for (auto it = records.begin(); it != records.end();) {
        Record& record = *it;
        const uint32_t age = now - record.start;
        if (age >= kLifetime) {
            it = records.erase(it);
            continue;
        }
        ++it;
        if (!canDraw)
            continue;
        const int width = g_app->font ? g_app->font->GetTextWidth(record.text) : 0;
        const int sx = map->viewOffsetX * tileWidth / 32;
        const int sy = map->viewOffsetY * tileHeight / 32;
        const int x = (record.x - map->camera->GetX()) * tileWidth + map->viewX + tileWidth / 3 - width / 2 - sx;
        const int y = (record.y - map->camera->GetY()) * tileHeight + map->viewY + tileHeight / 3 - sy -
                      int(age / 20);
        if (age > kFadeStart)
            record.colour = (record.colour & 0x00FFFFFF) | (kLifetime - age) << 24;
        g_app->graphics->RenderText(record.text, x, y, record.colour);
    }
}
