// Chat requests: lines, joining and leaving channels.
#include "game/ChatLog.h"
#include "game/ChatPane.h"
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

// The channel is the active tab's, taken when the line is sent.
void Protocol::SendChatMessage(const std::string& text) {
    const ChatPane* pane = ChatLog::Instance()->ActivePane();
    OutMessage message;
    message.WriteU8(0x03);
    message.WriteString(pane ? pane->name : std::string());
    message.WriteString(text);
    connection->Send(message);
}

void Protocol::SendJoinChannel(uint8_t kind, const std::string& name) {
    OutMessage message;
    message.WriteU8(0x15);
    message.WriteU8(kind);
    message.WriteString(name);
    connection->Send(message);
}

void Protocol::SendOp16(uint8_t kind, const std::string& name) {
    OutMessage message;
    message.WriteU8(0x16);
    message.WriteU8(kind);
    message.WriteString(name);
    connection->Send(message);
}
