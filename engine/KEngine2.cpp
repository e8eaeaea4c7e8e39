#include "engine/KEngine2.h"

#include <sstream>

#include "engine/Clock.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteStore.h"
#include "engine/WindowMessages.h"
#include "platform/Platform.h"

KEngine2* g_app = nullptr;
KEngine2::EngineFactory KEngine2::engineFactory = &MakeBackEnd;
bool KEngine2::windowless = false;

KEngine2::KEngine2() {
    g_app = this;
    graphics = new Graphics();
    graphics->SetOwner(this);
    sprites = new SpriteStore();
    sprites->SetOwner(this);
}

int KEngine2::TextWidth(const std::string& text) const { return font ? font->GetTextWidth(text) : 0; }

KEngine2::~KEngine2() {
    delete guiLayer;
    guiLayer = nullptr;
    gui = nullptr;
    delete sprites;
    sprites = nullptr;
    // The font's sheets are images of the engine: free them while it exists.
    delete font;
    font = nullptr;
    DestroyEngine();
    delete graphics;
    graphics = nullptr;
    if (g_app == this)
        g_app = nullptr;
}

bool KEngine2::SetSize(int width, int height) {
    clientWidth = width;
    clientHeight = height;
    return true;
}

bool KEngine2::SetTitle(const std::string& text, bool store) {
    if (store)
        title = text;
    SetWindowText(text);
    return true;
}

InputEvent KEngine2::PopEvent() {
    // Callers ask HasEvents first; an empty queue gives an empty event rather
    // than reading past the end.
    if (events.empty())
        return InputEvent();
    InputEvent event = events.front();
    events.pop_front();
    return event;
}

void KEngine2::UpdateFps(bool showInTitle) {
    ++frameCount;
    const uint32_t elapsed = GetTicks() - fpsStamp;
    if (elapsed <= 999)
        return;
    fps = float(frameCount / (elapsed / 1000.0));
    frameCount = 0;
    fpsStamp = GetTicks();
    if (showInTitle) {
        std::ostringstream text;
        text << title << " [FPS: " << int(fps) << "]";
        SetWindowText(text.str());
    }
}

void KEngine2::DestroyEngine() {
    delete engine;
    engine = nullptr;
}

bool KEngine2::CreateGraphicsEngine(int type) {
    const bool leavingOpenGL = engineType == kEngineOpenGL && type != kEngineOpenGL;
    engineType = type;
    // Sprites and font sheets are images of the old back end: free them through
    // it before it goes, so they are made again through the new one. Sprites
    // are released even when there is no engine (after a failed Init): those
    // made meanwhile hold no image and would otherwise never get one.
    sprites->ReleaseTextures();
    if (engine) {
        delete font;
        font = nullptr;
        DestroyEngine();
    }
    // OpenGL set the window's pixel format, which stays for the window's
    // life. Under Wine, Direct3D 9 and DirectDraw draw through OpenGL and
    // would then set their own format and restore OpenGL's around every
    // drawing call, which makes a frame take seconds: they get a new window.
    if (leavingOpenGL && window && !windowless)
        ReplaceMainWindow();
    engine = engineFactory ? engineFactory(type) : nullptr;
    if (engine) {
        engine->SetOwner(this);
        engine->SetHost(this);
        // Never leave a dead device behind for anything to draw through.
        if (!engine->Init())
            DestroyEngine();
    }
    // The font is made again even without an engine: it then draws nothing,
    // but layout code can still measure text with it.
    if (fontImage) {
        delete font;
        font = CreateFont(fontImage, true);
    }
    return engine != nullptr;
}

uint32_t KEngine2::CurrentColor() const { return graphics ? graphics->GetColor() : 0xFFFFFFFFu; }

int KEngine2::GuiSkin() const { return guiLayer ? guiLayer->GetSkin() : 0; }

void KEngine2::RenderSkin(int spriteId, int x, int y, int w, int h) {
    if (graphics)
        graphics->RenderSkin(spriteId, x, y, w, h);
}

Font* KEngine2::CreateFont(SpriteRecord* image, bool keepWidths) {
    Font* made = new Font();
    made->SetOwner(this);
    made->Build(image, 0xFFFFFFFF, false, keepWidths);
    return made;
}

bool KEngine2::SetFont(SpriteRecord* image, bool keepWidths) {
    delete font;
    fontImage = image;
    font = CreateFont(image, keepWidths);
    return font != nullptr;
}

bool KEngine2::IsKeyDown(int virtualKey) const {
    return !inactive && platform::GetKeyState().IsAsyncKeyDown(virtualKey);
}

void KEngine2::OnWindowLost() {
    if (windowLost)
        return;
    windowLost = true;
    if (lostCallback)
        lostCallback();
    else
        running = false;
}

void KEngine2::QueueEvent(int32_t type, int32_t a, int32_t b, int32_t c, uint32_t input, int32_t modifiers) {
    if (!inactive) {
        InputEvent event{type, a, b, c};
        event.input = input;
        event.modifiers = modifiers;
        events.push_back(event);
    }
}

uint32_t KEngine2::NewInput() {
    if (++inputCount == 0)
        inputCount = 1;
    return inputCount;
}

bool KEngine2::ToGui(uint32_t input) {
    if (!guiLayer)
        return false;
    guiLayer->SetInput(input);
    return true;
}

