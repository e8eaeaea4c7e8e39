#pragma once

#include <functional>
#include <string>

class Client;
class GUIControl;

// The client as velmora.exe runs it (same start-up, same main-loop passes),
// printing what a Wine driver waits for. Message boxes are printed as
// "platform box <caption>|<text>" and answered Yes or OK.
namespace probe {

// One line on standard output, flushed at once.
void Say(const std::string& line);
// Says `now` when it differs from what was said last of its kind.
void Report(std::string& last, const std::string& now);
// "x y width height" of a control.
std::string Rect(const GUIControl* control);
// The fields of "key=value" state lines: "x,y,width,height" of a control ("-"
// for none), and a text with "_" for its blanks ("-" when empty).
std::string RectField(const GUIControl* control);
std::string TextField(std::string text);
// "screen game", "screen menu" or "screen none".
std::string ScreenLine(const Client& client);
// The fake server's demo account, sent as the login screen's button sends it.
void LogInDemo(Client& client);

// Presses "Enter Game" once, as soon as the character list shows characters;
// with `again`, once each time the list comes back, so that a logout leads
// into the game again.
class AutoEnter {
public:
    explicit AutoEnter(bool again = false) : again_(again) {}
    void Step(Client& client);

private:
    bool again_;
    bool entered_ = false;
};

struct Hooks {
    std::function<void(Client&)> started;  // after the client's start-up
    std::function<void(Client&)> pass;     // after every pass while the program runs
    std::function<void(Client&)> ending;   // after the main loop, before the shutdown
};

// The hooks of a probe that logs in with the demo account, enters the game
// (with `again`, after every logout too) and says the screen line and, while
// the game screen exists, `state(client)` whenever either changes.
Hooks InGameHooks(std::function<std::string(Client&)> state, bool again = false);

// Starts the client, runs its main loop with the hooks, shuts it down and
// says "ended"; the program's exit code.
int Run(const Hooks& hooks);


}  // namespace probe
