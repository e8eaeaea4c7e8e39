// The chat family: chat lines, chat tabs opened by the server, the status
// text, the channel list, paged texts, tips and the tutorial.
//
// Those that change the game screen read their fields whatever happens and
// act only while it exists: before it, a tab opened by the server would land
// on the login screen. The status text and the channel list belong to
// singletons that outlive the game screen, so they act at once.
#include "protocol/Protocol.h"

#include <cstdint>
#include <string>

#include "client/Client.h"
#include "dialogs/character/TalentsDialog.h"
#include "dialogs/social/OpenChannelDialog.h"
#include "dialogs/social/TutorialDialog.h"
#include "game/ChatLog.h"
#include "game/GameInterface.h"
#include "game/PagedTextWindow.h"
#include "game/StatusLine.h"
#include "game/TipMessages.h"
#include "net/InMessage.h"

namespace {

const char kTalentsResetText[] = "Your talent points were reset.";

GameInterface* Game() { return Client::Instance()->game; }

}  // namespace

void Protocol::ParseChatMessage(InMessage& message) {
    const std::string sender = message.ReadString();
    const std::string channel = message.ReadString();
    const int kind = message.ReadU8();
    const std::string text = message.ReadString();
    ChatLog::Instance()->AddMessage(sender, channel, kind, text);
    // The server tells of a talent reset only in this line: the open talents
    // dialog shows the returned points at once.
    if (channel == "Main" && kind == ChatLog::kNotice && text == kTalentsResetText)
        if (GameInterface* game = Game())
            if (game->talents)
                game->talents->Refresh();
}

void Protocol::ParseChannelOpen(InMessage& message) {
    const int type = message.ReadU8();
    const std::string name = message.ReadString();
    if (Game())
        ChatLog::Instance()->AddChannelTab(type, name);
}

void Protocol::OnStatusText(InMessage& message) { StatusLine::Instance()->SetText(message.ReadString()); }

void Protocol::ParseChannelList(InMessage& message) {
    OpenChannelDialog* dialog = OpenChannelDialog::Instance();
    dialog->ClearChannels();
    const int count = message.ReadU8();
    for (int i = 0; i < count; ++i)
        dialog->AddChannel(message.ReadString());
}

void Protocol::ParsePagedText(InMessage& message) {
    const std::string text = message.ReadString();
    GameInterface* game = Game();
    if (game && game->pagedText)
        game->pagedText->Show(text);
}

void Protocol::ParseTipMessage(InMessage& message) {
    const uint32_t id = message.ReadU32();
    const std::string title = message.ReadString();
    const std::string text = message.ReadString();
    const int x = message.ReadU16();
    const int y = message.ReadU16();
    const int z = message.ReadU8();
    GameInterface* game = Game();
    if (game && game->tipMessages)
        game->tipMessages->Add(int(id), title, text, x, y, z);
}

void Protocol::OnTutorial(InMessage&) {
    GameInterface* game = Game();
    if (game && game->tutorial)
        game->tutorial->Open();
}
