// The real client started straight into the game screen, as the enter-game
// message does, for what only happens while playing (Ctrl+S screenshots).
// It prints "game screen" once the game screen stands and then runs the
// main loop until its window is closed.
#include <cstdio>

#include "client/Client.h"
#include "engine/Clock.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"

int main() {
    GetTicks();
    GetMilliseconds();
    Client* client = Client::Instance();
    if (!client->Init()) {
        std::printf("start-up failed\n");
        return 1;
    }
    client->StartGame(false);
    // There is no server: a game connection being made keeps the game screen,
    // which an idle connection would give back for the login screen.
    client->protocol->connection->SetState(Connection::kConnecting);
    std::printf("game screen\n");
    std::fflush(stdout);
    client->Run();
    client->Shutdown();
    return 0;
}
