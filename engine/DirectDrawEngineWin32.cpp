#include "engine/DirectDrawEngineWin32.h"

#include <cstdlib>

#include "platform/Platform.h"

static_assert(sizeof(RGNDATAHEADER) == 32 && sizeof(RECT) == sizeof(IntRect),
              "clip regions are built portably in the RGNDATA layout");

namespace {

// The blits that compose a frame off screen are queued: a blit without
// DDBLT_ASYNC must be finished when Blt returns, which under Wine is a round
// trip to its drawing thread for every sprite. They still run in the order
// given, and the frame's one blit to the screen, which stays synchronous,
// waits for all of them.
const DWORD kQueued = DDBLT_ASYNC | DDBLT_WAIT;

// The "Earth" skin shades with a tile instead of translucent black.
const int kEarthSkin = 1373;
const int kShadeTile = 1862;

template <typename T>
void ReleaseAndClear(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

IDirectDrawSurface* SurfaceOf(const Sprite* sprite) {
    return sprite ? reinterpret_cast<IDirectDrawSurface*>(sprite->surface) : nullptr;
}

RECT ToRect(const IntRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

bool ReadMasks(IDirectDrawSurface* surface, PixelMasks& masks, DWORD& bitCount) {
    DDPIXELFORMAT format = {};
    format.dwSize = sizeof(format);
    if (FAILED(surface->GetPixelFormat(&format)) || !(format.dwFlags & DDPF_RGB))
        return false;
    masks.red = format.dwRBitMask;
    masks.green = format.dwGBitMask;
    masks.blue = format.dwBBitMask;
    bitCount = format.dwRGBBitCount;
    return HasRgbMasks(masks);
}

}  // namespace

DirectDrawEngine::~DirectDrawEngine() { ReleaseObjects(); }

HWND DirectDrawEngine::Window() const { return Host() ? static_cast<HWND>(Host()->WindowHandle()) : nullptr; }

IntRect DirectDrawEngine::View() const {
    return IntRect{Truncate(viewLeft_), Truncate(viewTop_), Truncate(viewRight_), Truncate(viewBottom_)};
}

IDirectDrawSurface* DirectDrawEngine::BufferSurface() const { return SurfaceOf(bufferSprite_); }

IDirectDrawSurface* DirectDrawEngine::Target() const {
    return drawingToBuffer_ && BufferSurface() ? BufferSurface() : backBuffer_;
}

uint32_t DirectDrawEngine::ToSurfaceColor(uint8_t red, uint8_t green, uint8_t blue) const {
    return ::ToSurfaceColor(red, green, blue, masks_);
}

void DirectDrawEngine::ReportError(const std::string& where, HRESULT hr) {
    const int answer = platform::ShowMessageBox(DirectDrawErrorText(where, uint32_t(hr)), "DirectDraw Error",
                                                platform::kMbYesNo | platform::kMbIconExclamation, Window());
    if (answer == platform::kIdNo)
        platform::EndProcess(1);
}

// Surfaces go before the DirectDraw object that made them: a surface released
// after it would be released into a destroyed object. Sprites lose their
// surfaces here too and draw nothing from now on.
void DirectDrawEngine::ReleaseObjects() {
    ReleaseAllSprites();
    if (bufferSprite_) {
        if (IDirectDrawSurface* surface = BufferSurface())
            surface->Release();
        delete bufferSprite_;
        bufferSprite_ = nullptr;
    }
    drawingToBuffer_ = false;
    ReleaseAndClear(backBuffer_);
    ReleaseAndClear(primary_);
    ReleaseAndClear(windowClipper_);
    ReleaseAndClear(sharedClipper_);
    ReleaseAndClear(bufferClipper_);
    ReleaseAndClear(directDraw_);
}

IDirectDrawSurface* DirectDrawEngine::CreateOffscreenSurface(int width, int height, DWORD memory, bool colorKeyed,
                                                             HRESULT& hr) {
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | (colorKeyed ? DDSD_CKSRCBLT : 0);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | memory;
    desc.dwWidth = DWORD(width);
    desc.dwHeight = DWORD(height);
    IDirectDrawSurface* surface = nullptr;
    hr = directDraw_->CreateSurface(&desc, &surface, nullptr);
    return SUCCEEDED(hr) ? surface : nullptr;
}

bool DirectDrawEngine::InitInternal() {
    HWND window = Window();
    HRESULT hr = DirectDrawCreate(nullptr, &directDraw_, nullptr);
    if (FAILED(hr)) {
        directDraw_ = nullptr;
        ReportError("Init(DirectDrawCreate)", hr);
        return false;
    }
    // Each later step that fails shows its box, releases what exists and fails.
    auto fail = [this](const char* step, HRESULT result) {
        ReportError(step, result);
        ReleaseObjects();
        return false;
    };
    if (FAILED(hr = directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL)))
        return fail("Init(SetCooperativeLevel)", hr);

    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (FAILED(hr = directDraw_->CreateSurface(&desc, &primary_, nullptr))) {
        primary_ = nullptr;
        return fail("Init(PrimarySurface)", hr);
    }
    DDSCAPS caps = {};
    primaryFlips_ = SUCCEEDED(primary_->GetCaps(&caps)) && (caps.dwCaps & DDSCAPS_FLIP);
    // Colours are packed through the RGB masks; a palettized display has none,
    // so the start fails and the caller moves on to the next back end.
    DWORD bitCount = 0;
    if (!ReadMasks(primary_, masks_, bitCount)) {
        ReleaseObjects();
        return false;
    }
    if (FAILED(hr = directDraw_->CreateClipper(0, &windowClipper_, nullptr))) {
        windowClipper_ = nullptr;
        return fail("Init(CreateClipper)", hr);
    }
    if (FAILED(hr = windowClipper_->SetHWnd(0, window)))
        return fail("Init(SetHWnd)", hr);
    if (FAILED(hr = primary_->SetClipper(windowClipper_)))
        return fail("Init(SetClipper)", hr);
    if (FAILED(hr = directDraw_->CreateClipper(0, &sharedClipper_, nullptr))) {
        sharedClipper_ = nullptr;
        return fail("Init(CreateClipper2)", hr);
    }

    IDirectDrawSurface* buffer = CreateOffscreenSurface(kBufferSize, kBufferSize, DDSCAPS_VIDEOMEMORY, false, hr);
    if (!buffer)
        return fail("Init(BufferSurface)", hr);
    bufferSprite_ = new Sprite(kBufferSize, kBufferSize);
    bufferSprite_->surface = reinterpret_cast<uintptr_t>(buffer);
    // The buffer starts black.
    DDBLTFX black = {};
    black.dwSize = sizeof(black);
    black.dwFillColor = ToSurfaceColor(0, 0, 0);
    buffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | kQueued, &black);

