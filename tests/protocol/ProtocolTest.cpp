// The protocol over scripted sockets: the requests byte for byte, the stages
// from the login screen to the game, the boxes the player sees on the way,
// the dispatcher's error case, the connection-level handlers and the new
// login after a lost game connection.
#include <gtest/gtest.h>

#include <functional>

#include "client/CharacterList.h"
#include "client/Hosts.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"
#include "tests/support/LoginFixture.h"
#include "tests/support/LoopbackPeer.h"
#include "world/ItemsCache.h"
#include "world/Map.h"

namespace {

const char kDownloadText[] = "Download the new client from the website.";

std::vector<Row> TwoCharacters() {
    return {{"Aldric", "Velmora", "world-a", 7171, {10, 0, 0, 0, 0, 1, 12, 34, 56}, "Knight", 42},
            {"Brenna", "Velmora", "world-b", 7272, {145, 0, 0, 0, 0, 3, 80, 90, 100}, "Mage", 17}};
}

class ProtocolTest : public LoginTest {
protected:
    Protocol& protocol() { return *client->protocol; }
    GUISelect* List() { return dynamic_cast<GUISelect*>(client->app->gui->FindControl(CharacterList::kList)); }
    GUIButton* BoxButton() {
        return dynamic_cast<GUIButton*>(client->app->gui->FindControl(GUIManager::kMessageButtonId));
    }

    // Connects in the mode and waits until its login request is out.
    void ConnectAndSendLogin(uint8_t mode, const std::string& host = "") {
        protocol().account = "acc";
        protocol().password = "pw";
        protocol().characterName = "Aldric";
        protocol().Connect(mode, {host.empty() ? (mode == 0 ? "login" : "world-a") : host}, 7171);
        ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0 && !sockets->sent.empty(); }));
        SentSinceLastCall();
    }
    // Lets the scripted server's frames arrive and be handled.
    void Answer(const Bytes& payload) {
        sockets->incoming.push_back(Frame(payload));
        ASSERT_TRUE(RunUntil([&] { return sockets->incoming.empty(); }));
        client->RunPass();
    }
    // Hands one frame straight to the dispatcher.
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        protocol().Dispatch(message);
    }
    // From the login screen to the game with the first character.
    void EnterTheGame() {
        ConnectAndSendLogin(0);
        Answer(CharacterListMessage(0, TwoCharacters()));
        ASSERT_NE(List(), nullptr);
        CharacterList::OnEnterGameClicked(protocol().characterList);
        ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0 && State() == Connection::kConnected; }));
        Answer(EnterGameMessage(0x10000001, 0x10000001, 0, 1));
        ASSERT_NE(client->game, nullptr);
        // The game screen joins its chat channels at once; those requests
        // go out with the next passes.
        RunUntilNothingMoreIsSent();
        SentSinceLastCall();
    }
};

TEST_F(ProtocolTest, LoginRequestsAreSentByteForByte) {
    const struct {
        const char* name;
        std::string account;
        std::string password;
        std::string sentAccount;  // what goes on the wire
    } cases[] = {
        {"an account", "Aldric", "secret", "Aldric"},
        {"empty fields go out as they are", "", "", ""},
        {"a text ends at its first NUL, and its count says so", std::string("ab\0cd", 5), "pw", "ab"},
    };
    for (const auto& c : cases) {
        Restart();
        ItemsCache::Instance()->version = 1234;
        protocol().account = c.account;
        protocol().password = c.password;
        protocol().Connect(0, {"login"}, 5657);
        ASSERT_TRUE(RunUntil([&] { return !sockets->sent.empty(); })) << c.name;
        EXPECT_EQ(SentSinceLastCall(), Frame(LoginRequest(c.sentAccount, c.password, kStamp))) << c.name;

        // The game login: the same account, the character and the version of
        // the items cache.
        protocol().connection->Disconnect();
        protocol().characterName = "Brenna";
        protocol().Connect(1, {"world"}, 7171);
        const size_t before = sockets->sent.size();
        ASSERT_TRUE(RunUntil([&] { return sockets->sent.size() > before; })) << c.name;
        EXPECT_EQ(SentSinceLastCall(), Frame(GameLoginRequest(c.sentAccount, c.password, "Brenna", 1234))) << c.name;
    }
}

