// Requests of the player trade, the NPC trade and shop, and the item market.
#include <iostream>

#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"

void Protocol::SendOp14(uint32_t itemId, uint32_t amount, int buying) {
    OutMessage message;
    message.WriteU8(0x14);
    message.WriteU32(itemId);
    message.WriteU32(amount);
    message.WriteU8(uint8_t(buying));
    connection->Send(message);
}

void Protocol::SendTradeCommand(int sub, int32_t slot) {
    OutMessage message;
    message.WriteU8(0x1F);
    message.WriteU8(uint8_t(sub));
    if (slot >= 0)
        message.WriteU16(uint16_t(slot));
    connection->Send(message);
}

void Protocol::SendOp21(uint32_t itemId, int sellTab) {
    OutMessage message;
    message.WriteU8(0x21);
    message.WriteU32(itemId);
    message.WriteU8(uint8_t(sellTab));
    connection->Send(message);
}

void Protocol::SendMarketOpen() {
    OutMessage message;
    message.WriteU8(0x2A);
    connection->Send(message);
}

void Protocol::SendMarketAccept(const std::string& player, uint32_t item, uint32_t amount, float price, int side) {
    OutMessage message;
    message.WriteU8(0x2B);
    message.WriteString(player);
    message.WriteU32(item);
    message.WriteU32(amount);
    message.WriteFloat(price);
    message.WriteU8(uint8_t(side));
    connection->Send(message);
}

void Protocol::SendMarketCreateOffer(uint32_t item, uint32_t amount, float price, int side) {
    // A trace of every offer made, for whoever reads the console.
    std::cout << "amount: " << amount << " eachprice: " << double(price) << std::endl;
    OutMessage message;
    message.WriteU8(0x2C);
    message.WriteU32(item);
    message.WriteU32(amount);
    message.WriteFloat(price);
    message.WriteU8(uint8_t(side));
    connection->Send(message);
}

void Protocol::SendMarketQuery(uint32_t item, const std::string& player) {
    OutMessage message;
    message.WriteU8(0x2D);
    message.WriteU32(item);
    message.WriteString(player);
    connection->Send(message);
}

void Protocol::SendMarketOfferAction(uint32_t item, int side) {
    OutMessage message;
    message.WriteU8(0x2E);
    message.WriteU32(item);
    message.WriteU8(uint8_t(side));
    connection->Send(message);
}

void Protocol::SendNpcShopSelect(uint32_t item) {
    OutMessage message;
    message.WriteU8(0x35);
    message.WriteU32(item);
    connection->Send(message);
}