    if (FAILED(hr = directDraw_->CreateClipper(0, &bufferClipper_, nullptr))) {
        bufferClipper_ = nullptr;
        return fail("Init(Buffer::CreateClipper)", hr);
    }
    OneRectRegion region = MakeRegion(IntRect{0, 0, kBufferSize, kBufferSize});
    if (FAILED(hr = bufferClipper_->SetClipList(reinterpret_cast<RGNDATA*>(&region), 0)))
        return fail("Init(Buffer::SetClipList)", hr);
    // The buffer shares the back buffer's clipper, so that EnableClipper also
    // clips the game screen drawn into it.
    if (FAILED(hr = buffer->SetClipper(sharedClipper_)))
        return fail("Init(Buffer::SetClipper)", hr);
    return SetSettings();
}

// Makes the back buffer again for the client size, 40 pixels larger each way,
// and clips drawing to the client area.
bool DirectDrawEngine::SetSettings() {
    const BackEndHost* host = Host();
    if (!directDraw_ || !host)
        return false;
    const int width = host->ClientWidth();
    const int height = host->ClientHeight();
    ReleaseAndClear(backBuffer_);
    HRESULT hr;
    backBuffer_ = CreateOffscreenSurface(width + 40, height + 40, DDSCAPS_VIDEOMEMORY, false, hr);
    if (!backBuffer_) {
        ReportError("SetSettings()", hr);
        ReleaseObjects();
        return false;
    }
    DWORD bitCount = 0;
    ReadMasks(backBuffer_, masks_, bitCount);
    ClipTo(IntRect{0, 0, width, height}, "SetSettings");
    viewLeft_ = 0;
    viewTop_ = 0;
    viewRight_ = float(width);
    viewBottom_ = float(height);
    return true;
}

