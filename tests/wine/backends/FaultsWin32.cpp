// Failures of the back ends, made to happen for real where Wine allows it and
// injected through the device's method table where it does not.
#include <GL/gl.h>

#include <string>
#include <vector>

#include "engine/DirectDrawEngineWin32.h"
#include "engine/DirectXEngineWin32.h"
#include "engine/Graphics.h"
#include "tests/wine/backends/D3DHooks.h"
#include "tests/wine/backends/Harness.h"
#include "tests/wine/backends/Modes.h"

namespace {

const uint32_t kClear = 0xFF504030u;
const uint32_t kBufferColor = 0xFF20A0F0u;

std::unique_ptr<SpriteRecord> SolidRecord(uint32_t color) {
    return MakeRecord(8, 8, [color](int, int) { return color; });
}

// The device behind the engine, reached through one of its textures.
IDirect3DDevice9* DeviceOf(const Sprite& sprite) {
    IDirect3DDevice9* device = nullptr;
    static_cast<IDirect3DTexture9*>(sprite.object)->GetDevice(&device);
    device->Release();  // the engine keeps it alive
    return device;
}

void DrawBufferFrame(Graphics& g) {
    g.ClearScene(kClear);
    g.BeginBuffer();
    g.RenderRectangle(kBufferColor, 0, 0, 64, 48);
    g.EndBuffer();
    g.RenderBuffer(100, 100, 128, 96, 64, 48);
}

// A light-map mesh larger than the vertex buffer: 5 000 empty triangles, then
// one that covers (300, 300) to (400, 400) in opaque green (ARGB).
std::vector<ScreenVertex> LargeMesh() {
    std::vector<ScreenVertex> mesh(15000, ScreenVertex{0, 0, 0, 1, 0xFF00FF00u, 0, 0});
    mesh.push_back({300, 300, 0, 1, 0xFF00FF00u, 0, 0});
    mesh.push_back({400, 300, 0, 1, 0xFF00FF00u, 0, 0});
    mesh.push_back({300, 400, 0, 1, 0xFF00FF00u, 0, 0});
    return mesh;
}

}  // namespace

