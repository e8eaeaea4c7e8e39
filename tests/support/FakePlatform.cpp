#include "tests/support/FakePlatform.h"

#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "tests/support/TestApp.h"

int ScriptedMessageBoxes::Show(const std::string& text, const std::string& caption, unsigned style,
                               void* owner) {
    shown.push_back({text, caption, style, owner});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (style & 0xF) == platform::kMbYesNo ? platform::kIdYes : platform::kIdOk;
}

FakeKnownFolders::FakeKnownFolders()
    : appData(TempPath("appdata")), desktop(TempPath("desktop")), commonAppData(TempPath("commonappdata")) {}

FakePlatform::FakePlatform() {
    platform::SetClock(&clock);
    platform::SetKeyState(&keys);
    platform::SetClipboard(&clipboard);
    platform::SetMessageBoxes(&boxes);
    platform::SetShell(&shell);
    platform::SetProcess(&process);
    platform::SetKnownFolders(&folders);
    ResetClocks();
    // With the fakes in place there is no desktop to show a window on, in the
    // Windows build either: input comes only from the test.
    KEngine2::windowless = true;
}

FakePlatform::~FakePlatform() {
    platform::SetClock(nullptr);
    platform::SetKeyState(nullptr);
    platform::SetClipboard(nullptr);
    platform::SetMessageBoxes(nullptr);
    platform::SetShell(nullptr);
    platform::SetProcess(nullptr);
    platform::SetKnownFolders(nullptr);
    ResetClocks();
    KEngine2::windowless = false;
}
