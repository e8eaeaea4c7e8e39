#pragma once

// Fault injection for the Direct3D back end. A device cannot be lost under
// Wine and LockRect does not fail there, so these hooks put a copy of the
// device's method table in front of the real one: they count draw calls and
// resets and can make TestCooperativeLevel report a lost device or LockRect
// fail, while every other call reaches the real device.

#include "platform/Win32.h"

#include <d3d9.h>

#ifdef __cplusplus
extern "C" {
#endif

struct D3DHookState {
    HRESULT forcedLevel;   // returned by TestCooperativeLevel when not 0
    int reportOk;          // TestCooperativeLevel says D3D_OK whatever the device's state
    int failTextureLocks;  // textures made from now on refuse LockRect
    int failScreenLocks;   // the surface of the next screen read refuses LockRect
    int drawPrimitiveUp;
    int drawPrimitive;
    int resets;
    int presents;
};

extern struct D3DHookState g_d3dHooks;

void HookDevice(IDirect3DDevice9* device);
void UnhookDevice(IDirect3DDevice9* device);

#ifdef __cplusplus
}
#endif
