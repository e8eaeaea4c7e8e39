#include "client/Client.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <system_error>

#include "client/Hosts.h"
#include "client/MainMenu.h"
#include "client/PatcherDialog.h"
#include "client/Settings.h"
#include "client/TextUtils.h"
#include "dialogs/character/OutfitDialog.h"
#include "dialogs/social/AboutDialog.h"
#include "dialogs/social/OptionsDialog.h"
#include "dialogs/social/QuitDialog.h"
#include "engine/Clock.h"
#include "engine/Cursor.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "game/StatusLine.h"
#include "lodepng.h"
#include "platform/Platform.h"
#include "platform/WholeFile.h"
#include "protocol/Protocol.h"
#include "sidewindows/Inventory.h"
#include "sidewindows/Minimap.h"
#include "world/Map.h"

namespace {

const char kTitle[] = "Velmora Online";
const char kGraphicsFile[] = "velmora.gfx";
const char kLoginServerFile[] = "loginserver.txt";
const char kStatusServerVariable[] = "VELMORA_STATUS_SERVER";

// Inventory conditions under which the character would stay in the world
// after the client has gone.
const int kUnsafeConditions[] = {1104, 1115, 1668};

const uint32_t kMenuBackground = 0xFF191919;
const uint32_t kGameBackground = 0xFF000000;

const int kSKey = 0x53;

// One line of a text file read as text: up to the line feed, without the
// carriage return before it. False when nothing is left.
bool NextLine(const std::string& content, size_t& position, std::string& line) {
    if (position >= content.size())
        return false;
    const size_t end = content.find('\n', position);
    if (end == std::string::npos) {
        line = content.substr(position);
        position = content.size();
        return true;
    }
    line = content.substr(position, end - position);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    position = end + 1;
    return true;
}

// "host" or "host:port"; the port stays as it is without one.
void ReadHostAndPort(const std::string& text, std::string& host, uint16_t& port) {
    const size_t colon = text.rfind(':');
    host = text.substr(0, colon);
    if (colon != std::string::npos)
        port = uint16_t(uint32_t(ReadLeadingInt(text.substr(colon + 1))));
}

}  // namespace

Client* Client::instance = nullptr;

Client* Client::Instance() {
    if (!instance)
        new Client();  // the constructor registers itself
    return instance;
}

Client::Client() {
    if (!instance)
        instance = this;
    app = new KEngine2();
    GUIManager::Attach(*app);
    // Left and Right move a text box's caret only with Shift held: without
    // Shift they walk the character.
    app->gui->shiftForArrows = true;
    // The close button asks the client, which may keep the window open.
    app->closeCallback = &Client::OnCloseRequest;
    app->lostCallback = &Client::OnWindowLost;

    std::srand(unsigned(std::time(nullptr)));
    loginHosts = BuiltInLoginHosts(std::rand() % 10);
    loginPort = kLoginPort;
    ReadLoginServerFile(kLoginServerFile, loginHosts, loginPort);

    statusHost = kStatusHost;
    statusPort = kStatusPort;
    if (const char* server = std::getenv(kStatusServerVariable))
        ReadHostAndPort(server, statusHost, statusPort);
}

Client::~Client() {
    JoinScreenshotThreads();
    delete menu;
    // As in Shutdown: the trade's window goes while the GUI still exists.
    if (protocol)
        protocol->EndTrade();
    delete game;
    delete optionsDialog;
    delete aboutDialog;
    delete settings;
    DeleteCursorHandle(dragCursor);
    delete app;
    delete protocol;
    if (instance == this)
        instance = nullptr;
}

std::vector<std::string> Client::BuiltInLoginHosts(int r) {
    if (r < 5)
        return {kLoginHostA, kLoginHostB, kLoginHostC};
    return {kLoginHostB, kLoginHostA, kLoginHostC};
}

bool Client::ReadLoginServerFile(const std::string& path, std::vector<std::string>& hosts, uint16_t& port) {
    // Two short lines are all it can use: a host name and a port. The rest
    // of a huge file is not read.
    constexpr size_t kLongestUsable = 65536;
    std::string content;
    if (!platform::ReadFileStart(path, content, kLongestUsable))
        return false;

    // The first line is the one host, even when it is empty; the second line's
    // number the port, 0 without one.
    size_t position = 0;
    std::string line;
    hosts.clear();
    hosts.push_back(NextLine(content, position, line) ? line : std::string());
    port = NextLine(content, position, line) ? uint16_t(uint32_t(ReadLeadingInt(line))) : 0;
    return true;
}

