#include "tests/support/ProtocolFrameHarness.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "client/Client.h"
#include "client/MainMenu.h"
#include "client/Settings.h"
#include "engine/Clock.h"
#include "engine/Folders.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "game/GameInterface.h"
#include "game/StatusLine.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "sidewindows/SideWindow.h"
#include "tests/support/RecordingEngine.h"
#include "world/ItemsCache.h"

namespace {

// The time one frame moves the clock on.
constexpr uint32_t kFrameMs = 40;
const char kOptions[] = "[options]\nfpslimit=0\n";

}  // namespace

ProtocolFrameHarness::ProtocolFrameHarness(const std::string& gfxPath) {
    fixture.WriteOptions(kOptions);
    std::error_code ignored;
    std::filesystem::copy_file(gfxPath, fixture.dir.Path("velmora.gfx"),
                               std::filesystem::copy_options::overwrite_existing, ignored);
    Client& made = fixture.MakeClient();
    // Without the graphics file nothing would be drawn: a setup fault, not a finding.
    if (!made.Init())
        std::abort();
    made.loginHosts = {"127.0.0.1"};
    made.loginPort = 1;
}

ProtocolFrameHarness::~ProtocolFrameHarness() = default;

void ProtocolFrameHarness::Run(const uint8_t* data, size_t size, const std::function<void()>& afterFrame) {
    if (size < 1)
        return;
    Client& client = this->client();
    Protocol* protocol = client.protocol;
    const bool inGame = data[0] & 1;
    const int piece = (data[0] >> 1) * 8 + 1;
    ++data;
    --size;

    ForgetStoredState();
    ForgetRecords();
    fixture.platform.clock.ticks = 100000;
    fixture.platform.clock.counter = 5000000;
    ResetClocks();
    if (inGame)
        client.StartGame(false);
    protocol->mode = inGame ? 1 : 0;
    protocol->awaitingAnswer = !inGame;

    Connection connection;
    InMessage message;
    for (size_t at = 0; at < size;) {
        int room = 0;
        uint8_t* space = connection.ReceiveSpace(room);
        if (room <= 0)
            break;
        const int take = int(std::min<size_t>(size - at, size_t(std::min(room, piece))));
        std::memcpy(space, data + at, size_t(take));
        connection.TakeReceived(take);
        at += size_t(take);
        while (connection.PopIncoming(message))
            protocol->Dispatch(message);
    }
    RunFrame();
    if (afterFrame)
        afterFrame();
    // The game screen's teardown belongs to the input that made it, and so
    // does one frame of the login screen after it, where the GUI deletes what
    // the teardown closed.
    if (client.game) {
        client.ReturnToMenu();
        RunFrame();
    }
}

void ProtocolFrameHarness::RunFrame() {
    Client& client = this->client();
    // What the handlers deferred, as the next pass's safe point would (a
    // quest log closed with the game screen is freed there).
    client.ApplyPendingChanges();
    client.patchRequested = false;
    if (client.game) {
        OpenEverySideWindow(*client.game);
        client.game->Update();
    }
    fixture.platform.clock.Advance(kFrameMs);

    // The main loop's drawing of one frame.
    Graphics* graphics = client.app->graphics;
    if (graphics->BeginScene()) {
        graphics->ClearScene(0xFF000000);
        if (client.menu)
            client.menu->DrawNotification();
        else if (client.game)
            client.game->Draw();
        client.app->gui->Update();
        if (client.game)
            StatusLine::Instance()->DrawMessages();
        graphics->EndScene();
    }
    client.ApplyPendingChanges();
    client.patchRequested = false;
}

void ProtocolFrameHarness::OpenEverySideWindow(GameInterface& game) {
    for (SideWindow* window : game.sideWindows) {
        if (window->minimized)
            window->ToggleMinimize(true);
        if (window->dialog)
            window->dialog->ClearFlag(GUIControl::kHidden);
    }
}

void ProtocolFrameHarness::ForgetStoredState() {
    // What the last game saved: the options (open channels, the window
    // layout), the container windows and the minimap.
    std::error_code ignored;
    const std::string folder = GetAppDataFolder();
    std::filesystem::remove(folder + "/containers.ini", ignored);
    std::filesystem::remove_all(folder + "/minimap", ignored);
    fixture.WriteOptions(kOptions);
    client().settings->Load();
    // What the last input's item records taught: whether an item carries a
    // count byte changes how the next input reads.
    ItemsCache* cache = ItemsCache::Instance();
    for (unsigned id = 0; id < ItemsCache::kMaxItems; ++id)
        cache->Set(nullptr, uint16_t(id));
}

void ProtocolFrameHarness::ForgetRecords() {
    Client& client = this->client();
    if (auto* engine = dynamic_cast<RecordingEngine*>(client.app->engine))
        engine->Clear();
    client.protocol->connection->ClearQueues();
    FakePlatform& platform = fixture.platform;
    platform.boxes.shown.clear();
    platform.boxes.answers.clear();
    platform.shell.opened.clear();
    platform.shell.showCommands.clear();
    platform.process.exits.clear();
}
