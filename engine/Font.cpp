#include "engine/Font.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/Graphics.h"
#include "engine/KEngine2.h"

const int kBuiltInAdvances[Font::kAdvanceCount] = {
    3,  3,  5,  9,  8,  11, 8, 2,  4,  4,  6,  8,  4,  4,  3,  5,  7,  7, 7,  7,  8,  7,  7,  7,  7,  7,  3,  4, 8,  8,  8,  6,   // 32
    11, 9,  8,  8,  8,  7,  7, 8,  8,  5,  4,  9,  7,  10, 8,  9,  8,  9, 8,  7,  9,  8,  9,  12, 9,  9,  8,  5, 5,  5,  8,  7,   // 64
    4,  7,  7,  6,  7,  7,  6, 7,  7,  3,  4,  8,  3,  11, 7,  7,  7,  7, 5,  6,  6,  7,  8,  10, 8,  8,  6,  7, 2,  7,  8,  7,   // 96
    8,  7,  4,  6,  7,  3,  7, 7,  5,  11, 7,  4,  12, 7,  8,  7,  7,  4, 4,  7,  7,  5,  5,  11, 5,  4,  6,  4, 12, 7,  6,  9,   // 128
    3,  3,  6,  7,  8,  9,  2, 6,  2,  9,  6,  7,  8,  4,  9,  4,  5,  8, 5,  5,  4,  8,  6,  3,  3,  4,  6,  7, 11, 12, 11, 6,   // 160
    9,  9,  9,  9,  9,  9,  12, 8, 7,  7,  7,  7,  3,  3,  5,  5,  9,  8, 9,  9,  9,  9,  9,  7,  10, 8,  8,  8, 8,  9,  8,  8,   // 192
    7,  7,  7,  7,  7,  7,  11, 6, 7,  7,  7,  7,  4,  4,  5,  5,  8,  7, 7,  7,  7,  7,  7,  9,  7,  7,  7,  7, 7,  8,  7,  8,   // 224
    5,  5,  5,  5,  5,  5,  5, 5,  5,  5,  5,  5,  5,  5,  5,  5,  5,  5, 5,  5,  5,  5,  5,  5,  5,  5,  5,  5, 5,  5,  5,  5,   // 256
};

Font::Font() { std::copy(kBuiltInAdvances, kBuiltInAdvances + kAdvanceCount, advances); }

Font::~Font() {
    // The cache owns its sheets; the current sheet is freed here only when it
    // is not one of them, so no sheet is released twice.
    if (!IsCached(sheet))
        delete sheet;
    for (CachedSheet& entry : colorCache)
        delete entry.sheet;
}

int Font::EngineType() const { return GetOwner() ? GetOwner()->engineType : 0; }

GraphicsEngine* Font::Engine() const { return GetOwner() ? GetOwner()->engine : nullptr; }

bool Font::IsCached(const Sprite* sprite) const {
    return sprite && std::any_of(colorCache.begin(), colorCache.end(),
                                 [sprite](const CachedSheet& entry) { return entry.sheet == sprite; });
}

Sprite* Font::Build(SpriteRecord* image, uint32_t color, bool tint, bool keepWidths) {
    if (!image || !image->pixels)
        return nullptr;
    const int width = image->width;
    const int height = image->height;
    const size_t pixelCount = size_t(width) * height;
    SpriteRecord copy;
    copy.width = image->width;
    copy.height = image->height;
    copy.pixels.reset(new (std::nothrow) uint8_t[pixelCount * 4 + 1]);
    if (!copy.pixels)
        return nullptr;  // out of memory: keep the sheet we have
    if (!IsCached(sheet))
        delete sheet;
    sheet = new Sprite(image->width, image->height);

    const uint8_t* in = image->pixels.get();
    uint8_t* out = copy.pixels.get();
    // Colour channels of the tint in the pixel order blue, green, red.
    const double tintBgr[3] = {double((color >> 16) & 0xFF), double((color >> 8) & 0xFF), double(color & 0xFF)};
    for (size_t i = 0; i < pixelCount; ++i, in += 4, out += 4) {
        if (in[0] == 0 && in[1] == 0 && in[2] == 0) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0;
            continue;
        }
        for (int c = 0; c < 3; ++c)
            out[c] = tint ? uint8_t(int(in[c] / 255.0 * tintBgr[c])) : 255;
        out[3] = in[2];
    }

    if (!keepWidths) {
        const int bandHeight = height / 8;
        const int cellW = width / 32;
        for (int row = 0; row < 8; ++row) {
            for (int column = 0; column < 32; ++column) {
                int last = -1;
                for (int dy = 0; dy < bandHeight; ++dy) {
                    // Band 0 is at the top of the picture, which is the last
                    // stored row since rows run bottom-up.
                    const int fromBottom = height - 1 - (row * bandHeight + dy);
                    for (int dx = last + 1; dx < cellW; ++dx) {
                        const uint8_t* p = image->Pixel(column * cellW + dx, fromBottom);
                        if (p[0] || p[1] || p[2])
                            last = dx;
                    }
                }
                advances[row * 32 + column] = last + 1 > 0 ? last + 1 : 1;
            }
        }
        advances[0] = width / 160;
    }

    if (GraphicsEngine* engine = Engine())
        engine->GenerateSprite(sheet, &copy, true);
    return sheet;
}