bool Client::Init() {
    // The status mutex is a member and exists with the client.
    protocol = new Protocol();
    settings = new Settings();

    int32_t width = 0;
    int32_t height = 0;
    bool maximised = false;
    settings->GetWindowSize(width, height, maximised);
    app->SetSize(width, height);
    app->SetTitle(kTitle, true);
    // The window has told the user what failed; without it nothing can run.
    if (!app->CreateMainWindow(maximised))
        return false;

    // The main loop and every screen need a back end.
    if (!CreateEngine(settings->GetEngine()))
        return false;

    if (!LoadGraphicsFile())
        return false;

    app->SetFont(app->sprites->DecodeSprite(2), true);
    ApplyGuiStyle();
    dragCursor = app->CreateCursor(app->sprites->DecodeSprite(403), 0, 0);
    app->SetCursor(1);
    optionsDialog = new OptionsDialog();
    aboutDialog = new AboutDialog();
    menu = new MainMenu();
    return true;
}

bool Client::CreateEngine(int kind) {
    // The creatures' coloured frames belong to the engine that is going away.
    if (game && game->map)
        game->map->ReleaseCreatureTextures();
    // So are the outfit dialog's pictures, whether or not a game is on: the
    // module outlives the game screen.
    OutfitDialog::Instance()->FreeTextures();
    // The minimap's textures are made again by the new back end at their next
    // draw; the old ones go back to the engine that made them.
    if (game && game->minimap)
        game->minimap->InvalidateTextures();
    // Each Yes moves on to the next back end, round and round for as long as
    // the user keeps agreeing; a No ends the chain.
    for (;;) {
        switch (kind) {
        case kEngineOpenGL:
            if (app->CreateGraphicsEngine(kEngineOpenGL))
                return true;
            kind = kEngineDirect3D;  // without asking
            break;
        case kEngineDirect3D:
            if (app->CreateGraphicsEngine(kEngineDirect3D))
                return true;
            if (platform::ShowMessageBox("Failed to init Direct3D9 - try DirectDraw?", "Error",
                                         platform::kMbYesNo, app->window) != platform::kIdYes)
                return false;
            kind = kEngineDirectDraw;
            break;
        case kEngineDirectDraw:
            if (app->CreateGraphicsEngine(kEngineDirectDraw))
                return true;
            if (platform::ShowMessageBox("Failed to init DirectDraw. Try OpenGL instead?", "Error",
                                         platform::kMbYesNo, app->window) != platform::kIdYes)
                return false;
            kind = kEngineOpenGL;
            break;
        default:
            return app->engine != nullptr;
        }
    }
}

bool Client::LoadGraphicsFile() {
    gfxVersion = int32_t(app->sprites->Load(kGraphicsFile));
    // A file cut short (an interrupted copy or download; an empty one too)
    // lacks pictures every screen needs, and the cure is the same as for an
    // old one: reinstalling.
    const bool cutShort = app->sprites->CutShort();
    if (gfxVersion == 0 && !cutShort) {
        platform::ShowMessageBox("The graphics file velmora.gfx is missing.", "Load Error",
                                 platform::kMbOk | platform::kMbIconExclamation);
        return false;
    }
    if (cutShort || gfxVersion <= SpriteStore::kOldestStamp) {
        platform::ShowMessageBox("The graphics file velmora.gfx is old - please reinstall your client.", "Load Error",
                                 platform::kMbOk | platform::kMbIconExclamation);
        return false;
    }
    return true;
}

// Every control copies its style from its parent when it is added, so the
// root's style is the look of the whole GUI.
void Client::ApplyGuiStyle() {
    GUIControl* root = app->gui->root;
    root->arrowUpIcon = 5;
    root->arrowDownIcon = 6;
    root->arrowLeftIcon = 8;
    root->arrowRightIcon = 9;
    root->skin = settings->GetSkin();
    root->lightColor = settings->GetSkinHighlightColor();
    root->darkColor = settings->GetSkinShadowColor();
    root->fillColor = 0x00000000;   // transparent black
    root->textColor = 0xFFC8C8C8;   // opaque light grey
}

void Client::Run() {
    while (app->running)
        RunPass();
}

