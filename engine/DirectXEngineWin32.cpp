#include "engine/DirectXEngineWin32.h"

#include <cstdlib>
#include <cstring>

#include "platform/Platform.h"

namespace {

const DWORD kScreenVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

template <typename T>
void ReleaseAndClear(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

}  // namespace

DirectXEngine::~DirectXEngine() {
    // Sprite textures belong to the device: free them while it exists.
    ReleaseAllSprites();
    ReleaseTargets();
    if (device_)
        device_->SetStreamSource(0, nullptr, 0, 0);
    ReleaseAndClear(vertexBuffer_);
    ReleaseAndClear(device_);
    ReleaseAndClear(direct3D_);
}

HWND DirectXEngine::Window() const { return Host() ? static_cast<HWND>(Host()->WindowHandle()) : nullptr; }

uint32_t DirectXEngine::Tint() const { return ToD3DColor(Host() ? Host()->CurrentColor() : 0xFFFFFFFFu); }

void DirectXEngine::ShowError(const std::string& message) {
    // Owned by the main window, which stays disabled while the box is up.
    platform::ShowMessageBox(message, "Error", platform::kMbOk | platform::kMbIconExclamation, Window());
}

void DirectXEngine::Fail(const std::string& message) {
    ShowError(message);
    platform::EndProcess(1);
    std::_Exit(1);  // only for a process service that returns
}

void DirectXEngine::ReleaseTargets() {
    ReleaseAndClear(windowTarget_);
    ReleaseAndClear(stretchTarget_);
    ReleaseAndClear(bufferTarget_);
}

bool DirectXEngine::InitInternal() {
    const BackEndHost* host = Host();
    if (!host)
        return false;
    direct3D_ = Direct3DCreate9(D3D_SDK_VERSION);
    if (!direct3D_) {
        ShowError("Failed creating Direct3D9 object");
        return false;
    }
    HRESULT hr = direct3D_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &displayMode_);
    if (FAILED(hr)) {
        ShowError(D3DErrorText("Failed to get adapter display mode", uint32_t(hr)));
        return false;
    }
    D3DCAPS9 caps;
    hr = direct3D_->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps);
    if (FAILED(hr)) {
        ShowError(D3DErrorText("Failed to get device caps", uint32_t(hr)));
        return false;
    }
    const DWORD behaviour = caps.VertexProcessingCaps != 0
                                ? D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE
                                : D3DCREATE_SOFTWARE_VERTEXPROCESSING;

    presentParameters_ = {};
    presentParameters_.BackBufferWidth = UINT(host->ClientWidth());
    presentParameters_.BackBufferHeight = UINT(host->ClientHeight());
    presentParameters_.BackBufferFormat = displayMode_.Format;
    presentParameters_.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParameters_.Windowed = TRUE;
    presentParameters_.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    hr = direct3D_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, Window(), behaviour, &presentParameters_,
                                 &device_);
    if (FAILED(hr)) {
        device_ = nullptr;
        ShowError(D3DErrorText("Failed to create device", uint32_t(hr)));
        return false;
    }
    return SetSettings();
}

