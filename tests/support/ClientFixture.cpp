#include "tests/support/ClientFixture.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "tests/support/RecordingEngine.h"
#include "tests/support/TestApp.h"

namespace {

// A back end whose screen read gives nothing, as DirectDraw's does.
class NoReadEngine : public RecordingEngine {
public:
    using RecordingEngine::RecordingEngine;

protected:
    uint8_t* ReadScreenInternal(int, int, int, int) override { return nullptr; }
};

GraphicsEngine* ScriptedFactory(int type) {
    if (type < kEngineOpenGL || type > kEngineDirectDraw)
        return nullptr;
    RecordingEngine* engine = ClientFixture::noScreenRead ? new NoReadEngine(type) : new RecordingEngine(type);
    engine->initResult = ClientFixture::failingEngines.count(type) == 0;
    return engine;
}

}  // namespace

std::set<int> ClientFixture::failingEngines;
bool ClientFixture::noScreenRead = false;

ClientFixture::ClientFixture() : dir("client"), savedFactory_(KEngine2::engineFactory) {
    KEngine2::engineFactory = &ScriptedFactory;
    failingEngines.clear();
    noScreenRead = false;
    platform.folders.appData = dir.Path("appdata");
    platform.folders.desktop = dir.Path("desktop");
    std::filesystem::create_directories(OptionsFolder());
}

ClientFixture::~ClientFixture() {
    client.reset();
    KEngine2::engineFactory = savedFactory_;
}

void ClientFixture::WriteGraphicsFile(uint32_t stamp, std::initializer_list<BlankSprite> extra) {
    GfxWriter writer;
    writer.Put(2, MakeTestGlyphSheet());
    writer.Put(3, GfxImage(64, 32));
    writer.Put(403, GfxImage(32, 32));
    writer.Put(5764, GfxImage(16, 16));
    writer.Put(6540, GfxImage(40, 10));
    for (const BlankSprite& sprite : extra)
        writer.Put(sprite.id, GfxImage(sprite.width, sprite.height));
    writer.Write(dir.Path("velmora.gfx"), stamp);
}

void ClientFixture::WriteOptions(const std::string& text) { WriteFileBytes(OptionsFolder() + "/velmora.ini", text); }

Client& ClientFixture::MakeClient() {
    client.reset();  // first, so that the new one becomes Client::Instance
    client = std::make_unique<Client>();
    return *client;
}

Client& ClientFixture::StartClient(const std::string& options, std::initializer_list<BlankSprite> extraSprites) {
    WriteGraphicsFile(1500000000, extraSprites);
    WriteOptions(options);
    Client& made = MakeClient();
    EXPECT_TRUE(made.Init());
    // A login from these tests goes to a closed port on this machine, never to
    // the built-in hosts: no name lookups, and a refusal comes at once.
    made.loginHosts = {"127.0.0.1"};
    made.loginPort = 1;
    return made;
}
