#pragma once

#include <string>

#include "engine/DirectDrawMath.h"
#include "engine/GraphicsEngine.h"
#include "platform/Win32.h"

#include <ddraw.h>

// The DirectDraw back end (engine type 3), offered when Direct3D 9 cannot
// start. It draws by blitting in windowed mode: sprites are colour-keyed
// off-screen surfaces, rectangles are colour fills, and a frame is composed in
// an off-screen back buffer that is blitted to the window's area of the
// primary surface. It has no blending, rotation, tint, triangles, gradients or
// screen read. Every DirectDraw failure goes to one error box that names the
// failing step and lets the user go on or end the program.
class DirectDrawEngine : public GraphicsEngine {
public:
    // The side of the off-screen buffer the game screen is drawn into.
    static constexpr int kBufferSize = 712;

    DirectDrawEngine() = default;
    ~DirectDrawEngine() override;

    bool SetSettings() override;
    void GenerateSprite(Sprite* sprite, SpriteRecord* record, bool nearest) override;

    // Shows the error box for a failed step; returns when the user answers
    // Yes, ends the program when the user answers No.
    void ReportError(const std::string& where, HRESULT hr);
    // Releases the back buffer, the primary surface, the clippers and the
    // DirectDraw object, each when set.
    void ReleaseObjects();
    // A colour packed into the back buffer's pixel format.
    uint32_t ToSurfaceColor(uint8_t red, uint8_t green, uint8_t blue) const;

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
    void EnableClipperInternal(ClipRect clip) override;
    void DisableClipperInternal() override;
    void BeginBufferInternal() override;
    void EndBufferInternal() override;
    void RenderBufferInternal(float x, float y, float w, float h, float sourceWidth, float sourceHeight) override;
    void ReleaseSpriteInternal(Sprite* sprite) override;

private:
    HWND Window() const;
    IntRect View() const;
    IDirectDrawSurface* BufferSurface() const;
    // The surface sprite and rectangle blits go to.
    IDirectDrawSurface* Target() const;
    IDirectDrawSurface* CreateOffscreenSurface(int width, int height, DWORD memory, bool colorKeyed, HRESULT& hr);
    // Sets the shared clipper's list to one rectangle and attaches it to the
    // back buffer; `step` names the calls in the error box.
    void ClipTo(const IntRect& rect, const std::string& step);
    void RestoreLostSurfaces();

    IDirectDraw* directDraw_ = nullptr;
    IDirectDrawClipper* windowClipper_ = nullptr;
    IDirectDrawClipper* sharedClipper_ = nullptr;
    IDirectDrawClipper* bufferClipper_ = nullptr;
    IDirectDrawSurface* primary_ = nullptr;
    IDirectDrawSurface* backBuffer_ = nullptr;
    Sprite* bufferSprite_ = nullptr;
    bool drawingToBuffer_ = false;
    // The primary surface is part of a flipping chain (never in windowed mode).
    bool primaryFlips_ = false;
    float viewLeft_ = 0;
    float viewTop_ = 0;
    float viewRight_ = 0;
    float viewBottom_ = 0;
    PixelMasks masks_;
};