// Resets the device for the current client size and sets the drawing state.
// Runs after the device is made and on every accepted resize.
bool DirectXEngine::SetSettings() {
    const BackEndHost* host = Host();
    if (!device_ || !host)
        return false;
    ReleaseTargets();
    device_->SetStreamSource(0, nullptr, 0, 0);
    ReleaseAndClear(vertexBuffer_);

    D3DDISPLAYMODE mode;
    HRESULT hr = direct3D_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    if (FAILED(hr)) {
        ShowError(D3DErrorText("Failed to get adapter display mode in reset", uint32_t(hr)));
        return false;
    }
    presentParameters_.BackBufferWidth = UINT(host->ClientWidth());
    presentParameters_.BackBufferHeight = UINT(host->ClientHeight());
    presentParameters_.Windowed = TRUE;
    presentParameters_.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParameters_.BackBufferFormat = mode.Format;
    presentParameters_.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (FAILED(device_->Reset(&presentParameters_))) {
        resetPending_ = true;
        return false;
    }
    resetPending_ = false;

    device_->SetVertexShader(nullptr);
    device_->SetFVF(kScreenVertexFormat);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device_->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);

    if (FAILED(device_->GetRenderTarget(0, &windowTarget_)))
        windowTarget_ = nullptr;
    hr = device_->CreateRenderTarget(UINT(bufferSize_), UINT(bufferSize_), D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0,
                                     FALSE, &bufferTarget_, nullptr);
    if (FAILED(hr)) {
        bufferTarget_ = nullptr;
        ShowError(D3DErrorText("Failed to create render target in reset", uint32_t(hr)));
        return false;
    }
    // Without it the light map draws nothing; everything else still works.
    if (FAILED(device_->CreateVertexBuffer(UINT(kBatchVertices * sizeof(ScreenVertex)), 0, kScreenVertexFormat,
                                           D3DPOOL_MANAGED, &vertexBuffer_, nullptr)))
        vertexBuffer_ = nullptr;
    return true;
}

bool DirectXEngine::BeginSceneInternal() {
    if (!device_)
        return false;
    const HRESULT level = device_->TestCooperativeLevel();
    if (level == D3DERR_DEVICELOST)
        return false;
    if ((level == D3DERR_DEVICENOTRESET || resetPending_) && !SetSettings())
        return false;
    device_->BeginScene();
    return true;
}

void DirectXEngine::EndSceneInternal() {
    device_->EndScene();
    device_->Present(nullptr, nullptr, nullptr, nullptr);
}

void DirectXEngine::ClearSceneInternal(uint32_t color) {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, ToD3DColor(color), 1.0f, 0);
}

// Angle and rotate are ignored: this back end draws no rotated rectangles.
void DirectXEngine::RenderRectangleInternal(uint32_t color, float x, float y, float w, float h, float, bool) {
    ScreenVertex vertices[4];
    RectangleStrip(ToD3DColor(color), x, y, w, h, vertices);
    device_->SetTexture(0, nullptr);
    device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices, sizeof(ScreenVertex));
}

void DirectXEngine::RenderTriangleInternal(uint32_t color1, uint32_t color2, uint32_t color3, float x1, float y1,
                                           float x2, float y2, float x3, float y3) {
    const uint32_t colors[3] = {ToD3DColor(color1), ToD3DColor(color2), ToD3DColor(color3)};
    const float points[6] = {x1, y1, x2, y2, x3, y3};
    ScreenVertex vertices[3];
    TriangleVertices(colors, points, vertices);
    device_->SetTexture(0, nullptr);
    device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 1, vertices, sizeof(ScreenVertex));
}

void DirectXEngine::DrawSprite(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                               float textureHeight, float sourceX, float sourceY, float sourceWidth,
                               float sourceHeight, const uint32_t colors[4]) {
    // A sprite whose texture could not be made draws nothing rather than a
    // blank quad.
    if (!sprite || !sprite->object)
        return;
    ScreenVertex vertices[4];
    SpriteStrip(x, y, w, h, SourceTexCoords(textureWidth, textureHeight, sourceX, sourceY, sourceWidth, sourceHeight),
                colors, vertices);
    device_->SetTexture(0, static_cast<IDirect3DTexture9*>(sprite->object));
    device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices, sizeof(ScreenVertex));
}

// Angle and rotate are ignored: no rotated sprites on this back end.
void DirectXEngine::RenderSpriteInternal(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                                         float textureHeight, float sourceX, float sourceY, float sourceWidth,
                                         float sourceHeight, float, bool) {
    const uint32_t tint = Tint();
    const uint32_t colors[4] = {tint, tint, tint, tint};
    DrawSprite(sprite, x, y, w, h, textureWidth, textureHeight, sourceX, sourceY, sourceWidth, sourceHeight, colors);
}

