#include "engine/GraphicsEngine.h"

GraphicsEngine::~GraphicsEngine() { ReleaseAllSprites(); }

bool GraphicsEngine::SetSettings() { return true; }
void GraphicsEngine::GenerateSprite(Sprite*, SpriteRecord*, bool) {}
void GraphicsEngine::SetColor(uint32_t) {}

bool GraphicsEngine::Init() { return InitInternal(); }
void GraphicsEngine::ClearScene(uint32_t color) { ClearSceneInternal(color); }
bool GraphicsEngine::BeginScene() { return BeginSceneInternal(); }
void GraphicsEngine::EndScene() { EndSceneInternal(); }

void GraphicsEngine::RenderRectangle(uint32_t color, float x, float y, float w, float h, float angle, bool rotate) {
    RenderRectangleInternal(color, x, y, w, h, angle, rotate);
}

void GraphicsEngine::RenderTriangle(uint32_t color1, uint32_t color2, uint32_t color3, float x1, float y1, float x2,
                                    float y2, float x3, float y3) {
    RenderTriangleInternal(color1, color2, color3, x1, y1, x2, y2, x3, y3);
}

void GraphicsEngine::RenderSprite(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                                  float textureHeight, float sourceX, float sourceY, float sourceWidth,
                                  float sourceHeight, float angle, bool rotate) {
    RenderSpriteInternal(sprite, x, y, w, h, textureWidth, textureHeight, sourceX, sourceY, sourceWidth,
                         sourceHeight, angle, rotate);
}

void GraphicsEngine::RenderSpriteGradient(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                                          float textureHeight, float sourceX, float sourceY, float sourceWidth,
                                          float sourceHeight, uint32_t topLeft, uint32_t topRight,
                                          uint32_t bottomLeft, uint32_t bottomRight) {
    RenderSpriteGradientInternal(sprite, x, y, w, h, textureWidth, textureHeight, sourceX, sourceY, sourceWidth,
                                 sourceHeight, topLeft, topRight, bottomLeft, bottomRight);
}

void GraphicsEngine::RenderSpriteBatch(Sprite* sprite, const BatchQuad* quads, int count) {
    RenderSpriteBatchInternal(sprite, quads, count);
}

void GraphicsEngine::EnableClipper(ClipRect clip) { EnableClipperInternal(clip); }
void GraphicsEngine::DisableClipper() { DisableClipperInternal(); }
void GraphicsEngine::BeginBuffer() { BeginBufferInternal(); }
void GraphicsEngine::EndBuffer() { EndBufferInternal(); }

void GraphicsEngine::RenderBuffer(float x, float y, float w, float h, float sourceWidth, float sourceHeight) {
    RenderBufferInternal(x, y, w, h, sourceWidth, sourceHeight);
}

void GraphicsEngine::SetNearestFiltering(bool nearest) { SetNearestFilteringInternal(nearest); }
uint8_t* GraphicsEngine::ReadScreen(int x, int y, int w, int h) { return ReadScreenInternal(x, y, w, h); }

void GraphicsEngine::ReleaseSprite(Sprite* sprite) {
    if (!sprite || sprite->engine != this)
        return;
    ReleaseSpriteInternal(sprite);
    sprites_.erase(sprite);
    ++spritesFreed_;
    sprite->handle = 0;
    sprite->object = nullptr;
    sprite->surface = 0;
    sprite->engine = nullptr;
}

void GraphicsEngine::ReleaseOldImage(Sprite* sprite) {
    if (sprite && sprite->engine)
        sprite->engine->ReleaseSprite(sprite);
}

void GraphicsEngine::AdoptSprite(Sprite* sprite) {
    if (sprite->engine && sprite->engine != this)
        sprite->engine->ReleaseSprite(sprite);
    sprite->engine = this;
    sprites_.insert(sprite);
    ++spritesMade_;
}

void GraphicsEngine::ReleaseAllSprites() {
    while (!sprites_.empty())
        ReleaseSprite(*sprites_.begin());
}

bool GraphicsEngine::InitInternal() { return false; }
void GraphicsEngine::ClearSceneInternal(uint32_t) {}
bool GraphicsEngine::BeginSceneInternal() { return false; }
void GraphicsEngine::EndSceneInternal() {}
void GraphicsEngine::RenderRectangleInternal(uint32_t, float, float, float, float, float, bool) {}
void GraphicsEngine::RenderTriangleInternal(uint32_t, uint32_t, uint32_t, float, float, float, float, float, float) {}
void GraphicsEngine::RenderSpriteInternal(Sprite*, float, float, float, float, float, float, float, float, float,
                                          float, float, bool) {}
void GraphicsEngine::RenderSpriteGradientInternal(Sprite*, float, float, float, float, float, float, float, float,
                                                  float, float, uint32_t, uint32_t, uint32_t, uint32_t) {}
void GraphicsEngine::RenderSpriteBatchInternal(Sprite*, const BatchQuad*, int) {}
void GraphicsEngine::RenderBatch(const ScreenVertex*, int) {}
void GraphicsEngine::EnableClipperInternal(ClipRect) {}
void GraphicsEngine::DisableClipperInternal() {}
void GraphicsEngine::BeginBufferInternal() {}
void GraphicsEngine::EndBufferInternal() {}
void GraphicsEngine::RenderBufferInternal(float, float, float, float, float, float) {}
void GraphicsEngine::SetNearestFilteringInternal(bool) {}
uint8_t* GraphicsEngine::ReadScreenInternal(int, int, int, int) { return nullptr; }
void GraphicsEngine::ReleaseSpriteInternal(Sprite*) {}
