#include "tests/wine/support/Probe.h"

#include <cstdio>
#include <memory>
#include <string>

#include "client/CharacterList.h"
#include "client/Client.h"
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"

namespace probe {

namespace {

class PrintedMessageBoxes : public platform::MessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, unsigned style, void*) override {
        std::printf("platform box %s|%s\n", caption.c_str(), text.c_str());
        std::fflush(stdout);
        return (style & 0xF) == platform::kMbYesNo ? platform::kIdYes : platform::kIdOk;
    }
};

}  // namespace

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void Report(std::string& last, const std::string& now) {
    if (now == last)
        return;
    last = now;
    Say(now);
}

std::string Rect(const GUIControl* control) {
    return std::to_string(control->x) + " " + std::to_string(control->y) + " " + std::to_string(control->width) +
           " " + std::to_string(control->height);
}

std::string RectField(const GUIControl* control) {
    if (!control)
        return "-";
    return std::to_string(control->x) + "," + std::to_string(control->y) + "," + std::to_string(control->width) +
           "," + std::to_string(control->height);
}

std::string TextField(std::string text) {
    for (char& c : text)
        if (c == ' ')
            c = '_';
    return text.empty() ? "-" : text;
}

std::string ScreenLine(const Client& client) {
    return client.game ? "screen game" : client.menu ? "screen menu" : "screen none";
}

void LogInDemo(Client& client) {
    Protocol* protocol = client.protocol;
    protocol->account = "demo";
    protocol->password = "demo";
    protocol->Connect(0, client.loginHosts, client.loginPort);
}

void AutoEnter::Step(Client& client) {
    if (again_ && client.game) {
        entered_ = false;
        return;
    }
    CharacterList* list = client.protocol->characterList;
    if (!entered_ && list && !list->characters.empty() && client.app->gui->FindControl(CharacterList::kDialog)) {
        CharacterList::OnEnterGameClicked(list);
        entered_ = true;
    }
}

Hooks InGameHooks(std::function<std::string(Client&)> state, bool again) {
    struct Reported {
        explicit Reported(bool again) : enter(again) {}
        AutoEnter enter;
        std::string screen;
        std::string state;
    };
    auto reported = std::make_shared<Reported>(again);
    Hooks hooks;
    hooks.started = LogInDemo;
    hooks.pass = [reported, state](Client& client) {
        reported->enter.Step(client);
        Report(reported->screen, ScreenLine(client));
        if (client.game)
            Report(reported->state, state(client));
    };
    return hooks;
}

int Run(const Hooks& hooks) {
    static PrintedMessageBoxes boxes;
    platform::SetMessageBoxes(&boxes);
    // The program's clocks start with it, as in velmora.exe.
    GetTicks();
    GetMilliseconds();

    Client* client = Client::Instance();
    if (!client->Init()) {
        Say("Main instance creation failed, exiting...");
        return 1;
    }
    if (hooks.started)
        hooks.started(*client);
    while (client->app->running) {
        client->RunPass();
        if (client->app->running && hooks.pass)
            hooks.pass(*client);
    }
    if (hooks.ending)
        hooks.ending(*client);
    client->Shutdown();
    Say("ended");
    return 0;
}

}  // namespace probe
