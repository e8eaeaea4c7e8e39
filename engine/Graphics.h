#pragma once

#include <cstdint>
#include <string>

#include "engine/Block.h"
#include "engine/GraphicsEngine.h"

class Font;

// The drawing facade the whole program draws through. It reaches the engine as
// its owner's engine on every call, so it always draws with the back end active
// at that moment; it turns integer pixels into the engine's floats, fills in
// sprite-size defaults, and composes boxes, tiled sprites and skins.
class Graphics : public Block {
public:
    Graphics() = default;

    void ClearScene(uint32_t color);
    bool BeginScene();
    void EndScene();
    void RenderRectangle(uint32_t color, int x, int y, int w, int h, float angle = 0, bool rotate = false);
    void RenderTriangle(int x1, int y1, int x2, int y2, int x3, int y3, uint32_t color1, uint32_t color2,
                        uint32_t color3);
    // Zero sizes take the sprite's own: w = h = 0 draws it at its size, texture
    // width = height = 0 means the sprite's size, source width = height = 0 the
    // whole texture.
    void RenderSprite(Sprite* sprite, int x, int y, int w = 0, int h = 0, float textureWidth = 0,
                      float textureHeight = 0, float sourceX = 0, float sourceY = 0, float sourceWidth = 0,
                      float sourceHeight = 0, float angle = 0, bool rotate = false);
    void RenderSpriteGradient(Sprite* sprite, int x, int y, int w, int h, float textureWidth, float textureHeight,
                              float sourceX, float sourceY, float sourceWidth, float sourceHeight, uint32_t topLeft,
                              uint32_t topRight, uint32_t bottomLeft, uint32_t bottomRight);
    // Covers the rectangle with copies of the sprite; partial tiles at the right
    // and bottom edges are cut, not scaled.
    void RenderSpriteTiled(Sprite* sprite, int x, int y, int w, int h);
    void RenderSkin(int spriteId, int x, int y, int w, int h);
    // A box with light top and left edges, dark bottom and right edges, and a
    // fill that is drawn only when its alpha is not 0.
    void RenderBox(int x, int y, int w, int h, uint32_t light, uint32_t dark, uint32_t fill);
    void EnableClipper(ClipRect clip);
    void DisableClipper();
    void BeginBuffer();
    void EndBuffer();
    void RenderBuffer(int x, int y, int w, int h, int sourceWidth, int sourceHeight);
    // Stores the colour (the Direct3D back end tints sprites with it) and
    // passes it to the engine (OpenGL tints with that).
    void SetColor(uint32_t color);
    uint32_t GetColor() const { return color_; }
    void SetNearestFiltering(bool nearest);
    // Draws a text with a font, by default the application's, optionally with a
    // one-pixel outline in the colour's black.
    void RenderText(const std::string& text, int x, int y, uint32_t color, bool outline = false,
                    Font* font = nullptr);

private:
    GraphicsEngine* Engine() const;

    uint32_t color_ = 0xFFFFFFFF;
};
