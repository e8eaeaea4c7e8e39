// The Direct3D 9 floor: the client's device (windowed, discard, immediate
// presentation, the display's format, pre-transformed vertices, alpha blending,
// linear filtering) drawing the backdrop as one textured quad per frame.
#include <cstring>

#include <d3d9.h>

#include "bench/floor/Floor.h"

namespace {

struct Vertex {
    float x, y, z, rhw;
    DWORD color;
    float u, v;
};
const DWORD kFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class Direct3D9Floor : public FloorDrawer {
public:
    bool Init(HWND window, int width, int height, const FloorPicture& picture) override {
        width_ = width;
        height_ = height;
        IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
        if (!direct3D)
            return false;
        D3DDISPLAYMODE mode;
        D3DCAPS9 caps;
        if (FAILED(direct3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode)) ||
            FAILED(direct3D->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps)))
            return false;
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.BackBufferWidth = UINT(width);
        parameters.BackBufferHeight = UINT(height);
        parameters.BackBufferFormat = mode.Format;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.Windowed = TRUE;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        const DWORD behaviour = caps.VertexProcessingCaps != 0
                                    ? D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE
                                    : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
        if (FAILED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, behaviour, &parameters,
                                          &device_)))
            return false;
        device_->SetVertexShader(nullptr);
        device_->SetFVF(kFormat);
        device_->SetRenderState(D3DRS_LIGHTING, FALSE);
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        device_->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);

        if (FAILED(device_->CreateTexture(FloorPicture::kWidth, FloorPicture::kHeight, 1, 0, D3DFMT_A8R8G8B8,
                                          D3DPOOL_MANAGED, &texture_, nullptr)))
            return false;
        D3DLOCKED_RECT locked;
        if (FAILED(texture_->LockRect(0, &locked, nullptr, 0)))
            return false;
        const size_t row = size_t(FloorPicture::kWidth) * 4;
        for (int y = 0; y < FloorPicture::kHeight; ++y)
            std::memcpy(static_cast<uint8_t*>(locked.pBits) + size_t(y) * size_t(locked.Pitch),
                        picture.pixels.data() + size_t(y) * row, row);
        texture_->UnlockRect(0);
        return true;
    }

    void Frame() override {
        if (device_->TestCooperativeLevel() != D3D_OK)
            return;
        device_->BeginScene();
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF191919, 1.0f, 0);
        const RECT to = CoverRect(width_, height_);
        // Rows are stored bottom-up: the picture's top is the texture's end.
        const float uRight = float(FloorPicture::kUsedWidth) / FloorPicture::kWidth;
        const float vTop = 1.0f;
        const float vBottom = 1.0f - float(FloorPicture::kUsedHeight) / FloorPicture::kHeight;
        const float left = float(to.left) - 0.5f, top = float(to.top) - 0.5f;
        const float right = float(to.right) - 0.5f, bottom = float(to.bottom) - 0.5f;
        const Vertex quad[4] = {{left, bottom, 0, 1, 0xFFFFFFFF, 0, vBottom},
                                {left, top, 0, 1, 0xFFFFFFFF, 0, vTop},
                                {right, bottom, 0, 1, 0xFFFFFFFF, uRight, vBottom},
                                {right, top, 0, 1, 0xFFFFFFFF, uRight, vTop}};
        device_->SetTexture(0, texture_);
        device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
        device_->EndScene();
        device_->Present(nullptr, nullptr, nullptr, nullptr);
    }

private:
    IDirect3DDevice9* device_ = nullptr;
    IDirect3DTexture9* texture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    Direct3D9Floor floor;
    return RunFloor(floor, "Direct3D 9", argc, argv);
}