void DirectDrawEngine::ClipTo(const IntRect& rect, const std::string& step) {
    OneRectRegion region = MakeRegion(rect);
    HRESULT hr = sharedClipper_->SetClipList(reinterpret_cast<RGNDATA*>(&region), 0);
    if (FAILED(hr))
        ReportError(step + "(SetClipList)", hr);
    hr = backBuffer_->SetClipper(sharedClipper_);
    if (FAILED(hr))
        ReportError(step + "(SetClipper)", hr);
}

void DirectDrawEngine::RestoreLostSurfaces() {
    for (IDirectDrawSurface* surface : {primary_, backBuffer_})
        if (surface && surface->IsLost() == DDERR_SURFACELOST)
            surface->Restore();
}

// Without a back buffer (its creation failed) there is nothing to draw into.
bool DirectDrawEngine::BeginSceneInternal() {
    if (!primary_ || !backBuffer_)
        return false;
    RestoreLostSurfaces();
    return true;
}

void DirectDrawEngine::EndSceneInternal() {
    const int width = Host()->ClientWidth();
    const int height = Host()->ClientHeight();
    RestoreLostSurfaces();
    POINT corner = {0, 0};
    ::ClientToScreen(Window(), &corner);
    RECT destination = {corner.x, corner.y, corner.x + width, corner.y + height};
    RECT source = {0, 0, width, height};
    const HRESULT hr = primary_->Blt(&destination, backBuffer_, &source, DDBLT_WAIT, nullptr);
    if (FAILED(hr))
        ReportError("EndSceneInternal()", hr);
    // A windowed primary surface has no flipping chain, so its Flip could only
    // fail, and only after a wait for the screen.
    if (primaryFlips_)
        primary_->Flip(backBuffer_, DDFLIP_WAIT);
}

// Always the back buffer, also while drawing into the buffer.
void DirectDrawEngine::ClearSceneInternal(uint32_t color) {
    DDBLTFX fill = {};
    fill.dwSize = sizeof(fill);
    fill.dwFillColor = ToSurfaceColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    backBuffer_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | kQueued, &fill);
}

// Rectangles are opaque colour fills; angle and rotate are not used.
void DirectDrawEngine::RenderRectangleInternal(uint32_t color, float x, float y, float w, float h, float, bool) {
    if (IsTranslucentBlack(color)) {
        BackEndHost* host = Host();
        if (host && host->GuiSkin() == kEarthSkin)
            host->RenderSkin(kShadeTile, Truncate(x), Truncate(y), Truncate(w), Truncate(h));
        return;
    }
    IntRect fill;
    if (!ClipRectangle(x, y, w, h, View(), fill))
        return;
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = ToSurfaceColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    RECT rect = ToRect(fill);
    const HRESULT hr = Target()->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | kQueued, &effects);
    if (FAILED(hr) && hr != DDERR_INVALIDRECT)
        ReportError("RenderRectangleInternal()", hr);
}

void DirectDrawEngine::RenderTriangleInternal(uint32_t, uint32_t, uint32_t, float, float, float, float, float,
                                              float) {}

