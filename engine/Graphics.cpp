#include "engine/Graphics.h"

#include <cmath>

#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"

GraphicsEngine* Graphics::Engine() const {
    KEngine2* owner = GetOwner();
    return owner ? owner->engine : nullptr;
}

void Graphics::ClearScene(uint32_t color) {
    if (GraphicsEngine* engine = Engine())
        engine->ClearScene(color);
}

bool Graphics::BeginScene() {
    GraphicsEngine* engine = Engine();
    return engine && engine->BeginScene();
}

void Graphics::EndScene() {
    if (GraphicsEngine* engine = Engine())
        engine->EndScene();
}

void Graphics::RenderRectangle(uint32_t color, int x, int y, int w, int h, float angle, bool rotate) {
    if (GraphicsEngine* engine = Engine())
        engine->RenderRectangle(color, float(x), float(y), float(w), float(h), angle, rotate);
}

void Graphics::RenderTriangle(int x1, int y1, int x2, int y2, int x3, int y3, uint32_t color1, uint32_t color2,
                              uint32_t color3) {
    if (GraphicsEngine* engine = Engine())
        engine->RenderTriangle(color1, color2, color3, float(x1), float(y1), float(x2), float(y2), float(x3),
                               float(y3));
}

namespace {
// The size defaults shared by plain and gradient sprite drawing.
void ApplySpriteDefaults(const Sprite* sprite, int& w, int& h, float& textureWidth, float& textureHeight,
                         float& sourceWidth, float& sourceHeight) {
    if (w == 0 && h == 0) {
        w = sprite->width;
        h = sprite->height;
    }
    if (textureWidth == 0.0f && textureHeight == 0.0f) {
        textureWidth = sprite->width;
        textureHeight = sprite->height;
    }
    if (sourceWidth == 0.0f && sourceHeight == 0.0f) {
        sourceWidth = textureWidth;
        sourceHeight = textureHeight;
    }
}
}  // namespace

void Graphics::RenderSprite(Sprite* sprite, int x, int y, int w, int h, float textureWidth, float textureHeight,
                            float sourceX, float sourceY, float sourceWidth, float sourceHeight, float angle,
                            bool rotate) {
    GraphicsEngine* engine = Engine();
    if (!sprite || !engine)
        return;
    ApplySpriteDefaults(sprite, w, h, textureWidth, textureHeight, sourceWidth, sourceHeight);
    engine->RenderSprite(sprite, float(x), float(y), float(w), float(h), textureWidth, textureHeight, sourceX,
                         sourceY, sourceWidth, sourceHeight, angle, rotate);
}

void Graphics::RenderSpriteGradient(Sprite* sprite, int x, int y, int w, int h, float textureWidth,
                                    float textureHeight, float sourceX, float sourceY, float sourceWidth,
                                    float sourceHeight, uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft,
                                    uint32_t bottomRight) {
    GraphicsEngine* engine = Engine();
    if (!sprite || !engine)
        return;
    ApplySpriteDefaults(sprite, w, h, textureWidth, textureHeight, sourceWidth, sourceHeight);
    engine->RenderSpriteGradient(sprite, float(x), float(y), float(w), float(h), textureWidth, textureHeight,
                                 sourceX, sourceY, sourceWidth, sourceHeight, topLeft, topRight, bottomLeft,
                                 bottomRight);
}

void Graphics::RenderSpriteTiled(Sprite* sprite, int x, int y, int w, int h) {
    GraphicsEngine* engine = Engine();
    // A zero-sized sprite would need infinitely many tiles.
    if (!sprite || !engine || sprite->width == 0 || sprite->height == 0)
        return;
    const int sw = sprite->width;
    const int sh = sprite->height;
    const double columns = std::ceil(double(w) / sw);
    const double rows = std::ceil(double(h) / sh);
    if (columns <= 0 || rows <= 0)
        return;
    for (int i = 0; i < int(columns); ++i) {
        for (int j = 0; j < int(rows); ++j) {
            const int tileX = x + i * sw;
            const int tileY = y + j * sh;
            const int tileW = tileX + sw > x + w ? x + w - tileX : sw;
            const int tileH = tileY + sh > y + h ? y + h - tileY : sh;
            engine->RenderSprite(sprite, float(tileX), float(tileY), float(tileW), float(tileH), float(sw),
                                 float(sh), 0.0f, 0.0f, float(tileW), float(tileH), 0.0f, false);
        }
    }
}

void Graphics::RenderSkin(int spriteId, int x, int y, int w, int h) {
    KEngine2* owner = GetOwner();
    if (!owner || !owner->sprites)
        return;
    if (Sprite* sprite = owner->sprites->GetSprite(spriteId))
        RenderSpriteTiled(sprite, x, y, w, h);
}

void Graphics::RenderBox(int x, int y, int w, int h, uint32_t light, uint32_t dark, uint32_t fill) {
    GraphicsEngine* engine = Engine();
    if (!engine)
        return;
    engine->RenderRectangle(light, float(x), float(y), float(w), 1.0f, 0.0f, false);
    engine->RenderRectangle(light, float(x), float(y + 1), 1.0f, float(h - 2), 0.0f, false);
    engine->RenderRectangle(dark, float(x), float(y + h - 1), float(w), 1.0f, 0.0f, false);
    engine->RenderRectangle(dark, float(x + w - 1), float(y + 1), 1.0f, float(h - 2), 0.0f, false);
    if ((fill >> 24) != 0)
        engine->RenderRectangle(fill, float(x + 1), float(y + 1), float(w - 2), float(h - 2), 0.0f, false);
}

void Graphics::EnableClipper(ClipRect clip) {
    if (GraphicsEngine* engine = Engine())
        engine->EnableClipper(clip);
}

void Graphics::DisableClipper() {
    if (GraphicsEngine* engine = Engine())
        engine->DisableClipper();
}

void Graphics::BeginBuffer() {
    if (GraphicsEngine* engine = Engine())
        engine->BeginBuffer();
}

void Graphics::EndBuffer() {
    if (GraphicsEngine* engine = Engine())
        engine->EndBuffer();
}

void Graphics::RenderBuffer(int x, int y, int w, int h, int sourceWidth, int sourceHeight) {
    if (GraphicsEngine* engine = Engine())
        engine->RenderBuffer(float(x), float(y), float(w), float(h), float(sourceWidth), float(sourceHeight));
}

void Graphics::SetColor(uint32_t color) {
    color_ = color;
    if (GraphicsEngine* engine = Engine())
        engine->SetColor(color);
}

void Graphics::SetNearestFiltering(bool nearest) {
    if (GraphicsEngine* engine = Engine())
        engine->SetNearestFiltering(nearest);
}

void Graphics::RenderText(const std::string& text, int x, int y, uint32_t color, bool outline, Font* font) {
    if (!font && GetOwner())
        font = GetOwner()->font;
    if (!font)
        return;
    const float fx = float(x);
    const float fy = float(y);
    if (outline) {
        const uint32_t shadow = color & 0xFF000000u;
        font->DrawText(text, fx - 1, fy, shadow, Font::kTopLimit);
        font->DrawText(text, fx, fy - 1, shadow, Font::kTopLimit);
        font->DrawText(text, fx + 1, fy, shadow, Font::kTopLimit);
        font->DrawText(text, fx, fy + 1, shadow, Font::kTopLimit);
    }
    font->DrawText(text, fx, fy, color, Font::kTopLimit);
}
