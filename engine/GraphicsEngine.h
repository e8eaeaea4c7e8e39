#pragma once

#include <cstdint>
#include <unordered_set>

#include "engine/BackEndHost.h"
#include "engine/Block.h"
#include "engine/Sprite.h"

// Clipping rectangle in client pixels: drawing shows only where
// left <= x <= right and top <= y <= bottom.
struct ClipRect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

// One quad of a sprite batch: destination, full texture size and source
// rectangle, as the arguments of RenderSpriteInternal.
struct BatchQuad {
    float x, y, w, h;
    float textureWidth, textureHeight;
    float sourceX, sourceY, sourceWidth, sourceHeight;
};

struct ScreenVertex;

// Back-end codes, as the "engine" option stores them.
enum EngineType : int { kEngineNone = 0, kEngineOpenGL = 1, kEngineDirect3D = 2, kEngineDirectDraw = 3 };

// The drawing interface. Every public drawing operation forwards to a virtual
// ...Internal operation whose base body is harmless, so a back end overrides only
// what it can do: a missing operation draws nothing, a missing InitInternal or
// BeginSceneInternal fails, a missing ReadScreenInternal gives null.
//
// Colours are u32 with red in the lowest byte and alpha in the highest.
// The owner (Block) is the application object, which also hands in itself as
// the host: back ends reach the window, the client size and the rest of what
// they need only through that narrow interface.
class GraphicsEngine : public Block {
public:
    GraphicsEngine() = default;
    ~GraphicsEngine() override;

    void SetHost(BackEndHost* host) { host_ = host; }

    // Called directly, without forwarders.
    virtual bool SetSettings();
    virtual void GenerateSprite(Sprite* sprite, SpriteRecord* record, bool nearest);
    virtual void SetColor(uint32_t color);

    bool Init();
    void ClearScene(uint32_t color);
    bool BeginScene();
    void EndScene();
    void RenderRectangle(uint32_t color, float x, float y, float w, float h, float angle, bool rotate);
    void RenderTriangle(uint32_t color1, uint32_t color2, uint32_t color3, float x1, float y1, float x2,
                        float y2, float x3, float y3);
    void RenderSprite(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                      float textureHeight, float sourceX, float sourceY, float sourceWidth,
                      float sourceHeight, float angle, bool rotate);
    void RenderSpriteGradient(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                              float textureHeight, float sourceX, float sourceY, float sourceWidth,
                              float sourceHeight, uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft,
                              uint32_t bottomRight);
    void RenderSpriteBatch(Sprite* sprite, const BatchQuad* quads, int count);
    void EnableClipper(ClipRect clip);
    void DisableClipper();
    void BeginBuffer();
    void EndBuffer();
    void RenderBuffer(float x, float y, float w, float h, float sourceWidth, float sourceHeight);
    void SetNearestFiltering(bool nearest);
    // A new block of w x h x 3 bytes (red, green, blue) that the caller frees
    // with delete[], or null when the back end cannot read the screen.
    uint8_t* ReadScreen(int x, int y, int w, int h);

    // Untextured triangles in their own colours (pre-transformed vertices with
    // D3DCOLOR colours), count / 3 of them in one call: the light map's mesh.
    // Only the Direct3D 9 back end draws them; portable code reaches it through
    // this slot, whose base body does nothing.
    virtual void RenderBatch(const ScreenVertex* vertices, int count);

    // Frees the back-end image of a sprite this engine made; the sprite itself
    // stays and can be given a new image by GenerateSprite.
    void ReleaseSprite(Sprite* sprite);

    // Images this engine holds now, and how many it made and freed so far:
    // what a long run watches for leaks.
    size_t LiveSprites() const { return sprites_.size(); }
    uint64_t SpritesMade() const { return spritesMade_; }
    uint64_t SpritesFreed() const { return spritesFreed_; }

protected:
    // Null until the application object hands itself in.
    BackEndHost* Host() const { return host_; }

    virtual bool InitInternal();
    virtual void ClearSceneInternal(uint32_t color);
    virtual bool BeginSceneInternal();
    virtual void EndSceneInternal();
    virtual void RenderRectangleInternal(uint32_t color, float x, float y, float w, float h, float angle,
                                         bool rotate);
    virtual void RenderTriangleInternal(uint32_t color1, uint32_t color2, uint32_t color3, float x1, float y1,
                                        float x2, float y2, float x3, float y3);
    virtual void RenderSpriteInternal(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                                      float textureHeight, float sourceX, float sourceY, float sourceWidth,
                                      float sourceHeight, float angle, bool rotate);
    virtual void RenderSpriteGradientInternal(Sprite* sprite, float x, float y, float w, float h,
                                              float textureWidth, float textureHeight, float sourceX,
                                              float sourceY, float sourceWidth, float sourceHeight,
                                              uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft,
                                              uint32_t bottomRight);
    virtual void RenderSpriteBatchInternal(Sprite* sprite, const BatchQuad* quads, int count);
    virtual void EnableClipperInternal(ClipRect clip);
    virtual void DisableClipperInternal();
    virtual void BeginBufferInternal();
    virtual void EndBufferInternal();
    virtual void RenderBufferInternal(float x, float y, float w, float h, float sourceWidth, float sourceHeight);
    virtual void SetNearestFilteringInternal(bool nearest);
    virtual uint8_t* ReadScreenInternal(int x, int y, int w, int h);

    // Frees the back end's object of one sprite (texture name, texture, surface).
    virtual void ReleaseSpriteInternal(Sprite* sprite);

    // A back end's GenerateSprite calls this before it gives the sprite an
    // image: an image the sprite already has (from this engine or another one)
    // is freed, not overwritten and lost.
    static void ReleaseOldImage(Sprite* sprite);
    // A back end's GenerateSprite calls this once it has given the sprite an
    // image, so that the image is freed through this engine.
    void AdoptSprite(Sprite* sprite);
    // Every back end calls this first in its destructor, while its device still
    // exists: frees the images of all sprites it made and detaches them.
    void ReleaseAllSprites();

private:
    BackEndHost* host_ = nullptr;
    std::unordered_set<Sprite*> sprites_;
    uint64_t spritesMade_ = 0;
    uint64_t spritesFreed_ = 0;
};