void Client::RunPass() {
    const uint32_t start = uint32_t(GetMilliseconds());

    ApplyPendingChanges();

    // GUI callbacks run in here.
    app->PumpMessages();
    while (app->HasEvents())
        HandleEvent(app->PopEvent());

    // A game connection that is gone brings the login screen back and logs in
    // again with the stored account, so the character list returns by itself.
    if (!protocol->Poll() && game) {
        ReturnToMenu();
        protocol->Connect(0, loginHosts, loginPort);
    }

    if (menu)
        menu->Tick();
    else if (game)
        game->Update();

    DrawFrame();
    app->UpdateFps(true);

    // Read in every pass, so a change in the options dialog counts at once.
    const uint32_t elapsed = uint32_t(GetMilliseconds()) - start;
    if (const uint32_t wait = FrameWait(settings->GetFpsLimit(), elapsed))
        platform::SleepMs(wait);
}

void Client::ApplyPendingChanges() {
    // Taken whole first: a change may defer another, which waits for the next
    // pass instead of running in this loop.
    std::vector<std::function<void()>> changes;
    changes.swap(pendingChanges);
    for (std::function<void()>& change : changes)
        change();

    // Asked for by a button in the last pass; started here, outside any GUI
    // callback, since it takes over the window until it is done.
    if (patchRequested) {
        patchRequested = false;
        RunSelfUpdate(patchVersion);
    }
}

void Client::Defer(std::function<void()> change) {
    if (change)
        pendingChanges.push_back(std::move(change));
}

void Client::HandleEvent(const InputEvent& event) {
    if (event.type == InputEvent::Resize) {
        if (menu)
            menu->Layout();
        else if (game)
            game->LayoutChatArea();
        settings->SetWindowSize(event.a, event.b, event.c != 0);
    }
    // Key-down messages carry the key code in a, character messages 0, so
    // each check fires once per key press. Ctrl counts as it was when the key
    // went down: a quick tap may be over before this pass.
    if (event.type == InputEvent::KeyDown && game && !game->hotkeyMode && event.a == kSKey &&
        (app->IsKeyDown(platform::kVkControl) || (event.modifiers & InputEvent::kCtrlHeld)))
        RequestScreenshot();
    if (menu && event.type == InputEvent::KeyDown && event.a == platform::kVkReturn && !menu->IsDialogOpen())
        menu->OnLogin();
    if (game)
        game->HandleEvent(event);
}

void Client::DrawFrame() {
    // Nothing to draw on once the window is gone.
    if (app->windowLost)
        return;
    Graphics* graphics = app->graphics;
    if (!graphics->BeginScene())
        return;
    if (menu) {
        graphics->ClearScene(kMenuBackground);
        menu->DrawNotification();
    } else if (game) {
        graphics->ClearScene(kGameBackground);
        game->Draw();
    }
    app->gui->Update();
    if (game)
        StatusLine::Instance()->DrawMessages();
    graphics->EndScene();
}

int Client::FramePeriod(int fpsLimit) {
    if (fpsLimit < 1 || fpsLimit > 999)
        return 0;
    return int(std::ceil(double(1000.0f) / double(fpsLimit)));
}

uint32_t Client::FrameWait(int fpsLimit, uint32_t elapsed) {
    const int period = FramePeriod(fpsLimit);
    if (period == 0)
        return 0;
    // A pass that took the whole period or longer does not wait, and nothing
    // carries over to the next pass.
    const int32_t wait = int32_t(uint32_t(period) - elapsed);
    return wait >= 1 && wait <= 999 ? uint32_t(wait) : 0;
}

void Client::StartGame(bool welcome) {
    if (!menu || game)
        return;
    delete menu;
    menu = nullptr;
    game = new GameInterface(welcome);
    game->LayoutChatArea();
}

void Client::ReturnToMenu() {
    protocol->EndTrade();
    // The game screen writes its window layout into the options as it goes;
    // one save after that puts both on disk at once.
    delete game;
    game = nullptr;
    settings->Save();
    if (!menu)
        menu = new MainMenu();
    // Takes the character's name out of the title.
    app->SetTitle(kTitle, true);
}

void Client::Shutdown() {
    // The close request only queued the logout; the loop may end before the
    // pass that would have sent it.
    if (protocol)
        protocol->FlushRequests();
    JoinScreenshotThreads();
    settings->Save();
    DeleteCursorHandle(dragCursor);
    dragCursor = nullptr;
    delete menu;
    menu = nullptr;
    // The trade's window belongs to the GUI, which goes with the application
    // object below, while the protocol lives on.
    if (protocol)
        protocol->EndTrade();
    delete game;
    game = nullptr;
    if (optionsDialog) {
        optionsDialog->Close();
        delete optionsDialog;
        optionsDialog = nullptr;
    }
    delete aboutDialog;
    aboutDialog = nullptr;
    delete settings;
    settings = nullptr;
    delete app;
    app = nullptr;
}