bool KEngine2::HandleMessage(uint32_t message, uint64_t wParam, int64_t lParam) {
    // Mouse coordinates are signed 16-bit: negative while the captured mouse is
    // left of or above the window.
    const int x = int16_t(uint64_t(lParam) & 0xFFFF);
    const int y = int16_t((uint64_t(lParam) >> 16) & 0xFFFF);
    platform::KeyState& keys = platform::GetKeyState();

    switch (message) {
    case wm::kLeftButtonDown: {
        CaptureMouse();
        // The release belongs to the same click.
        const uint32_t input = leftPressInput = NewInput();
        // The GUI may handle this press and its release before the main loop
        // reads the press, and a menu closes on the release: the event keeps
        // whether the press was the menu's.
        QueueEvent(InputEvent::LeftDown, x, y, guiLayer && guiLayer->HasOpenMenu() ? 1 : 0, input);
        if (ToGui(input))
            guiLayer->OnMouseDown(x, y);
        return true;
    }
    case wm::kLeftButtonUp: {
        ReleaseMouse();
        const uint32_t input = leftPressInput ? leftPressInput : NewInput();
        leftPressInput = 0;
        QueueEvent(InputEvent::LeftUp, x, y, 0, input);
        if (ToGui(input))
            guiLayer->OnMouseUp(x, y);
        return true;
    }
    case wm::kRightButtonDown:
        CaptureMouse();
        QueueEvent(InputEvent::RightDown, x, y, 0, NewInput());
        return true;
    case wm::kRightButtonUp:
        ReleaseMouse();
        QueueEvent(InputEvent::RightUp, x, y, 0, NewInput());
        return true;
    case wm::kMiddleButtonDown:
        CaptureMouse();
        QueueEvent(InputEvent::MiddleDown, x, y, 0, NewInput());
        return true;
    case wm::kMiddleButtonUp:
        ReleaseMouse();
        QueueEvent(InputEvent::MiddleUp, x, y, 0, NewInput());
        return true;
    case wm::kMouseMove: {
        const uint32_t input = NewInput();
        QueueEvent(InputEvent::MouseMove, x, y, 0, input);
        if (ToGui(input))
            guiLayer->OnMouseMove(x, y);
        return true;
    }
    case wm::kMouseWheel: {
        // One notch away from the user (+120) is -1 step; the division
        // truncates toward zero, so half a notch is 0 steps.
        const int delta = int16_t((wParam >> 16) & 0xFFFF);
        const int steps = -(delta / 120);
        const uint32_t input = NewInput();
        QueueEvent(InputEvent::Wheel, guiLayer ? int(guiLayer->PointerX()) : 0,
                   guiLayer ? int(guiLayer->PointerY()) : 0, steps, input);
        if (ToGui(input))
            guiLayer->OnMouseWheel(steps);
        return true;
    }
    case wm::kKeyDown: {
        // The character message that follows belongs to the same key.
        const uint32_t input = keyDownInput = NewInput();
        const bool ctrl = keys.IsKeyDown(platform::kVkControl);
        const bool shift = keys.IsKeyDown(platform::kVkShift);
        QueueEvent(InputEvent::KeyDown, int32_t(wParam), 0, 0, input,
                   (ctrl ? InputEvent::kCtrlHeld : 0) | (shift ? InputEvent::kShiftHeld : 0));
        if (ToGui(input))
            guiLayer->OnKey(uint16_t(wParam & 0xFFFF), 0, ctrl, shift);
        lastKey = uint32_t(wParam);
        return true;
    }
    case wm::kSysKeyDown:
        keyDownInput = NewInput();
        QueueEvent(InputEvent::KeyDown, int32_t(wParam), 0, 0, keyDownInput);
        // Alt+F4 goes on to the system, which turns it into WM_CLOSE and so
        // into the close callback; every other system key stops here.
        return !(wParam == wm::kKeyF4 && (lParam & wm::kAltHeld) != 0);
    case wm::kChar: {
        const uint32_t input = keyDownInput ? keyDownInput : NewInput();
        QueueEvent(InputEvent::KeyDown, 0, int32_t(wParam), 0, input);
        if (ToGui(input))
            guiLayer->OnKey(uint16_t(lastKey & 0xFFFF), uint16_t(wParam & 0xFFFF),
                            keys.IsKeyDown(platform::kVkControl), keys.IsKeyDown(platform::kVkShift));
        return true;
    }
    case wm::kKeyUp:
    case wm::kSysKeyUp:
        keyDownInput = 0;
        QueueEvent(InputEvent::KeyUp, int32_t(wParam), 0, 0, NewInput());
        return true;
    case wm::kSize: {
        const unsigned width = unsigned(uint64_t(lParam) & 0xFFFF);
        const unsigned height = unsigned((uint64_t(lParam) >> 16) & 0xFFFF);
        // Minimising (0 x 0) and tiny sizes change nothing.
        if (width > 400 && height > 300) {
            events.push_back({InputEvent::Resize, int32_t(width), int32_t(height),
                              wParam == wm::kSizeMaximized ? 1 : 0});
            clientWidth = int(width);
            clientHeight = int(height);
            if (engine)
                engine->SetSettings();
        }
        return true;
    }
    case wm::kSetFocus:
        inactive = false;
        return true;
    case wm::kKillFocus:
        inactive = true;
        return true;
    case wm::kClose:
        if (closeCallback) {
            closeCallback();
        } else {
            running = false;
            CloseMainWindow();
        }
        return true;
    case wm::kDestroy:
        // Destroyed while still running: no close request came first.
        if (running)
            OnWindowLost();
        PostQuit();
        return true;
    case wm::kEraseBackground:
        return true;
    case wm::kSetCursor:
        // While the left button goes down the current cursor stays.
        return ((uint64_t(lParam) >> 16) & 0xFFFF) == wm::kLeftButtonDown;
    default:
        return false;
    }
}
