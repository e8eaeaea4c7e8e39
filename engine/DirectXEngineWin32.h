#pragma once

#include <string>
#include <vector>

#include "engine/Direct3DMath.h"
#include "engine/GraphicsEngine.h"
#include "platform/Win32.h"

#include <d3d9.h>

// The Direct3D 9 back end (engine type 2), the default. Everything is drawn as
// pre-transformed screen-space quads and triangles with alpha blending into a
// windowed device whose back buffer has the size of the client area. Sprites
// are managed-pool textures, so a device reset does not make them again; the
// off-screen buffer, the back-buffer references and the light map's vertex
// buffer are made again on every reset.
class DirectXEngine : public GraphicsEngine {
public:
    DirectXEngine() = default;
    ~DirectXEngine() override;

    bool SetSettings() override;
    void GenerateSprite(Sprite* sprite, SpriteRecord* record, bool nearest) override;

    // Draws count / 3 untextured triangles in their own colours (ARGB, taken as
    // they stand), only x, y and colour of each vertex being read. Only between
    // BeginScene and EndScene of this back end; the light map calls it.
    void RenderBatch(const ScreenVertex* vertices, int count) override;
    // A message box with caption "Error" and an OK button.
    void ShowError(const std::string& message);

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
    // The colour sprites are multiplied by: the facade's current colour.
    uint32_t Tint() const;
    void DrawSprite(Sprite* sprite, float x, float y, float w, float h, float textureWidth, float textureHeight,
                    float sourceX, float sourceY, float sourceWidth, float sourceHeight, const uint32_t colors[4]);
    void ReleaseTargets();
    // Ends the program after a failure it cannot draw past.
    [[noreturn]] void Fail(const std::string& message);

    IDirect3D9* direct3D_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    D3DPRESENT_PARAMETERS presentParameters_ = {};
    D3DDISPLAYMODE displayMode_ = {};
    IDirect3DSurface9* bufferTarget_ = nullptr;
    IDirect3DSurface9* windowTarget_ = nullptr;
    IDirect3DSurface9* stretchTarget_ = nullptr;
    IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
    int bufferSize_ = kDirect3DBufferSize;
    // A Reset failed: the device has no targets until a later Reset works, so
    // every frame tries again and is skipped while it fails.
    bool resetPending_ = false;
    std::vector<ScreenVertex> batchVertices_;
};
