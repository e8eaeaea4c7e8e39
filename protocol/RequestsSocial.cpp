// Requests of the friends and party windows, the guild, the staff tools and
// the report dialog.
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

namespace {

constexpr uint8_t kGuild = 0x38;

OutMessage GuildRequest(uint8_t sub) {
    OutMessage message;
    message.WriteU8(kGuild);
    message.WriteU8(sub);
    return message;
}

}  // namespace

void Protocol::SendAddFriend(const std::string& name, int list) {
    OutMessage message;
    message.WriteU8(0x17);
    message.WriteString(name);
    message.WriteU8(uint8_t(list));
    connection->Send(message);
}

void Protocol::SendRemoveFriend(const std::string& name, int list) {
    OutMessage message;
    message.WriteU8(0x18);
    message.WriteString(name);
    message.WriteU8(uint8_t(list));
    connection->Send(message);
}

void Protocol::SendPartyCommand(const std::string& name, int action) {
    OutMessage message;
    message.WriteU8(0x1B);
    message.WriteString(name);
    message.WriteU8(uint8_t(action));
    connection->Send(message);
}

void Protocol::SendBanInfoRequest(const std::string& name) {
    OutMessage message;
    message.WriteU8(0x1D);
    message.WriteString(name);
    connection->Send(message);
}

void Protocol::SendBanish(const std::string& name, int days, const std::string& comments, int warning,
                          const std::string& rule) {
    OutMessage message;
    message.WriteU8(0x1E);
    message.WriteString(name);
    message.WriteU16(uint16_t(days));
    message.WriteString(comments);
    message.WriteU8(uint8_t(warning));
    message.WriteString(rule);
    connection->Send(message);
}

void Protocol::SendReport(const std::string& text) {
    OutMessage message;
    message.WriteU8(0x20);
    message.WriteString(text);
    connection->Send(message);
}

void Protocol::SendOp24(const std::string& name) {
    OutMessage message;
    message.WriteU8(0x24);
    message.WriteString(name);
    connection->Send(message);
}

void Protocol::SendRequestGuild() {
    OutMessage message;
    message.WriteU8(0x37);
    connection->Send(message);
}

void Protocol::SendGuildCommand1(const std::string& text) {
    OutMessage message = GuildRequest(1);
    message.WriteString(text);
    connection->Send(message);
}

void Protocol::SendGuildCommand2(const std::string& name) {
    OutMessage message = GuildRequest(2);
    message.WriteString(name);
    connection->Send(message);
}

void Protocol::SendGuildCommand3(uint32_t member) {
    OutMessage message = GuildRequest(3);
    message.WriteU32(member);
    connection->Send(message);
}

void Protocol::SendGuildCreate(const std::string& name) {
    OutMessage message = GuildRequest(4);
    message.WriteString(name);
    connection->Send(message);
}

void Protocol::SendGuildJoin(uint32_t guild) {
    OutMessage message = GuildRequest(5);
    message.WriteU32(guild);
    connection->Send(message);
}

void Protocol::SendGuildCommand6(uint32_t member, const std::string& title, uint32_t rank) {
    OutMessage message = GuildRequest(6);
    message.WriteU32(member);
    message.WriteString(title);
    message.WriteU32(rank);
    connection->Send(message);
}

void Protocol::SendGuildCommand7(const std::string& guild, uint32_t days, uint32_t fee, int loyalty) {
    OutMessage message = GuildRequest(7);
    message.WriteString(guild);
    message.WriteU32(days);
    message.WriteU32(fee);
    message.WriteU8(uint8_t(loyalty));
    connection->Send(message);
}

void Protocol::SendGuildCommand8(uint32_t war) {
    OutMessage message = GuildRequest(8);
    message.WriteU32(war);
    connection->Send(message);
}

void Protocol::SendGuildCommand9(uint32_t war) {
    OutMessage message = GuildRequest(9);
    message.WriteU32(war);
    connection->Send(message);
}

void Protocol::SendGuildCommand10(int level, const std::string& rankName) {
    OutMessage message = GuildRequest(10);
    message.WriteU8(uint8_t(level));
    message.WriteString(rankName);
    connection->Send(message);
}

void Protocol::SendGuildCommand11(uint32_t rank) {
    OutMessage message = GuildRequest(11);
    message.WriteU32(rank);
    connection->Send(message);
}

void Protocol::SendGuildCommand12(uint32_t rank, int step) {
    OutMessage message = GuildRequest(12);
    message.WriteU32(rank);
    message.WriteU8(uint8_t(step));
    connection->Send(message);
}

void Protocol::SendRequestOnlineList() {
    OutMessage message;
    message.WriteU8(0x3A);
    connection->Send(message);
}
