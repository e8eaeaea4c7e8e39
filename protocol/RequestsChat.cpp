// Requests of the chat console: messages and channels.
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

void Protocol::SendChatMessage(const std::string& text) {
    // The channel is asked for now, not when the text was typed: commands of
    // the staff windows go to whatever tab is active.
    const ChatPane* pane = ChatLog::Instance()->ActivePane();
    OutMessage message;
    message.WriteU8(0x03);
    message.WriteString(pane ? pane->name : std::string());
    message.WriteString(text);
    connection->Send(message);
}

void Protocol::SendJoinChannel(int kind, const std::string& name) {
    OutMessage message;
    message.WriteU8(0x15);
    message.WriteU8(uint8_t(kind));
    message.WriteString(name);
    connection->Send(message);
}

void Protocol::SendOp16(int kind, const std::string& name) {
    OutMessage message;
    message.WriteU8(0x16);
    message.WriteU8(uint8_t(kind));
    message.WriteString(name);
    connection->Send(message);
}

void Protocol::SendRequestChannels() {
    OutMessage message;
    message.WriteU8(0x1C);
    connection->Send(message);
}
