// Guild, friends, party and staff requests.
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

void Protocol::SendRequestGuild() {
    OutMessage message;
    message.WriteU8(0x37);
    connection->Send(message);
}
