#pragma once

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

// Stand-ins for the operating-system services, installed by tests.

class FakeClock : public platform::Clock {
public:
    uint32_t TickCount() override { return ticks; }
    uint64_t PerformanceCounter() override { return counter; }
    uint64_t PerformanceFrequency() override { return frequency; }
    // Moves both clocks on.
    void Advance(uint32_t milliseconds) {
        ticks += milliseconds;
        counter += uint64_t(milliseconds) * frequency / 1000;
    }

    uint32_t ticks = 100000;
    uint64_t counter = 5000000;
    uint64_t frequency = 1000;  // counts per second
};

class FakeKeyState : public platform::KeyState {
public:
    bool IsAsyncKeyDown(int virtualKey) override { return down.count(virtualKey) != 0; }
    bool IsKeyDown(int virtualKey) override { return down.count(virtualKey) != 0; }
    std::set<int> down;
};

class FakeClipboard : public platform::Clipboard {
public:
    bool GetText(std::string& out) override {
        out = available ? text : std::string();
        return available;
    }
    bool SetText(const std::string& value) override {
        if (!canOpen)
            return false;
        text = value;
        available = true;
        return true;
    }
    std::string text;
    bool available = false;
    bool canOpen = true;
};

// Answers message boxes from a script; records what was shown. With the script
// used up, a box takes its first button (OK or Yes).
class ScriptedMessageBoxes : public platform::MessageBoxes {
public:
    struct Shown {
        std::string text;
        std::string caption;
        unsigned style;
        void* owner;
    };
    int Show(const std::string& text, const std::string& caption, unsigned style, void* owner) override;

    std::deque<int> answers;
    std::vector<Shown> shown;
};

class RecordingShell : public platform::Shell {
public:
    bool Open(const std::string& target, const std::string& parameters, int showCommand) override {
        opened.push_back(parameters.empty() ? target : target + " " + parameters);
        showCommands.push_back(showCommand);
        return result;
    }
    std::vector<std::string> opened;
    std::vector<int> showCommands;
    bool result = true;
};

// Records the exit codes the program asked to end with, and returns, so that
// the test goes on.
class RecordingProcess : public platform::Process {
public:
    void Exit(int code) override { exits.push_back(code); }
    std::vector<int> exits;
};

// The application-data and desktop folders. By default both lie in the
// process's scratch area (TempPath), so that nothing a test saves reaches the
// user's real folders.
class FakeKnownFolders : public platform::KnownFolders {
public:
    FakeKnownFolders();
    std::string Get(platform::KnownFolder folder) override {
        switch (folder) {
        case platform::KnownFolder::AppData: return appData;
        case platform::KnownFolder::CommonAppData: return commonAppData;
        default: return desktop;
        }
    }
    std::string appData;
    std::string desktop;
    std::string commonAppData;
};

// Installs all the fakes for the life of the object and restores the system's
// services afterwards.
class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FakeClock clock;
    FakeKeyState keys;
    FakeClipboard clipboard;
    ScriptedMessageBoxes boxes;
    RecordingShell shell;
    RecordingProcess process;
    FakeKnownFolders folders;
};
