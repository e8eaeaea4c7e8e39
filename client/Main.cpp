// The program's entry point. It reads no command-line arguments.
#include <cstdio>

#include "client/Client.h"
#include "engine/Clock.h"
#include "platform/Platform.h"

namespace {

// What a finished self-update leaves behind: the old program, renamed by the
// patch program while it was still running.
const char kOldExecutable[] = "Velmora_old.exe";

void RemoveOldExecutable() {
    FILE* file = std::fopen(kOldExecutable, "rb");
    if (!file)
        return;
    std::fclose(file);
    platform::RemoveFile(kOldExecutable);
    platform::SleepMs(1000);
}

}  // namespace

int main() {
    // The clock bases are taken here, on the main thread, before the status
    // and screenshot threads read the clocks.
    GetTicks();
    GetMilliseconds();

    Client* client = Client::Instance();
    RemoveOldExecutable();
    if (!client->Init()) {
        std::printf("Main instance creation failed, exiting...\n");
        // A back end may be running already: end at once, as every failure
        // end does, so the exit code is always this one.
        platform::EndProcess(1);
        return 1;
    }
    client->Run();
    client->Shutdown();
    return 0;
}