void DirectXEngine::RenderSpriteGradientInternal(Sprite* sprite, float x, float y, float w, float h,
                                                 float textureWidth, float textureHeight, float sourceX,
                                                 float sourceY, float sourceWidth, float sourceHeight,
                                                 uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft,
                                                 uint32_t bottomRight) {
    const uint32_t colors[4] = {ToD3DColor(topLeft), ToD3DColor(topRight), ToD3DColor(bottomLeft),
                                ToD3DColor(bottomRight)};
    DrawSprite(sprite, x, y, w, h, textureWidth, textureHeight, sourceX, sourceY, sourceWidth, sourceHeight, colors);
}

// The whole batch, a line of text, goes to the device as one triangle list:
// one draw call however long the text is.
void DirectXEngine::RenderSpriteBatchInternal(Sprite* sprite, const BatchQuad* quads, int count) {
    if (!sprite || !sprite->object || count <= 0)
        return;
    BatchTriangles(quads, count, Tint(), batchVertices_);
    device_->SetTexture(0, static_cast<IDirect3DTexture9*>(sprite->object));
    if (!vertexBuffer_) {
        device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, UINT(count * 2), batchVertices_.data(), sizeof(ScreenVertex));
        return;
    }
    // Through our own vertex buffer rather than DrawPrimitiveUP: under Wine,
    // text drawn with DrawPrimitiveUP grew the process heap for good, by about
    // 1 MB for every round of dialogs (tests/wine/hostile). Only the part
    // written is locked, so that only that part is uploaded.
    device_->SetStreamSource(0, vertexBuffer_, 0, sizeof(ScreenVertex));
    const ScreenVertex* next = batchVertices_.data();
    for (int chunk : BatchChunks(int(batchVertices_.size()))) {
        const UINT bytes = UINT(chunk) * UINT(sizeof(ScreenVertex));
        void* data = nullptr;
        if (FAILED(vertexBuffer_->Lock(0, bytes, &data, 0)))
            break;
        std::memcpy(data, next, bytes);
        vertexBuffer_->Unlock();
        device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, UINT(chunk / 3));
        next += chunk;
    }
    device_->SetStreamSource(0, nullptr, 0, 0);
}

void DirectXEngine::EnableClipperInternal(ClipRect clip) {
    RECT rect = {Truncate(clip.left), Truncate(clip.top), Truncate(clip.right), Truncate(clip.bottom)};
    device_->SetScissorRect(&rect);
    device_->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
}

void DirectXEngine::DisableClipperInternal() { device_->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE); }

// Without a buffer target (a reset failed) the game screen is drawn straight
// into the frame, and RenderBufferInternal has nothing to stretch.
void DirectXEngine::BeginBufferInternal() {
    if (!bufferTarget_)
        return;
    device_->SetRenderTarget(0, bufferTarget_);
    RenderRectangleInternal(0xFF000000u, 0, 0, float(bufferSize_), float(bufferSize_), 0, false);
}

void DirectXEngine::EndBufferInternal() {
    if (windowTarget_)
        device_->SetRenderTarget(0, windowTarget_);
}

void DirectXEngine::RenderBufferInternal(float x, float y, float w, float h, float sourceWidth, float sourceHeight) {
    const BackEndHost* host = Host();
    if (!bufferTarget_ || !host)
        return;
    const IntRect destination = BufferDestination(x, y, w, h, host->ClientWidth(), host->ClientHeight());
    const RECT target = {destination.left, destination.top, destination.right, destination.bottom};
    const RECT source = {0, 0, Truncate(sourceWidth), Truncate(sourceHeight)};
    if (!IsStretchable(destination, source.right, source.bottom))
        return;
    if (!stretchTarget_ && FAILED(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &stretchTarget_))) {
        stretchTarget_ = nullptr;
        Fail("Failed to get backbuffer. Try enabling \"Don't stretch game screen\" in the options.");
    }
    if (FAILED(device_->StretchRect(bufferTarget_, &source, stretchTarget_, &target, D3DTEXF_LINEAR)))
        Fail("Failed to stretch surface to render target. Try enabling \"Don't stretch game screen\" in the options.");
}

