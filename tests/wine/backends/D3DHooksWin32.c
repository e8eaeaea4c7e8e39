#include "tests/wine/backends/D3DHooks.h"

struct D3DHookState g_d3dHooks;

static const IDirect3DDevice9Vtbl* realDevice;
static IDirect3DDevice9Vtbl hookedDevice;
static const IDirect3DTexture9Vtbl* realTexture;
static IDirect3DTexture9Vtbl lockFailingTexture;
static const IDirect3DSurface9Vtbl* realSurface;
static IDirect3DSurface9Vtbl lockFailingSurface;

static HRESULT WINAPI TestCooperativeLevel(IDirect3DDevice9* device) {
    if (g_d3dHooks.reportOk)
        return D3D_OK;
    return g_d3dHooks.forcedLevel ? g_d3dHooks.forcedLevel : realDevice->TestCooperativeLevel(device);
}

static HRESULT WINAPI Reset(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters) {
    ++g_d3dHooks.resets;
    return realDevice->Reset(device, parameters);
}

static HRESULT WINAPI Present(IDirect3DDevice9* device, const RECT* source, const RECT* destination, HWND window,
                              const RGNDATA* dirty) {
    ++g_d3dHooks.presents;
    return realDevice->Present(device, source, destination, window, dirty);
}

static HRESULT WINAPI DrawPrimitiveUP(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT count,
                                      const void* data, UINT stride) {
    ++g_d3dHooks.drawPrimitiveUp;
    return realDevice->DrawPrimitiveUP(device, type, count, data, stride);
}

static HRESULT WINAPI DrawPrimitive(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT start, UINT count) {
    ++g_d3dHooks.drawPrimitive;
    return realDevice->DrawPrimitive(device, type, start, count);
}

static HRESULT WINAPI TextureLockFails(IDirect3DTexture9* texture, UINT level, D3DLOCKED_RECT* locked,
                                       const RECT* rect, DWORD flags) {
    return D3DERR_INVALIDCALL;
}

static HRESULT WINAPI SurfaceLockFails(IDirect3DSurface9* surface, D3DLOCKED_RECT* locked, const RECT* rect,
                                       DWORD flags) {
    return D3DERR_INVALIDCALL;
}

static HRESULT WINAPI CreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT levels, DWORD usage,
                                    D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) {
    HRESULT hr = realDevice->CreateTexture(device, width, height, levels, usage, format, pool, texture, shared);
    if (SUCCEEDED(hr) && g_d3dHooks.failTextureLocks) {
        if (!realTexture) {
            realTexture = (*texture)->lpVtbl;
            lockFailingTexture = *realTexture;
            lockFailingTexture.LockRect = TextureLockFails;
        }
        (*texture)->lpVtbl = &lockFailingTexture;
    }
    return hr;
}

/* The surface is switched only after the real call: Wine checks the method
   table of surfaces handed to it. */
static HRESULT WINAPI GetFrontBufferData(IDirect3DDevice9* device, UINT swapChain, IDirect3DSurface9* surface) {
    HRESULT hr = realDevice->GetFrontBufferData(device, swapChain, surface);
    if (SUCCEEDED(hr) && g_d3dHooks.failScreenLocks) {
        g_d3dHooks.failScreenLocks = 0;
        if (!realSurface) {
            realSurface = surface->lpVtbl;
            lockFailingSurface = *realSurface;
            lockFailingSurface.LockRect = SurfaceLockFails;
        }
        surface->lpVtbl = &lockFailingSurface;
    }
    return hr;
}

void HookDevice(IDirect3DDevice9* device) {
    if (device->lpVtbl == &hookedDevice)
        return;
    realDevice = device->lpVtbl;
    hookedDevice = *realDevice;
    hookedDevice.TestCooperativeLevel = TestCooperativeLevel;
    hookedDevice.Reset = Reset;
    hookedDevice.Present = Present;
    hookedDevice.DrawPrimitiveUP = DrawPrimitiveUP;
    hookedDevice.DrawPrimitive = DrawPrimitive;
    hookedDevice.CreateTexture = CreateTexture;
    hookedDevice.GetFrontBufferData = GetFrontBufferData;
    device->lpVtbl = &hookedDevice;
}

void UnhookDevice(IDirect3DDevice9* device) {
    if (device->lpVtbl == &hookedDevice)
        device->lpVtbl = (IDirect3DDevice9Vtbl*)realDevice;
}