TEST_F(ProtocolTest, PongAndLogoutAreSentByteForByte) {
    Start();
    ConnectAndSendLogin(1);
    const size_t before = sockets->sent.size();
    protocol().SendPong(0x1234);
    protocol().SendLogout();
    ASSERT_TRUE(RunUntil([&] { return sockets->sent.size() >= before + 8; }));
    EXPECT_EQ(SentSinceLastCall(), Join({Frame({0x19, 0x34, 0x12}), Frame({0x13})}));
}

TEST_F(ProtocolTest, TheLoginIsTheFirstThingANewServerReads) {
    Start();
    protocol().account = "acc";
    protocol().password = "pw";
    // Requests asked for while the connection is being made.
    sockets->HoldConnects();
    protocol().Connect(0, {"login"}, 5657);
    protocol().SendLogout();
    protocol().SendPong(7);
    client->RunPass();
    sockets->Release();
    ASSERT_TRUE(RunUntil([&] { return !sockets->sent.empty(); }));
    for (int i = 0; i < 5; ++i)
        client->RunPass();
    EXPECT_EQ(SentSinceLastCall(), Frame(LoginRequest("acc", "pw", kStamp)));

    // A request made after a connection was lost never reaches the next server.
    Restart();
    ConnectAndSendLogin(1);
    sockets->peerClosed = true;
    ASSERT_TRUE(RunUntil([&] { return State() == Connection::kIdle; }));
    sockets->peerClosed = false;
    protocol().SendPong(9);
    protocol().Connect(0, {"login"}, 5657);
    const size_t before = sockets->sent.size();
    ASSERT_TRUE(RunUntil([&] { return sockets->sent.size() > before; }));
    for (int i = 0; i < 5; ++i)
        client->RunPass();
    EXPECT_EQ(SentSinceLastCall(), Frame(LoginRequest("acc", "pw", kStamp)));
}

TEST_F(ProtocolTest, FromTheLoginScreenIntoTheGame) {
    Start();
    ItemsCache::Instance()->version = 5;
    protocol().account = "acc";
    protocol().password = "pw";
    protocol().Connect(0, client->loginHosts, client->loginPort);
    EXPECT_EQ(BoxTitle(), "Connecting");
    EXPECT_EQ(BoxText(), "Connecting to the login server...");
    EXPECT_FALSE(BoxCanClose());
    ASSERT_NE(protocol().characterList, nullptr);

    ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0; }));
    EXPECT_EQ(BoxText(), "Connected, waiting for character list...");
    EXPECT_FALSE(BoxCanClose());
    EXPECT_EQ(SentSinceLastCall(), Frame(LoginRequest("acc", "pw", kStamp)));

    // The list comes, the box goes and so does the login connection.
    sockets->incoming.push_back(Frame(CharacterListMessage(0, TwoCharacters())));
    ASSERT_TRUE(RunUntil([&] { return List() != nullptr; }));
    EXPECT_EQ(List()->items.size(), 2u);
    EXPECT_FALSE(BoxOpen());
    EXPECT_EQ(State(), Connection::kIdle);

    // "Enter Game" with the second row.
    List()->selectedIndex = 1;
    CharacterList::OnEnterGameClicked(protocol().characterList);
    EXPECT_EQ(protocol().characterName, "Brenna");
    EXPECT_EQ(BoxText(), "Connecting to the game world...");
    EXPECT_FALSE(BoxCanClose());
    ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0; }));
    EXPECT_EQ(sockets->Connects(), (std::vector<std::string>{"login", "world-b"}));
    EXPECT_EQ(BoxText(), "Connected, waiting for game world data...");
    EXPECT_FALSE(BoxCanClose());
    EXPECT_EQ(SentSinceLastCall(), Frame(GameLoginRequest("acc", "pw", "Brenna", 5)));

    // The game starts in place of the login screen.
    protocol().layoutLoaded = 1;
    platform.clock.Advance(250);
    sockets->incoming.push_back(Frame(EnterGameMessage(0x10000001, 0x10000002, 1, 77)));
    ASSERT_TRUE(RunUntil([&] { return client->game != nullptr; }));
    EXPECT_EQ(client->menu, nullptr);
    EXPECT_FALSE(BoxOpen());
    EXPECT_EQ(client->game->map->playerId, 0x10000001u);
    EXPECT_EQ(client->game->map->camera->followedId, 0x10000002);
    EXPECT_EQ(client->game->enterGameTick, GetTicks());
    // No item records came: the cache keeps the version of what it holds.
    EXPECT_EQ(ItemsCache::Instance()->version, 5u);
    EXPECT_FALSE(ReadFileBytes(ItemsCache::FilePath()).empty());
    EXPECT_EQ(protocol().layoutLoaded, 0);
    EXPECT_EQ(State(), Connection::kConnected);
}

