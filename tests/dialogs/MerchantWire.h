#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/LoginFixture.h"

// The server's messages of a talk with a merchant, as the wire carries them.
namespace merchant {

struct Offer {
    std::string name;
    uint32_t itemId;
    uint32_t price;
    uint8_t buy;  // not 0: the merchant sells it ("Buy from NPC")
};

// 0x24: the shop's whole contents.
inline Bytes ShopOffers(const std::vector<Offer>& offers) {
    Wire wire;
    wire.U8(0x24).U8(uint32_t(offers.size()));
    for (const Offer& offer : offers)
        wire.Str(offer.name).U32(offer.itemId).U32(offer.price).U8(offer.buy);
    return wire.bytes;
}

// 0x17: how many pieces to buy or sell.
inline Bytes Question(const std::string& itemName, uint32_t itemId, uint32_t price, uint32_t carried,
                      uint8_t buying) {
    return Wire().U8(0x17).Str(itemName).U32(itemId).U32(price).U32(carried).U8(buying).bytes;
}

// 0x25: the talk ends.
inline Bytes TalkEnd() { return Wire().U8(0x25).bytes; }

}  // namespace merchant
