// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself as the player would: the demo account on the login
// server of "loginserver.txt", then "Enter Game" with the first character as
// soon as the character list is shown. It prints which server opcodes the
// client reads, every change of screen and every platform message box
// ("Networking Error"), answered at once so that none waits for a click.
// tests/wine/client/window_end.py uses it too.
#include <cstdio>
#include <string>

#include "client/CharacterList.h"
#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"

namespace {

// The fake server's demo account.
const char kAccount[] = "demo";
const char kPassword[] = "demo";

class PrintedMessageBoxes : public platform::MessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned style, void*) override {
        std::printf("platform box %s|%s\n", caption.c_str(), text.c_str());
        std::fflush(stdout);
        return (style & 0xF) == platform::kMbYesNo ? platform::kIdYes : platform::kIdOk;
    }
};

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

int main() {
    static PrintedMessageBoxes boxes;
    platform::SetMessageBoxes(&boxes);

    Client* client = Client::Instance();
    if (!client->Init()) {
        Say("Main instance creation failed, exiting...");
        return 1;
    }
    std::string handlers = "handlers";
    for (int opcode = 1; opcode <= Protocol::kLastOpcode; ++opcode)
        if (Protocol::HasHandler(opcode))
            handlers += " " + std::to_string(opcode);
    Say(handlers);

    // What the login screen's Login button does with typed fields.
    Protocol* protocol = client->protocol;
    protocol->account = kAccount;
    protocol->password = kPassword;
    protocol->Connect(0, client->loginHosts, client->loginPort);

    bool entered = false;
    std::string screen;
    while (client->app->running) {
        client->RunPass();
        if (!client->app->running)
            break;
        CharacterList* list = protocol->characterList;
        if (!entered && list && !list->characters.empty() &&
            client->app->gui->FindControl(CharacterList::kDialog)) {
            CharacterList::OnEnterGameClicked(list);
            entered = true;
        }
        const std::string now = client->game ? "screen game" : client->menu ? "screen menu" : "screen none";
        if (now != screen) {
            screen = now;
            Say(screen);
        }
    }
    client->Shutdown();
    Say("ended");
    return 0;
}