// A colour-keyed blit, stretched when the sizes differ. Texture size, angle,
// rotate and the tint are not used.
void DirectDrawEngine::RenderSpriteInternal(Sprite* sprite, float x, float y, float w, float h, float, float,
                                            float sourceX, float sourceY, float sourceWidth, float sourceHeight,
                                            float, bool) {
    IDirectDrawSurface* surface = SurfaceOf(sprite);
    if (!surface)
        return;
    IntRect destination, source;
    if (!SpriteBlitRects(x, y, w, h, sourceX, sourceY, sourceWidth, sourceHeight, View(), destination, source))
        return;
    RECT to = ToRect(destination);
    RECT from = ToRect(source);
    const HRESULT hr = Target()->Blt(&to, surface, &from, DDBLT_KEYSRC | kQueued, nullptr);
    if (FAILED(hr) && hr != DDERR_INVALIDRECT)
        ReportError("RenderSpriteInternal()", hr);
}

// The view bounds stay: the clip list does the cutting.
void DirectDrawEngine::EnableClipperInternal(ClipRect clip) {
    ClipTo(IntRect{Truncate(clip.left), Truncate(clip.top), Truncate(clip.right), Truncate(clip.bottom)},
           "EnableClipperInternal");
}

void DirectDrawEngine::DisableClipperInternal() {
    ClipTo(IntRect{0, 0, Host()->ClientWidth(), Host()->ClientHeight()}, "DisableClipperInternal");
}

void DirectDrawEngine::BeginBufferInternal() {
    if (BufferSurface())
        drawingToBuffer_ = true;
}

void DirectDrawEngine::EndBufferInternal() { drawingToBuffer_ = false; }

void DirectDrawEngine::RenderBufferInternal(float x, float y, float w, float h, float sourceWidth,
                                            float sourceHeight) {
    IDirectDrawSurface* buffer = BufferSurface();
    if (!buffer)
        return;
    RECT to = ToRect(TruncatedRect(x, y, w, h));
    RECT from = {0, 0, Truncate(sourceWidth), Truncate(sourceHeight)};
    const HRESULT hr = backBuffer_->Blt(&to, buffer, &from, kQueued, nullptr);
    if (FAILED(hr))
        ReportError("RenderBufferInternal()", hr);
}

// The picture is written top row first into a colour-keyed surface; a
// transparent pixel gets the key, any other pixel its own colour at full
// strength.
void DirectDrawEngine::GenerateSprite(Sprite* sprite, SpriteRecord* record, bool) {
    if (!sprite || !record || !record->pixels || !directDraw_)
        return;
    ReleaseOldImage(sprite);
    HRESULT hr;
    IDirectDrawSurface* surface =
        CreateOffscreenSurface(record->width, record->height, DDSCAPS_VIDEOMEMORY, true, hr);
    if (!surface)
        surface = CreateOffscreenSurface(record->width, record->height, DDSCAPS_SYSTEMMEMORY, true, hr);
    if (!surface) {
        ReportError("GenerateSprite() attempt #2", hr);
        return;
    }
    PixelMasks masks;
    DWORD bitCount = 0;
    DDSURFACEDESC locked = {};
    locked.dwSize = sizeof(locked);
    if (!ReadMasks(surface, masks, bitCount) || bitCount < 16 || bitCount > 32 ||
        FAILED(surface->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr))) {
        // A sprite without a picture draws nothing.
        surface->Release();
        return;
    }
    const DWORD key = ColorKey(masks);
    DDCOLORKEY colorKey = {key, key};
    surface->SetColorKey(DDCKEY_SRCBLT, &colorKey);
    WriteSpritePixels(*record, masks, int(bitCount / 8), int(locked.lPitch), static_cast<uint8_t*>(locked.lpSurface));
    surface->Unlock(nullptr);
    sprite->surface = reinterpret_cast<uintptr_t>(surface);
    AdoptSprite(sprite);
}

void DirectDrawEngine::ReleaseSpriteInternal(Sprite* sprite) {
    if (IDirectDrawSurface* surface = SurfaceOf(sprite))
        surface->Release();
}