int RunDirect3DFaults(Harness& h) {
    if (!h.Open(800, 600, "Velmora back-end faults"))
        return 2;
    h.Check(h.app->CreateGraphicsEngine(kEngineDirect3D), "Direct3D starts");
    DirectXEngine* engine = static_cast<DirectXEngine*>(h.app->engine);
    if (!engine)
        return 1;
    std::unique_ptr<SpriteRecord> font = MakeBlockFont();
    h.app->SetFont(font.get(), true);
    std::unique_ptr<SpriteRecord> solid = SolidRecord(0xFF8040C0u);
    Sprite probe(8, 8);
    engine->GenerateSprite(&probe, solid.get(), false);
    IDirect3DDevice9* device = DeviceOf(probe);
    HookDevice(device);
    Graphics& g = *h.app->graphics;

    // A whole text is one draw call from the engine's vertex buffer (never
    // DrawPrimitiveUP, which grew Wine's heap); an outline adds four.
    h.Check(g.BeginScene(), "a frame begins");
    g.ClearScene(kClear);
    g_d3dHooks.drawPrimitiveUp = 0;
    g_d3dHooks.drawPrimitive = 0;
    g.RenderText("Hello, world", 10, 10, 0xFFFFFFFFu, false);
    h.Check(g_d3dHooks.drawPrimitive == 1 && g_d3dHooks.drawPrimitiveUp == 0,
            "a text is one draw call (" + std::to_string(g_d3dHooks.drawPrimitive) + " from the buffer, " +
                std::to_string(g_d3dHooks.drawPrimitiveUp) + " DrawPrimitiveUP)");
    g_d3dHooks.drawPrimitive = 0;
    g.RenderText("Hello, world", 10, 30, 0xFFFFFFFFu, true);
    h.Check(g_d3dHooks.drawPrimitive == 5 && g_d3dHooks.drawPrimitiveUp == 0, "an outlined text is five draw calls");
    g.EndScene();

    // A lost device skips frames without resetting; a device that can be
    // reset is reset by the next frame, which then draws.
    g_d3dHooks.forcedLevel = D3DERR_DEVICELOST;
    g_d3dHooks.resets = 0;
    h.Check(!g.BeginScene() && !g.BeginScene(), "frames are skipped while the device is lost");
    h.Check(g_d3dHooks.resets == 0, "a lost device is not reset");
    g_d3dHooks.forcedLevel = D3DERR_DEVICENOTRESET;
    const bool drew = g.BeginScene();
    g_d3dHooks.forcedLevel = 0;
    h.Check(drew && g_d3dHooks.resets == 1, "a device that can be reset is reset and the frame drawn");
    if (drew) {
        DrawBufferFrame(g);
        g.EndScene();
    }

    // A real failed Reset: a default-pool surface blocks it. Every frame
    // tries again and is skipped, even when the device claims to be fine,
    // and the buffer operations do nothing meanwhile.
    IDirect3DSurface9* blocker = nullptr;
    device->CreateRenderTarget(64, 64, D3DFMT_A8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, &blocker, nullptr);
    const size_t boxesBefore = h.boxes.shown.size();
    h.Check(!engine->SetSettings(), "a blocked Reset fails");
    g_d3dHooks.resets = 0;
    h.Check(!g.BeginScene(), "the frame after a failed Reset is skipped");
    g_d3dHooks.reportOk = 1;
    h.Check(!g.BeginScene(), "a device that reports no problem is still reset first");
    g_d3dHooks.reportOk = 0;
    h.Check(g_d3dHooks.resets == 2, "each skipped frame tried the Reset again");
    g.BeginBuffer();
    g.EndBuffer();
    g.RenderBuffer(100, 100, 128, 96, 64, 48);  // would end the program if it stretched
    std::vector<ScreenVertex> mesh = LargeMesh();
    engine->RenderBatch(mesh.data(), int(mesh.size()));
    h.Check(h.boxes.shown.size() == boxesBefore, "a failed Reset shows no message box");
    blocker->Release();
    h.Check(g.BeginScene(), "once the Reset works the frame is drawn");

    // The recovered frame: the buffer stretch, and the large mesh drawn in
    // two parts instead of past the end of the vertex buffer.
    DrawBufferFrame(g);
    g_d3dHooks.drawPrimitive = 0;
    engine->RenderBatch(mesh.data(), int(mesh.size()));
    h.Check(g_d3dHooks.drawPrimitive == 2, "15 003 vertices are drawn in two parts");
    g_d3dHooks.drawPrimitive = 0;
    engine->RenderBatch(mesh.data() + 15000, 2);
    h.Check(g_d3dHooks.drawPrimitive == 0, "fewer than three vertices draw nothing");
    g.EndScene();
    h.Expect("recovered", 110, 110, kBufferColor, 4, "d3d", "buffer");
    h.Expect("recovered", 320, 320, 0xFF00FF00u, 2, "d3d", "last-triangle-of-the-mesh");
    h.Expect("recovered", 500, 500, kClear, 2, "d3d", "background");
    h.Shot("recovered");

    // LockRect failures: the sprite keeps no texture and draws nothing; the
    // screen read gives null.
    g_d3dHooks.failTextureLocks = 1;
    Sprite unlocked(8, 8);
    engine->GenerateSprite(&unlocked, solid.get(), false);
    g_d3dHooks.failTextureLocks = 0;
    h.Check(!unlocked.object && !unlocked.engine, "a texture that cannot be locked is not kept");
    if (g.BeginScene()) {
        g_d3dHooks.drawPrimitiveUp = 0;
        g.RenderSprite(&unlocked, 10, 10);
        h.Check(g_d3dHooks.drawPrimitiveUp == 0, "a sprite without texture draws nothing");
        g.EndScene();
    }
    g_d3dHooks.failScreenLocks = 1;
    uint8_t* block = engine->ReadScreen(0, 0, 10, 10);
    h.Check(!block, "a screen read whose surface cannot be locked gives null");
    delete[] block;

    // Off the display the block stays black.
    block = engine->ReadScreen(-50, -50, 100, 100);
    bool black = block != nullptr;
    POINT corner = {0, 0};
    ::ClientToScreen(static_cast<HWND>(h.app->window), &corner);
    for (int row = 0; block && row < 100; ++row)
        for (int column = 0; column < 100; ++column) {
            const int screenX = corner.x - 50 + column;
            const int screenY = corner.y - 50 + row;
            const uint8_t* p = block + (size_t(99 - row) * 100 + size_t(column)) * 3;
            if ((screenX < 0 || screenY < 0) && (p[0] || p[1] || p[2]))
                black = false;
        }
    h.Check(black, "screen-read pixels off the display are black");
    delete[] block;

    // An engine without a device draws no mesh.
    DirectXEngine idle;
    idle.RenderBatch(mesh.data(), 3);
    h.Check(true, "RenderBatch without a vertex buffer does nothing");

    UnhookDevice(device);
    return h.failures ? 1 : 0;
}

