#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "engine/BackEndHost.h"
#include "engine/Block.h"
#include "engine/Cursor.h"
#include "engine/GuiLayer.h"
#include "engine/InputEvent.h"

class Font;
class GUIManager;
class Graphics;
class GraphicsEngine;
class SpriteStore;
struct SpriteRecord;

// The application object: the main window and its window procedure, the queue
// of input events the main loop drains, the drawing facade with the active back
// end, the sprite store, the font and the GUI manager. One instance, reached
// through g_app. The GUI manager is made by the toolkit above the engine
// (GUIManager::Attach); the engine itself talks to it only as a GuiLayer.
//
// The window side (creating the window, pumping messages, capture, cursors)
// lives in KEngine2Win32.cpp; the native build, which has no window, uses
// KEngine2Headless.cpp. Everything else, the translation of window messages
// into events included, is portable and lives in KEngine2.cpp.
//
// It is the host of the back end it makes (BackEndHost), the one way a back
// end reaches it.
class KEngine2 : public Block, public BackEndHost {
public:
    using CloseCallback = void (*)();
    // Makes the back end for an engine type, or null; replaced by tests.
    using EngineFactory = GraphicsEngine* (*)(int type);

    KEngine2();
    ~KEngine2() override;

    bool SetSize(int width, int height);
    bool SetTitle(const std::string& text, bool store);
    bool CreateMainWindow(bool maximised);
    void PumpMessages();
    bool HasEvents() const { return !events.empty(); }
    InputEvent PopEvent();
    void UpdateFps(bool showInTitle);
    float GetFps() const { return fps; }

    // Replaces the drawing back end: 1 OpenGL, 2 Direct3D 9, 3 DirectDraw.
    bool CreateGraphicsEngine(int type);
    Font* CreateFont(SpriteRecord* image, bool keepWidths);
    bool SetFont(SpriteRecord* image, bool keepWidths);

    // BackEndHost.
    void* WindowHandle() const override { return window; }
    int ClientWidth() const override { return clientWidth; }
    int ClientHeight() const override { return clientHeight; }
    uint32_t CurrentColor() const override;
    int GuiSkin() const override;
    void RenderSkin(int spriteId, int x, int y, int w, int h) override;

    // False while the window has lost the keyboard focus.
    bool IsKeyDown(int virtualKey) const;
    void SetCursor(int kind);
    void UseCursor(CursorHandle* cursor);
    // Null for a missing image or one smaller than 32 x 32.
    CursorHandle* CreateCursor(SpriteRecord* image, int hotSpotX, int hotSpotY);

    // What the window procedure does with one message; false means the message
    // goes to the system's default handling.
    bool HandleMessage(uint32_t message, uint64_t wParam, int64_t lParam);

    // The window is gone without a close request (destroyed from outside):
    // the lost callback runs, or without one the main loop ends. Once only.
    void OnWindowLost();

    static EngineFactory engineFactory;
    // Set by unit tests: CreateMainWindow then makes no real window in the
    // Windows build either, so messages come only through HandleMessage and
    // the client size only from SetSize. The window itself is tested by the
    // programs under tests/wine.
    static bool windowless;

    CloseCallback closeCallback = nullptr;
    // Called when the window is lost; nothing can be asked any more then.
    CloseCallback lostCallback = nullptr;
    bool windowLost = false;
    GraphicsEngine* engine = nullptr;
    // Both name the one GUI manager (owned), or are null without a GUI: the
    // layers above use gui, the engine guiLayer.
    GUIManager* gui = nullptr;
    GuiLayer* guiLayer = nullptr;
    Graphics* graphics = nullptr;
    SpriteStore* sprites = nullptr;
    // The width of a text in the font; 0 while there is no font (tests,
    // before the graphics file is read).
    int TextWidth(const std::string& text) const;
    Font* font = nullptr;
    SpriteRecord* fontImage = nullptr;  // borrowed from the sprite store
    int clientWidth = 640;
    int clientHeight = 480;
    std::string title = "KEngine2";
    bool running = true;
    bool inactive = false;
    std::deque<InputEvent> events;
    int cursorKind = 0;
    int engineType = 0;
    uint32_t frameCount = 0;
    uint32_t fpsStamp = 0;
    float fps = 0;
    void* window = nullptr;  // HWND
    uint32_t lastKey = 0;
    // Numbering of the inputs (InputEvent::input): the last number given,
    // and the numbers of the left press and of the key-down whose release
    // and character still belong to them (0: none).
    uint32_t inputCount = 0;
    uint32_t leftPressInput = 0;
    uint32_t keyDownInput = 0;
    // The text the window shows in its title bar (the title with the FPS).
    std::string shownTitle;
    // Under Wine: the window had its X window (see PumpMessages).
    bool hadNativeWindow = false;
    // shownTitle waits for the next pump to reach the window.
    bool titlePending = false;

private:
    void QueueEvent(int32_t type, int32_t a, int32_t b, int32_t c, uint32_t input, int32_t modifiers = 0);
    // A new input number, never 0.
    uint32_t NewInput();
    // Tells the GUI which input its next calls belong to; false without a GUI.
    bool ToGui(uint32_t input);
    void DestroyEngine();
    // Window glue, one implementation per build.
    void SetWindowText(const std::string& text);
    // Under Wine: notices a window whose X window was destroyed from outside.
    void CheckWindowLost();
    void CaptureMouse();
    void ReleaseMouse();
    void CloseMainWindow();
    void PostQuit();
    // A new main window of the stored client size and title, not shown yet;
    // null when none can be made.
    void* MakeWindow();
    // Puts a new main window in the place of the old one (its position, size
    // and state) and destroys the old one, which the application never hears
    // of. False, keeping the old one, when no window can be made.
    bool ReplaceMainWindow();
};

extern KEngine2* g_app;

// Makes the back end of a type for this build (null for unknown types, and in
// the native build, which has none).
GraphicsEngine* MakeBackEnd(int type);