bool Font::EngineBatches() const {
    const int type = EngineType();
    return type == kEngineDirect3D || type == kEngineOpenGL;
}

void Font::SetTint(uint32_t color) {
    FlushBatch();
    KEngine2* owner = GetOwner();
    if (EngineType() != kEngineDirectDraw) {
        if (owner && owner->graphics)
            owner->graphics->SetColor(color);
        return;
    }
    for (const CachedSheet& entry : colorCache) {
        if (entry.color == color && entry.sheet) {
            sheet = entry.sheet;
            return;
        }
    }
    if (!owner || !owner->fontImage)
        return;
    // Build frees the current sheet only when the cache does not hold it.
    Sprite* made = Build(owner->fontImage, color, true, false);
    if (!made)
        return;
    colorCache.push_back({made, color});
}

void Font::ResetColor() {
    FlushBatch();
    KEngine2* owner = GetOwner();
    if (EngineType() != kEngineDirectDraw && owner && owner->graphics)
        owner->graphics->SetColor(0xFFFFFFFF);
}

void Font::RenderGlyph(float x, float y, float w, float h, float sourceX, float sourceY) {
    if (!sheet)
        return;
    if (batching_) {
        batch_.push_back({x, y, w, h, float(sheet->width), float(sheet->height), sourceX, sourceY, w, h});
        return;
    }
    if (GraphicsEngine* engine = Engine())
        engine->RenderSprite(sheet, x, y, w, h, float(sheet->width), float(sheet->height), sourceX, sourceY, w, h,
                             0.0f, false);
}

void Font::BeginBatch(size_t glyphs) {
    batch_.clear();
    batching_ = EngineBatches();
    if (batching_)
        batch_.reserve(glyphs);
}

void Font::FlushBatch() {
    if (!batch_.empty())
        DrawRun();
}

void Font::DrawRun() {
    GraphicsEngine* engine = Engine();
    if (sheet && engine)
        engine->RenderSpriteBatch(sheet, batch_.data(), int(batch_.size()));
    batch_.clear();
}

void Font::EndBatch() {
    FlushBatch();
    batching_ = false;
}

void Font::DrawText(const std::string& text, float x, float y, uint32_t color, int topLimit) {
    SetTint(color);
    BeginBatch(text.size());
    float pen = 0;
    for (unsigned char c : text) {
        if (c == 10) {
            y += 16;
            pen = 0;
            continue;
        }
        // Codes below 32 have no cell; they only advance the pen.
        if (c > 32 && y >= float(topLimit)) {
            const int cell = c - 32;
            RenderGlyph(x + pen, y + 2, float(cellWidth), float(cellHeight), float((cell % 32) * cellWidth),
                        float((cell / 32) * cellHeight));
        }
        pen += float(GetCharWidth(uint16_t(c - 32)));
    }
    // A text is one call, also when all its glyphs lay above the limit.
    if (batching_)
        DrawRun();
    EndBatch();
    ResetColor();
}

int Font::GetCharWidth(uint16_t index) const { return index < 224 ? advances[index] : 5; }

int Font::GetTextWidth(const std::string& text) const {
    int width = 0;
    for (unsigned char c : text)
        width += GetCharWidth(uint16_t(c - 32));
    return width;
}