void Client::OnCloseRequest() {
    Client* client = Instance();
    if (client->game && client->game->inventory) {
        for (int condition : kUnsafeConditions) {
            if (client->game->inventory->HasCondition(condition)) {
                QuitDialog::Instance()->Show();
                return;
            }
        }
    }
    // The pass in progress still runs its protocol poll, which sends the
    // logout over an open connection.
    client->protocol->SendLogout();
    client->app->running = false;
}

void Client::OnWindowLost() {
    Client* client = Instance();
    client->protocol->SendLogout();
    client->app->running = false;
}

void Client::SetCursor(int kind) {
    switch (kind) {
    case 1:
        app->SetCursor(1);
        break;
    case 2:
        app->UseCursor(dragCursor);
        break;
    case 3:
        app->SetCursor(4);
        break;
    case 4:
        app->SetCursor(5);
        break;
    default:
        break;
    }
}

void Client::StartStatusThread() {
    if (statusHost.empty())
        return;
    ServerStatus::Request request;
    request.host = statusHost;
    request.port = statusPort;
    request.path = kStatusPath;
    // Measured with a copy taken here, on the main thread, which owns the font.
    const int* advances = app && app->font ? app->font->advances : kBuiltInAdvances;
    std::copy(advances, advances + Font::kAdvanceCount, request.advances.begin());
    request.status = serverStatus;
    try {
        std::thread(&ServerStatus::Run, std::move(request)).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the banner stays as it is until the next try.
    }
}

void Client::GetServerStatus(std::string& text, int32_t& lines) { serverStatus->Load(text, lines); }

void Client::RunPatcher(int32_t version) {
    patchRequested = true;
    patchVersion = version;
}

// The main loop's pass waits meanwhile: no input events are drained (they
// wait for it), no protocol poll, no screen tick, and a fixed 10 ms rest
// instead of the frame pacing. A patch that succeeds ends the process in
// here; one that fails has shown its box, and the pass goes on.
void Client::RunSelfUpdate(int32_t version) {
    PatcherDialog* patcher = new PatcherDialog(version);
    patcher->Open();
    while (patcher->Run() && app->running) {
        // Mouse and keys reach the dialog's "Cancel" through the window procedure.
        app->PumpMessages();
        Graphics* graphics = app->graphics;
        if (graphics->BeginScene()) {
            graphics->ClearScene(kGameBackground);
            if (menu)
                menu->DrawNotification();
            app->gui->Update();
            graphics->EndScene();
        }
        app->UpdateFps(true);
        platform::SleepMs(10);
    }
    delete patcher;
}

void Client::RequestScreenshot() {
    int x = 0;
    int y = 0;
    int width = app->clientWidth;
    int height = app->clientHeight;
    if (game && game->map && app->IsKeyDown(platform::kVkShift)) {
        const Map* map = game->map;
        x = map->viewX;
        y = map->viewY;
        width = Map::kViewColumns * map->tileWidth;
        height = Map::kViewRows * map->tileHeight;
    }
    if (!app->engine || width <= 0 || height <= 0)
        return;
    // Read between two frames, so the picture is a finished one.
    uint8_t* block = app->engine->ReadScreen(x, y, width, height);
    if (!block)
        return;
    StatusLine::Instance()->SetText("Saving screenshot...");

    ScreenshotJob job;
    job.block.reset(block);
    job.width = width;
    job.height = height;
    job.folder = settings->GetScreenshotPath();
    try {
        screenshotThreads.emplace_back(&Client::ScreenshotThread, std::move(job));
    } catch (const std::system_error&) {
        // No thread to be had: this screenshot is lost, the game goes on.
    }
}

void Client::ScreenshotThread(ScreenshotJob job) {
    std::vector<uint8_t> image = ScreenshotImage(job.block.get(), job.width, job.height);
    job.block.reset();

    std::tm now{};
    if (!platform::LocalTime(std::time(nullptr), now))
        return;
    // Only the last level of the folder is made; the encoder's failure to
    // write the file is all that happens when that is not enough.
    const std::string folder = job.folder + "/";
    platform::MakeDirectory(folder);
    const std::string name = ScreenshotFileName(folder, now, GetTicks());
    lodepng::encode(name, image, unsigned(job.width), unsigned(job.height));
}

void Client::JoinScreenshotThreads() {
    for (std::thread& thread : screenshotThreads)
        if (thread.joinable())
            thread.join();
    screenshotThreads.clear();
}
