// Quest, outfit, summon, brewing and recipe requests.
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

void Protocol::SendRequestQuests() {
    OutMessage message;
    message.WriteU8(0x28);
    connection->Send(message);
}