TEST_F(ProtocolTest, FailuresShowAnErrorBoxThePlayerCanClose) {
    const struct {
        const char* name;
        uint8_t mode;
        std::function<void(FakeSockets&)> before;  // before connecting
        std::function<void(FakeSockets&)> after;   // once the login request is out
        std::string text;
    } cases[] = {
        {"the login server refuses", 0, [](FakeSockets& s) { s.refusingHosts = {"login"}; }, nullptr,
         "Connecting failed, error code #10061."},
        {"the login server is not found", 0, [](FakeSockets& s) { s.unknownHosts = {"login"}; }, nullptr,
         "Connecting failed, error code #11001."},
        {"the game world refuses", 1, [](FakeSockets& s) { s.refusingHosts = {"world-a"}; }, nullptr,
         "Connecting failed, error code #10061."},
        {"the login server closes before the list", 0, nullptr, [](FakeSockets& s) { s.peerClosed = true; },
         "The connection was closed."},
        {"the connection is reset before the list", 0, nullptr, [](FakeSockets& s) { s.receiveError = 10054; },
         "Connection lost, error code #10054."},
        {"the game world closes before the game data", 1, nullptr, [](FakeSockets& s) { s.peerClosed = true; },
         "The connection was closed."},
        {"the login request cannot be sent", 0, [](FakeSockets& s) { s.sendError = 10053; }, nullptr,
         "Connection lost, error code #10053."},
        {"the server ends the session unasked", 0, nullptr,
         [](FakeSockets& s) { s.incoming.push_back(Frame({0x16})); }, "The connection was closed."},
    };
    for (const auto& c : cases) {
        Restart();
        if (c.before)
            c.before(*sockets);
        protocol().Connect(c.mode, {c.mode == 0 ? "login" : "world-a"}, 7171);
        if (c.after) {
            ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0; })) << c.name;
            c.after(*sockets);
        }
        ASSERT_TRUE(RunUntil([&] { return BoxTitle() == "Error"; })) << c.name << ": " << BoxText();
        EXPECT_EQ(BoxText(), c.text) << c.name;
        EXPECT_TRUE(BoxCanClose()) << c.name;
        EXPECT_EQ(State(), Connection::kIdle) << c.name;
        EXPECT_EQ(client->menu != nullptr, true) << c.name;
        // Close takes the box away.
        BoxButton()->action(BoxButton()->actionContext);
        client->RunPass();
        EXPECT_FALSE(BoxOpen()) << c.name;
    }
}

TEST_F(ProtocolTest, ABadOpcodeStopsTheFrameWithANetworkingError) {
    const struct {
        const char* name;
        Bytes payload;
        std::string text;  // empty: no box
        size_t pongs;      // answers still queued afterwards
    } cases[] = {
        {"a bad opcode first", {0x41, 0, 0}, "A networking error occured (#0, 3/5)", 0},
        {"opcode 0", {0x00}, "A networking error occured (#0, 3/3)", 0},
        {"behind a ping, which it names", {0x19, 0x34, 0x12, 0x41}, "A networking error occured (#25, 6/6)", 0},
        {"behind a disconnect", {0x16, 0xFF, 1, 2}, "A networking error occured (#22, 4/6)", 0},
        {"the highest byte", {0x19, 1, 0, 0x19, 2, 0, 0xFF}, "A networking error occured (#25, 9/9)", 0},
        {"behind the last opcode, which is read", {0x40, 0, 0, 0, 0x41}, "A networking error occured (#64, 7/7)", 0},
        {"a ping cut short is answered with 0", {0x19, 7}, "", 1},
    };
    Start();
    for (const auto& c : cases) {
        platform.boxes.shown.clear();
        protocol().connection->ClearQueues();
        protocol().connection->SetState(Connection::kConnected);
        Dispatch(c.payload);
        if (c.text.empty()) {
            EXPECT_TRUE(platform.boxes.shown.empty()) << c.name;
            EXPECT_EQ(State(), Connection::kConnected) << c.name;
        } else {
            ASSERT_EQ(platform.boxes.shown.size(), 1u) << c.name;
            EXPECT_EQ(platform.boxes.shown[0].text, c.text) << c.name;
            EXPECT_EQ(platform.boxes.shown[0].caption, "Networking Error") << c.name;
            EXPECT_EQ(platform.boxes.shown[0].style, platform::kMbOk | platform::kMbIconExclamation) << c.name;
            EXPECT_EQ(State(), Connection::kIdle) << c.name;
        }
        EXPECT_EQ(protocol().connection->OutgoingCount(), c.pongs) << c.name;
    }
    protocol().connection->SetState(Connection::kIdle);
}

