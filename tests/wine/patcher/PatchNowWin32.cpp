// The client as velmora.exe starts it, with the self-update asked for before
// its first pass, as the "Patch" button of the "New Version" box asks for it:
// the version comes from VELMORA_TEST_PATCH_VERSION. Linked with the back end
// that draws nothing and reports the GUI's message boxes on standard output.
#include <cstdio>
#include <cstdlib>

#include "client/Client.h"
#include "engine/Clock.h"

int main() {
    GetTicks();
    GetMilliseconds();
    Client* client = Client::Instance();
    if (!client->Init()) {
        std::printf("Main instance creation failed, exiting...\n");
        std::fflush(stdout);
        return 1;
    }
    const char* version = std::getenv("VELMORA_TEST_PATCH_VERSION");
    client->RunPatcher(version ? std::atoi(version) : 0);
    std::printf("patch requested\n");
    std::fflush(stdout);
    client->Run();
    client->Shutdown();
    return 0;
}
