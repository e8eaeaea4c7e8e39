#pragma once

#include <initializer_list>
#include <memory>
#include <set>
#include <string>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "tests/support/Scratch.h"
#include "tests/support/FakePlatform.h"

// A client in a scratch working directory with its own application-data and
// desktop folders, fake platform services and recording back ends. Back ends
// of the types in failingEngines fail to initialise; with noScreenRead set
// they cannot read the screen back.
class ClientFixture {
public:
    ClientFixture();
    ~ClientFixture();
    ClientFixture(const ClientFixture&) = delete;
    ClientFixture& operator=(const ClientFixture&) = delete;

    // A blank sprite of a size, for what a test draws beyond the basics.
    struct BlankSprite {
        int id;
        int width;
        int height;
    };
    // A small graphics file with the sprites start-up and the login screen
    // use, and the extra ones.
    void WriteGraphicsFile(uint32_t stamp = 1500000000, std::initializer_list<BlankSprite> extra = {});
    // velmora.ini in the application-data folder.
    void WriteOptions(const std::string& text);
    std::string OptionsFolder() const { return dir.Path("appdata/VelmoraOnline"); }

    Client& MakeClient();
    // A client that has started on the login screen; fails the test otherwise.
    // The graphics file holds the extra sprites too.
    Client& StartClient(const std::string& options = "[options]\nfpslimit=0\n",
                        std::initializer_list<BlankSprite> extraSprites = {});

    static std::set<int> failingEngines;
    static bool noScreenRead;

    FakePlatform platform;
    ScratchDir dir;
    std::unique_ptr<Client> client;

private:
    KEngine2::EngineFactory savedFactory_;
};