TEST_F(ProtocolTest, APingIsAnsweredWithItsValueAndTheFrameReadOn) {
    Start();
    ConnectAndSendLogin(1);
    sockets->incoming.push_back(Frame({0x19, 0x34, 0x12, 0x04, 0, 0}));
    ASSERT_TRUE(RunUntil([&] { return !sockets->sent.empty() && sockets->incoming.empty(); }));
    client->RunPass();
    EXPECT_EQ(SentSinceLastCall(), Frame({0x19, 0x34, 0x12}));

    // A disconnect comes first; what follows it in the frame is still handled.
    protocol().connection->ClearQueues();
    Dispatch({0x16, 0x19, 5, 0});
    EXPECT_EQ(State(), Connection::kIdle);
    EXPECT_EQ(protocol().connection->OutgoingCount(), 1u);
}

TEST_F(ProtocolTest, NewVersionAndErrorTexts) {
    const struct {
        const char* name;
        uint8_t mode;
        std::string text;
        std::string title;  // of the box afterwards
        std::string shown;
        bool connected;     // afterwards
    } cases[] = {
        {"download text at the login server", 0, kDownloadText, "New Version", "A new version will be downloaded.",
         false},
        {"download text in the game world", 1, kDownloadText, "New Version", "A new version will be downloaded.",
         true},
        {"another text at the login server", 0, "Account name or password is not correct.", "Error",
         "Account name or password is not correct.", false},
        {"another text in the game world", 1, "Character is banned.", "Error", "Character is banned.", true},
        {"no text in the game world changes nothing", 1, "", "Connecting", "Connected, waiting for game world data...",
         true},
        // The login is over without an answer: the waiting box must not stay.
        {"no text at the login server", 0, "", "Error", "The connection was closed.", false},
    };
    for (const auto& c : cases) {
        Restart();
        ConnectAndSendLogin(c.mode);
        Answer(NewVersionMessage(c.text, 42));
        EXPECT_EQ(BoxTitle(), c.title) << c.name;
        EXPECT_EQ(BoxText(), c.shown) << c.name;
        EXPECT_EQ(State() == Connection::kConnected, c.connected) << c.name;
        EXPECT_EQ(BoxCanClose(), c.title != "Connecting") << c.name;
        if (c.title != "New Version")
            continue;
        // "Patch" only records the request; the next pass of the main loop
        // takes it up.
        GUIButton* patch = BoxButton();
        ASSERT_NE(patch, nullptr);
        EXPECT_EQ(patch->caption, "Patch") << c.name;
        patch->action(patch->actionContext);
        EXPECT_TRUE(client->patchRequested) << c.name;
        EXPECT_EQ(client->patchVersion, 42) << c.name;
        // The patch file server cannot be reached: the self-update ends in
        // its error box within the pass.
        sockets->refusingHosts.insert(kPatchHost);
        client->RunPass();
        EXPECT_FALSE(client->patchRequested) << c.name;
        EXPECT_EQ(BoxTitle(), "Patching Error") << c.name;

        // A later box is a plain one again.
        protocol().Connect(0, {"login"}, 7171);
        ASSERT_NE(BoxButton(), nullptr);
        EXPECT_EQ(BoxButton()->caption, "Close") << c.name;
        EXPECT_EQ(BoxText(), "Connecting to the login server...") << c.name;
    }
}

TEST_F(ProtocolTest, CharacterListMessages) {
    Start();
    // No characters: the dialog still opens, empty, and the login ends.
    ConnectAndSendLogin(0);
    Answer(CharacterListMessage(0, {}));
    ASSERT_NE(List(), nullptr);
    EXPECT_TRUE(List()->items.empty());
    EXPECT_FALSE(BoxOpen());
    EXPECT_EQ(State(), Connection::kIdle);
    CharacterList::OnEnterGameClicked(protocol().characterList);
    EXPECT_FALSE(BoxOpen());
    EXPECT_EQ(sockets->Connects().size(), 1u);

    // Another list while the dialog is open replaces its rows.
    ConnectAndSendLogin(0);
    Answer(CharacterListMessage(0, TwoCharacters()));
    int dialogs = 0;
    for (const GUIControl* control : client->app->gui->root->children)
        dialogs += control->id == CharacterList::kDialog ? 1 : 0;
    EXPECT_EQ(dialogs, 1);
    ASSERT_EQ(List()->items.size(), 2u);
    EXPECT_EQ(List()->items[1].text, "Brenna");
}

