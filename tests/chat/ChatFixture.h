// The fixture of the chat console's tests: a started client (recording back
// end, fake platform, in-memory options) with the chat tab group 26 where the
// game screen puts it, a settable local clock, and the chat log and the
// status line emptied before and after every test.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "game/StatusLine.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/RecordingEngine.h"

// The local time the chat log's clock reports.
extern std::tm chatTestTime;

class ChatTest : public ::testing::Test, public ClientFixture {
protected:
    ChatTest();
    ~ChatTest() override;

    // The tab group the game screen makes, for a 1000 x 700 client.
    GUITabgroup* MakeTabGroup();
    ChatLog& log() { return *ChatLog::Instance(); }
    GUIManager& gui() { return *client->app->gui; }
    Settings& settings() { return *client->settings; }
    ChatPane* Pane(const std::string& name);
    // The text a line appended in a colour leaves in a box: the line in its
    // colour code (unless the colour is the box's own), then a line break.
    static std::string Appended(const GUITextbox& box, const std::string& line, uint32_t color);
    static std::string ColourCode(uint32_t color);
    bool ChannelRecorded(const std::string& name) { return settings().options->HasKey("channels", name); }
    void ResetStatusLine();

    GUITabgroup* group = nullptr;
};
