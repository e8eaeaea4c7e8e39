#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "client/Screenshot.h"
#include "client/ServerStatus.h"
#include "engine/InputEvent.h"

class AboutDialog;
class GameInterface;
class KEngine2;
class MainMenu;
class OptionsDialog;
class Protocol;
class Settings;
struct CursorHandle;

// The spine of the program: start-up, the main loop, the switch between the
// login screen and the game screen, and shutdown. It owns the application
// object (and through it the window, the back end, the sprites and the GUI),
// the settings, the protocol, the options dialog, the drag cursor and the
// login-server list. One instance, made by the first Client::Instance (in
// main, before any other thread exists) and never deleted by the program.
class Client {
public:
    static Client* Instance();

    // Builds the application object and the login-server list.
    Client();
    // Only tests end a client; the program keeps its one until the process ends.
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Start-up after construction: settings, window, back end, graphics file,
    // font, GUI style, cursor, login screen. False when the program must end:
    // no window, no back end left after the fallbacks, or a missing or too old
    // graphics file.
    bool Init();
    // The main loop: passes until the application object stops running.
    void Run();
    // One pass of the main loop: pending changes, messages, input events, the
    // protocol, the screen's tick, the frame, frame pacing.
    void RunPass();
    // The main loop's safe point, at the start of every pass: no GUI callback,
    // handler or drawing is running. Applies the deferred changes in the order
    // they were asked for, then a requested self-update. Whatever must not
    // happen underneath its caller goes through here: the self-update (it
    // takes over the window), the back-end switch of the options dialog, a
    // side window closing itself from its own button, the game screen's
    // teardown.
    void ApplyPendingChanges();
    // Records a change for the next safe point. A change deferred while the
    // safe point runs waits for the pass after.
    void Defer(std::function<void()> change);
    // Saves the options and frees the client's parts after the main loop.
    void Shutdown();
    // Creates the back end of a kind (1 OpenGL, 2 Direct3D 9, 3 DirectDraw),
    // falling back to the others as the user agrees. False when no back end
    // could be made.
    bool CreateEngine(int kind);
    // 1 arrow, 2 drag cursor, 3 north-south resize, 4 west-east resize; any
    // other kind changes nothing.
    void SetCursor(int kind);
    // The enter-game message: the game screen replaces the login screen.
    void StartGame(bool welcome);
    // The game connection is gone: back to the login screen.
    void ReturnToMenu();
    // The window's close button: asks first while leaving could kill the
    // character, otherwise logs out and ends the main loop.
    static void OnCloseRequest();
    // The window was destroyed without a close request: logs out and ends the
    // main loop without asking, as nothing can be shown any more.
    static void OnWindowLost();

    // Starts a server-status request on its own thread, which gets all it
    // needs by value and is not waited for. Nothing starts without a status
    // host.
    void StartStatusThread();
    // A copy of the notification text and its line count, under the status mutex.
    void GetServerStatus(std::string& text, int32_t& lines);

    // The "Patch" button of the "New Version" box: records the request, which
    // the next main-loop pass carries out.
    void RunPatcher(int32_t version);

    // Ctrl+S in the game: reads the screen (with Shift only the map view) and
    // writes it to a PNG file on a thread of its own.
    void RequestScreenshot();
    static void ScreenshotThread(ScreenshotJob job);
    // Waits until every screenshot file is written.
    void JoinScreenshotThreads();

    // The login servers in the order a connection tries them: A, B, C for
    // r = 0 to 4 and B, A, C for r = 5 to 9, r being rand() % 10.
    static std::vector<std::string> BuiltInLoginHosts(int r);
    // "loginserver.txt": the first line replaces the host list, the number on
    // the second line (taken to 16 bits) the port. False when there is no file
    // or it cannot be read.
    static bool ReadLoginServerFile(const std::string& path, std::vector<std::string>& hosts, uint16_t& port);
    // Milliseconds a frame may take at a frame limit: ceil(1000 / limit); 0
    // (no pacing) for limits outside 1 to 999.
    static int FramePeriod(int fpsLimit);
    // How long to sleep after a pass that took elapsed milliseconds; 0 for none.
    static uint32_t FrameWait(int fpsLimit, uint32_t elapsed);

    KEngine2* app = nullptr;
    MainMenu* menu = nullptr;      // the login screen, while it is shown
    GameInterface* game = nullptr; // the game screen, while playing
    Settings* settings = nullptr;
    Protocol* protocol = nullptr;
    // The dialogs of the login screen, and those both screens open, belong to
    // the client; those of the game screen to the game screen.
    OptionsDialog* optionsDialog = nullptr;
    AboutDialog* aboutDialog = nullptr;
    CursorHandle* dragCursor = nullptr;
    std::vector<std::string> loginHosts;
    uint16_t loginPort = 0;
    int32_t gfxVersion = 0;  // the graphics file's stamp; the login request sends it
    // The server's notification, wrapped into lines, with its line count and
    // their mutex; shared with the status threads.
    std::shared_ptr<ServerStatus> serverStatus = std::make_shared<ServerStatus>();
    // The status web server: the built-in one, or VELMORA_STATUS_SERVER
    // ("host:port") from the environment.
    std::string statusHost;
    uint16_t statusPort = 0;
    // A self-update asked for by the "Patch" button, not yet started; the
    // next safe point starts it.
    bool patchRequested = false;
    int32_t patchVersion = 0;
    std::vector<std::function<void()>> pendingChanges;

private:
    bool LoadGraphicsFile();
    void ApplyGuiStyle();
    void HandleEvent(const InputEvent& event);
    void DrawFrame();
    // The modal self-update loop: the patcher's steps, with the window kept
    // alive between them, until the patcher has finished or the window closes.
    void RunSelfUpdate(int32_t version);

    std::vector<std::thread> screenshotThreads;

    static Client* instance;
};