TEST_F(ProtocolTest, ASecondConnectWhileConnectedSendsTheLoginOfTheNewMode) {
    Start();
    ConnectAndSendLogin(0);
    protocol().Connect(1, {"world-a"}, 7171);
    EXPECT_EQ(protocol().mode, 1);
    EXPECT_EQ(protocol().loginSent, 0);
    EXPECT_EQ(BoxText(), "Connecting to the game world...");
    const size_t before = sockets->sent.size();
    ASSERT_TRUE(RunUntil([&] { return sockets->sent.size() > before; }));
    EXPECT_EQ(SentSinceLastCall(), Frame(GameLoginRequest("acc", "pw", "Aldric", ItemsCache::Instance()->version)));
    EXPECT_EQ(sockets->Connects().size(), 1u);
}

TEST_F(ProtocolTest, ALostGameConnectionLogsInAgainWithTheStoredAccount) {
    const struct {
        const char* name;
        std::function<void(FakeSockets&, Protocol&)> lose;
    } cases[] = {
        {"the game server closes", [](FakeSockets& s, Protocol&) { s.peerClosed = true; }},
        {"the game server says disconnect", [](FakeSockets& s, Protocol&) { s.incoming.push_back(Frame({0x16})); }},
        {"the game server sends a bad opcode",
         [](FakeSockets& s, Protocol&) { s.incoming.push_back(Frame({0x41, 0, 0})); }},
        {"a send fails",
         [](FakeSockets& s, Protocol& p) {
             s.sendError = 10054;
             p.SendPong(1);
         }},
    };
    for (const auto& c : cases) {
        Restart();
        EnterTheGame();
        client->app->SetTitle("Velmora Online (Aldric)", true);
        c.lose(*sockets, protocol());
        ASSERT_TRUE(RunUntil([&] { return client->menu != nullptr; })) << c.name;
        sockets->peerClosed = false;
        sockets->sendError = 0;
        EXPECT_EQ(client->game, nullptr) << c.name;
        EXPECT_EQ(client->app->title, "Velmora Online") << c.name;
        EXPECT_EQ(BoxText(), "Connecting to the login server...") << c.name;

        // The same account goes to the login server again, untyped, and the
        // list comes back.
        const size_t before = sockets->sent.size();
        ASSERT_TRUE(RunUntil([&] { return sockets->sent.size() > before; })) << c.name;
        EXPECT_EQ(SentSinceLastCall(), Frame(LoginRequest("acc", "pw", kStamp))) << c.name;
        sockets->incoming.push_back(Frame(CharacterListMessage(0, TwoCharacters())));
        ASSERT_TRUE(RunUntil([&] { return List() != nullptr; })) << c.name;
        for (int i = 0; i < 5; ++i)
            client->RunPass();
        // One return and one new login per loss.
        EXPECT_EQ(sockets->Connects(), (std::vector<std::string>{"login", "world-a", "login"})) << c.name;
    }
}

TEST_F(ProtocolTest, EnterGameConnectsToTheHostAndPortOfTheChosenRow) {
    sockets.reset();  // real sockets on 127.0.0.1
    Start();
    LoopbackListener world;
    ASSERT_TRUE(world.IsListening());
    protocol().account = "acc";
    protocol().password = "pw";
    Dispatch(CharacterListMessage(0, {{"Aldric", "", "127.0.0.1", RefusingPort(), {}, "", 1},
                                      {"Brenna", "", "127.0.0.1", world.Port(), {}, "", 2}}));
    ASSERT_NE(List(), nullptr);

    // The first row's world refuses.
    CharacterList::OnEnterGameClicked(protocol().characterList);
    ASSERT_TRUE(RunUntil([&] { return BoxTitle() == "Error"; }));
    EXPECT_EQ(BoxText(), "Connecting failed, error code #10061.");

    List()->selectedIndex = 1;
    CharacterList::OnEnterGameClicked(protocol().characterList);
    std::unique_ptr<LoopbackPeer> peer = world.Accept();
    ASSERT_NE(peer, nullptr);
    ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0; }));
    for (int i = 0; i < 3; ++i)
        client->RunPass();
    const Bytes expected = Frame(GameLoginRequest("acc", "pw", "Brenna", ItemsCache::Instance()->version));
    EXPECT_EQ(peer->Receive(expected.size()), expected);
}

}  // namespace
