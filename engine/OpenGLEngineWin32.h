#pragma once

#include <vector>

#include "engine/BackEndMath.h"
#include "engine/GraphicsEngine.h"
#include "platform/Win32.h"

// The OpenGL 1.1 back end (engine type 1): immediate mode with a WGL context
// on the main window, window pixels through an orthographic projection with
// the origin at the top-left corner, alpha blending and texturing always on.
// Unlike the other back ends it draws rotated rectangles and sprites. Its
// off-screen buffer is a 1024 x 1024 texture filled by copying the window's
// pixels after the game screen has been drawn into the window.
class OpenGLEngine : public GraphicsEngine {
public:
    OpenGLEngine() = default;
    ~OpenGLEngine() override;

    bool SetSettings() override;
    void GenerateSprite(Sprite* sprite, SpriteRecord* record, bool nearest) override;
    void SetColor(uint32_t color) override;

protected:
    bool InitInternal() override;
    void ClearSceneInternal(uint32_t color) override;
    bool BeginSceneInternal() override;
    void EndSceneInternal() override;
    void RenderRectangleInternal(uint32_t color, float x, float y, float w, float h, float angle,
                                 bool rotate) override;
    void RenderTriangleInternal(uint32_t color1, uint32_t color2, uint32_t color3, float x1, float y1, float x2,
                                float y2, float x3, float y3) override;
    void RenderSpriteInternal(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                              float textureHeight, float sourceX, float sourceY, float sourceWidth,
                              float sourceHeight, float angle, bool rotate) override;
    void RenderSpriteGradientInternal(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                                      float textureHeight, float sourceX, float sourceY, float sourceWidth,
                                      float sourceHeight, uint32_t topLeft, uint32_t topRight,
                                      uint32_t bottomLeft, uint32_t bottomRight) override;
    void RenderSpriteBatchInternal(Sprite* sprite, const BatchQuad* quads, int count) override;
    void EnableClipperInternal(ClipRect clip) override;
    void DisableClipperInternal() override;
    void BeginBufferInternal() override;
    void EndBufferInternal() override;
    void RenderBufferInternal(float x, float y, float w, float h, float sourceWidth, float sourceHeight) override;
    void SetNearestFilteringInternal(bool nearest) override;
    uint8_t* ReadScreenInternal(int x, int y, int w, int h) override;
    void ReleaseSpriteInternal(Sprite* sprite) override;

private:
    HWND Window() const;
    int ClientHeight() const;
    // Undoes what InitInternal made, in reverse order.
    void ReleaseContext();
    // Binds a texture name unless it is bound already.
    void BindTexture(unsigned name);
    void DeleteTexture(unsigned name);

    HDC deviceContext_ = nullptr;
    HGLRC renderingContext_ = nullptr;
    Sprite* bufferSprite_ = nullptr;
    unsigned boundTexture_ = 0;
    std::vector<QuadCorner> batchCorners_;
};
