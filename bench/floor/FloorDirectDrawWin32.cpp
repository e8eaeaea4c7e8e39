// The DirectDraw floor: the client's windowed set-up (normal cooperative
// level, a primary surface clipped to the window, an off-screen back buffer
// 40 pixels larger each way with its own clip list, colour-keyed pictures in
// video memory) composing each frame from a colour fill and one keyed blit of
// the backdrop, both queued, then one synchronous blit of the frame to the
// window.
#include <ddraw.h>

#include "bench/floor/Floor.h"

namespace {

uint32_t Pack(uint8_t red, uint8_t green, uint8_t blue, const DDPIXELFORMAT& format) {
    auto place = [](uint8_t value, DWORD mask) -> uint32_t {
        if (!mask)
            return 0;
        int shift = 0, bits = 0;
        while (!((mask >> shift) & 1))
            ++shift;
        while ((mask >> (shift + bits)) & 1)
            ++bits;
        return (uint32_t(value) >> (8 - bits)) << shift;
    };
    return place(red, format.dwRBitMask) | place(green, format.dwGBitMask) | place(blue, format.dwBBitMask);
}

class DirectDrawFloor : public FloorDrawer {
public:
    bool Init(HWND window, int width, int height, const FloorPicture& picture) override {
        window_ = window;
        width_ = width;
        height_ = height;
        if (FAILED(DirectDrawCreate(nullptr, &directDraw_, nullptr)) ||
            FAILED(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL)))
            return false;
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        if (FAILED(directDraw_->CreateSurface(&desc, &primary_, nullptr)))
            return false;
        IDirectDrawClipper* windowClipper = nullptr;
        if (FAILED(directDraw_->CreateClipper(0, &windowClipper, nullptr)) ||
            FAILED(windowClipper->SetHWnd(0, window)) || FAILED(primary_->SetClipper(windowClipper)))
            return false;
        backBuffer_ = Offscreen(width + 40, height + 40, false);
        if (!backBuffer_)
            return false;
        IDirectDrawClipper* clipper = nullptr;
        struct {
            RGNDATAHEADER header;
            RECT rect;
        } region = {{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 1, sizeof(RECT), {0, 0, width, height}},
                    {0, 0, width, height}};
        if (FAILED(directDraw_->CreateClipper(0, &clipper, nullptr)) ||
            FAILED(clipper->SetClipList(reinterpret_cast<RGNDATA*>(&region), 0)) ||
            FAILED(backBuffer_->SetClipper(clipper)))
            return false;
        format_.dwSize = sizeof(format_);
        backBuffer_->GetPixelFormat(&format_);

        picture_ = Offscreen(FloorPicture::kWidth, FloorPicture::kHeight, true);
        if (!picture_)
            return false;
        const DWORD key = format_.dwRBitMask | format_.dwBBitMask;
        DDCOLORKEY colorKey = {key, key};
        picture_->SetColorKey(DDCKEY_SRCBLT, &colorKey);
        DDSURFACEDESC locked = {};
        locked.dwSize = sizeof(locked);
        if (FAILED(picture_->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr)))
            return false;
        const int bytes = int(format_.dwRGBBitCount / 8);
        for (int y = 0; y < FloorPicture::kHeight; ++y) {
            const uint8_t* in = picture.pixels.data() + size_t(FloorPicture::kHeight - 1 - y) * FloorPicture::kWidth * 4;
            uint8_t* out = static_cast<uint8_t*>(locked.lpSurface) + size_t(y) * size_t(locked.lPitch);
            for (int x = 0; x < FloorPicture::kWidth; ++x, in += 4, out += bytes) {
                const uint32_t value = Pack(in[2], in[1], in[0], format_);
                for (int b = 0; b < bytes; ++b)
                    out[b] = uint8_t(value >> (8 * b));
            }
        }
        picture_->Unlock(nullptr);
        return true;
    }

    void Frame() override {
        DDBLTFX fill = {};
        fill.dwSize = sizeof(fill);
        fill.dwFillColor = Pack(0x19, 0x19, 0x19, format_);
        backBuffer_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_ASYNC | DDBLT_WAIT, &fill);
        RECT to = CoverRect(width_, height_);
        RECT from = {0, 0, FloorPicture::kUsedWidth, FloorPicture::kUsedHeight};
        backBuffer_->Blt(&to, picture_, &from, DDBLT_KEYSRC | DDBLT_ASYNC | DDBLT_WAIT, nullptr);
        POINT corner = {0, 0};
        ::ClientToScreen(window_, &corner);
        RECT screen = {corner.x, corner.y, corner.x + width_, corner.y + height_};
        RECT frame = {0, 0, width_, height_};
        primary_->Blt(&screen, backBuffer_, &frame, DDBLT_WAIT, nullptr);
    }

private:
    IDirectDrawSurface* Offscreen(int width, int height, bool colorKeyed) {
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | (colorKeyed ? DDSD_CKSRCBLT : 0);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
        desc.dwWidth = DWORD(width);
        desc.dwHeight = DWORD(height);
        IDirectDrawSurface* surface = nullptr;
        return SUCCEEDED(directDraw_->CreateSurface(&desc, &surface, nullptr)) ? surface : nullptr;
    }

    HWND window_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    IDirectDraw* directDraw_ = nullptr;
    IDirectDrawSurface* primary_ = nullptr;
    IDirectDrawSurface* backBuffer_ = nullptr;
    IDirectDrawSurface* picture_ = nullptr;
    DDPIXELFORMAT format_ = {};
};

}  // namespace

int main(int argc, char** argv) {
    DirectDrawFloor floor;
    return RunFloor(floor, "DirectDraw", argc, argv);
}
