// The game connection's receive path on arbitrary bytes: cut into frames as
// they arrive in pieces, every frame dispatched through the protocol's handler
// table, on the login screen at the login server or, when the first byte says
// so, with a game screen at the game world. The client is a real one without
// a window, drawing nothing; its files go to a scratch folder.
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "client/Client.h"
#include "client/MainMenu.h"
#include "client/Settings.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"

namespace {

class NullEngine : public GraphicsEngine {
protected:
    bool InitInternal() override { return true; }
    bool BeginSceneInternal() override { return true; }
};

GraphicsEngine* MakeNullEngine(int) { return new NullEngine(); }

// The "Networking Error" box is the platform's: answered at once, quietly.
class QuietBoxes : public platform::MessageBoxes {
public:
    int Show(const std::string&, const std::string&, unsigned, void*) override { return platform::kIdOk; }
};

const char kScratchPrefix[] = "velmora-fuzz-protocol-";

class ScratchFolders : public platform::KnownFolders {
public:
    std::string Get(platform::KnownFolder) override { return folder; }
    std::string folder = "/tmp/" + std::string(kScratchPrefix) + std::to_string(::getpid());
};

// A run that ends in a crash or a time-out never gets to its exit handler:
// the next run removes the folders of processes that no longer exist.
void RemoveStaleScratchFolders() {
    const std::string prefix = kScratchPrefix;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/tmp", error)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid <= 0 || pid == long(::getpid()) || ::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        std::error_code ignored;
        std::filesystem::remove_all(entry.path(), ignored);
    }
}

ScratchFolders* g_folders = nullptr;

Client* MakeClient() {
    RemoveStaleScratchFolders();
    g_folders = new ScratchFolders();
    std::filesystem::create_directories(g_folders->folder);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(g_folders->folder, ignored);
    });
    platform::SetKnownFolders(g_folders);
    platform::SetMessageBoxes(new QuietBoxes());
    KEngine2::engineFactory = &MakeNullEngine;

    // What Client::Init does, but for the window and the graphics file.
    Client* client = Client::Instance();
    client->protocol = new Protocol();
    client->settings = new Settings();
    client->CreateEngine(kEngineDirect3D);
    client->menu = new MainMenu();
    return client;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 20)
        return 0;
    static Client* client = MakeClient();
    Protocol* protocol = client->protocol;

    // The first byte: which screen, and the size of the pieces the bytes
    // arrive in.
    const bool inGame = data[0] & 1;
    const int piece = (data[0] >> 1) * 8 + 1;
    ++data;
    --size;
    if (inGame && !client->game)
        client->StartGame(false);
    else if (!inGame && client->game)
        client->ReturnToMenu();
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
    // What the handlers queued or closed goes at the next frame.
    client->app->gui->Update();
    client->patchRequested = false;
    // And what they deferred, as the next pass's safe point would (a quest
    // log closed with the game screen is freed there).
    client->ApplyPendingChanges();
    return 0;
}