// A StretchRect that fails on a live target ends the program with code 1.
int RunStretchFailure(Harness& h) {
    if (!h.Open(800, 600, "Velmora back-end faults") || !h.app->CreateGraphicsEngine(kEngineDirect3D))
        return 2;
    Graphics& g = *h.app->graphics;
    if (g.BeginScene()) {
        g.ClearScene(kClear);
        g.BeginBuffer();
        g.EndBuffer();
        // A source larger than the 1024 x 1024 buffer cannot be stretched.
        g.RenderBuffer(0, 0, 100, 100, 2000, 2000);
    }
    h.Check(false, "the failed stretch ended the program");
    return 3;
}

// Yes in the DirectDraw error box goes on; No ends the program with code 1.
int RunDirectDrawNo(Harness& h) {
    if (!h.Open(800, 600, "Velmora back-end faults") || !h.app->CreateGraphicsEngine(kEngineDirectDraw))
        return 2;
    h.boxes.answers = {platform::kIdYes, platform::kIdNo};
    Graphics& g = *h.app->graphics;
    if (g.BeginScene()) {
        g.ClearScene(kClear);
        // A source larger than the 712 x 712 buffer cannot be blitted.
        g.RenderBuffer(0, 0, 100, 100, 2000, 2000);
        h.Check(h.boxes.shown.size() == 1, "the failed blit showed the error box and Yes went on");
        g.RenderBuffer(0, 0, 100, 100, 2000, 2000);
    }
    h.Check(false, "No ended the program");
    return 3;
}

// Every failing WGL step makes the start fail and leaves no context behind,
// so that the caller can fall back to Direct3D 9.
int RunOpenGLInitFailure(Harness& h) {
    if (!h.Open(800, 600, "Velmora back-end faults"))
        return 2;
    HWND window = static_cast<HWND>(h.app->window);

    // No device context: a window that no longer exists.
    HWND gone = ::CreateWindowExA(0, "STATIC", "gone", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ::DestroyWindow(gone);
    h.app->window = gone;
    h.Check(!h.app->CreateGraphicsEngine(kEngineOpenGL) && !h.app->engine, "OpenGL fails without a device context");
    h.app->window = window;

    // SetPixelFormat fails: the window already has another pixel format.
    HDC dc = ::GetDC(window);
    PIXELFORMATDESCRIPTOR wanted = {};
    wanted.nSize = sizeof(wanted);
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 24;
    wanted.cDepthBits = 16;
    const int chosen = ::ChoosePixelFormat(dc, &wanted);
    const int count = ::DescribePixelFormat(dc, 1, sizeof(wanted), nullptr);
    int other = 0;
    for (int format = 1; format <= count && !other; ++format) {
        PIXELFORMATDESCRIPTOR described;
        ::DescribePixelFormat(dc, format, sizeof(described), &described);
        if (format != chosen && (described.dwFlags & PFD_DRAW_TO_WINDOW) && (described.dwFlags & PFD_SUPPORT_OPENGL))
            other = format;
    }
    const bool preset = other && ::SetPixelFormat(dc, other, &wanted);
    ::ReleaseDC(window, dc);
    h.Check(preset, "the window got another pixel format first");
    h.Check(!h.app->CreateGraphicsEngine(kEngineOpenGL) && !h.app->engine, "OpenGL fails when SetPixelFormat fails");
    h.Check(wglGetCurrentContext() == nullptr, "no rendering context is left current");

    // The fallback the client then takes.
    h.Check(h.app->CreateGraphicsEngine(kEngineDirect3D) && h.app->engine, "Direct3D 9 starts after OpenGL failed");
    return h.failures ? 1 : 0;
}
