// The client as velmora.exe runs it (same start-up, same main-loop passes),
// which logs in by itself as the player would: the demo account on the login
// server of "loginserver.txt", then "Enter Game" with the first character as
// soon as the character list is shown. It prints every change of screen and every platform message box
// ("Networking Error"), answered at once so that none waits for a click.
// tests/wine/client/window_end.py uses it too.
#include <string>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "tests/wine/support/Probe.h"

int main() {
    probe::AutoEnter enter;
    std::string screen;
    probe::Hooks hooks;
    hooks.started = [](Client& client) { probe::LogInDemo(client); };
    hooks.pass = [&](Client& client) {
        enter.Step(client);
        probe::Report(screen, probe::ScreenLine(client));
    };
    return probe::Run(hooks);
}
