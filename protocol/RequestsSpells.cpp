// Requests of the hotkey bar and the spell windows.
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

void Protocol::SendRequestActionList(uint8_t flag) {
    OutMessage message;
    message.WriteU8(0x22);
    connection->Send(message);
    // Read and cleared by the answer, the spell and hotkey data.
    actionListFlag = flag;
}

void Protocol::SendCastSpell(int32_t spell, const std::string& target) {
    if (spell <= 0)
        return;
    OutMessage message;
    message.WriteU8(0x23);
    message.WriteU16(uint16_t(spell));
    message.WriteString(target);
    connection->Send(message);
}

void Protocol::SendRequestSpells() {
    OutMessage message;
    message.WriteU8(0x31);
    connection->Send(message);
}
