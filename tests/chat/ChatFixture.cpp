#include "tests/chat/ChatFixture.h"

std::tm chatTestTime = [] {
    std::tm time{};
    time.tm_hour = 12;
    time.tm_min = 34;
    time.tm_sec = 56;
    return time;
}();

namespace {
bool TestClock(std::tm& out) {
    out = chatTestTime;
    return true;
}
}  // namespace

ChatTest::ChatTest() {
    StartClient("[options]\nfpslimit=0\n");
    client->app->SetSize(1000, 700);
    log().Clear();
    log().localClock = &TestClock;
    ResetStatusLine();
}

ChatTest::~ChatTest() {
    log().Clear();
    ResetStatusLine();
    chatTestTime.tm_hour = 12;
    chatTestTime.tm_min = 34;
    chatTestTime.tm_sec = 56;
}

void ChatTest::ResetStatusLine() {
    StatusLine* status = StatusLine::Instance();
    status->statusText.clear();
    status->centreLines.clear();
    status->timedLines.clear();
}

GUITabgroup* ChatTest::MakeTabGroup() {
    group = new GUITabgroup();
    group->id = ChatLog::kTabGroupId;
    group->SetRect(172, 700 - 138 + 7, 656, 20);
    group->SetRightMargin(54);
    group->SetAlwaysScroll(true);
    gui().AddControl(group, true);
    return group;
}

ChatPane* ChatTest::Pane(const std::string& name) {
    for (ChatPane* pane : log().Panes())
        if (pane->name == name)
            return pane;
    return nullptr;
}

std::string ChatTest::ColourCode(uint32_t color) {
    std::string code(1, '\x01');
    for (int shift = 0; shift < 32; shift += 8)
        code.push_back(char((color >> shift) & 0xFF));
    return code;
}

std::string ChatTest::Appended(const GUITextbox& box, const std::string& line, uint32_t color) {
    if (color == box.textColor || color == 0xFF000000)
        return line + "\n";
    return ColourCode(color) + line + "\x02\n";
}