void DirectXEngine::SetNearestFilteringInternal(bool nearest) {
    const DWORD filter = nearest ? D3DTEXF_POINT : D3DTEXF_LINEAR;
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
}

// A copy of the whole screen is read and the client rectangle cut out of it:
// GetFrontBufferData is the only read that works on a windowed device.
uint8_t* DirectXEngine::ReadScreenInternal(int x, int y, int w, int h) {
    if (!device_ || w <= 0 || h <= 0)
        return nullptr;
    WINDOWINFO info = {};
    info.cbSize = sizeof(info);
    if (::GetWindowInfo(Window(), &info)) {
        x += info.rcClient.left;
        y += info.rcClient.top;
    }
    D3DDISPLAYMODE mode = {};
    device_->GetDisplayMode(0, &mode);
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(device_->CreateOffscreenPlainSurface(mode.Width, mode.Height, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH,
                                                    &surface, nullptr))) {
        ShowError("Too bad, creating an offscreen plain surface did not work.");
        return nullptr;
    }
    if (FAILED(device_->GetFrontBufferData(0, surface))) {
        surface->Release();
        ShowError("Too bad, getting front buffer data did not work.");
        return nullptr;
    }
    D3DLOCKED_RECT locked;
    if (FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY | D3DLOCK_NOSYSLOCK | D3DLOCK_NO_DIRTY_UPDATE))) {
        surface->Release();
        return nullptr;
    }
    uint8_t* block = new uint8_t[size_t(w) * size_t(h) * 3];
    CopyScreenPixels(static_cast<const uint8_t*>(locked.pBits), locked.Pitch, int(mode.Width), int(mode.Height), x,
                     y, w, h, block);
    surface->UnlockRect();
    surface->Release();
    return block;
}

void DirectXEngine::GenerateSprite(Sprite* sprite, SpriteRecord* record, bool) {
    if (!sprite || !record || !record->pixels || !device_)
        return;
    ReleaseOldImage(sprite);
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(device_->CreateTexture(record->width, record->height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                      &texture, nullptr))) {
        ShowError("Failed to create sprite texture");
        return;
    }
    D3DLOCKED_RECT locked;
    if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) {
        // An empty texture would draw as garbage: the sprite stays without one.
        texture->Release();
        return;
    }
    // Texture rows keep the record's order (bottom row first); the texture
    // coordinates account for it.
    const size_t rowBytes = size_t(record->width) * 4;
    for (int row = 0; row < record->height; ++row)
        std::memcpy(static_cast<uint8_t*>(locked.pBits) + size_t(row) * size_t(locked.Pitch), record->Pixel(0, row),
                    rowBytes);
    texture->UnlockRect(0);
    sprite->object = texture;
    AdoptSprite(sprite);
}

void DirectXEngine::ReleaseSpriteInternal(Sprite* sprite) {
    if (sprite->object)
        static_cast<IDirect3DTexture9*>(sprite->object)->Release();
}

void DirectXEngine::RenderBatch(const ScreenVertex* vertices, int count) {
    if (!device_ || !vertexBuffer_ || !vertices)
        return;
    const std::vector<int> chunks = BatchChunks(count);
    if (chunks.empty())
        return;
    device_->SetStreamSource(0, vertexBuffer_, 0, sizeof(ScreenVertex));
    device_->SetTexture(0, nullptr);
    // Meshes larger than the buffer are drawn a buffer-full at a time.
    for (int chunk : chunks) {
        void* data = nullptr;
        if (FAILED(vertexBuffer_->Lock(0, 0, &data, 0)))
            break;
        CopyBatchVertices(vertices, chunk, static_cast<ScreenVertex*>(data));
        vertexBuffer_->Unlock();
        device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, UINT(chunk / 3));
        vertices += chunk;
    }
    device_->SetStreamSource(0, nullptr, 0, 0);
}
