// The house family: the player's house and the houses on auction.
//
// Each handler reads its fields, in wire order and with their counts, whether
// or not there is a game screen to take them, so the frame goes on behind
// the message; only in the game does it hand them to its dialog module.
#include "protocol/Protocol.h"

#include <cstdint>
#include <string>

#include "client/Client.h"
#include "dialogs/trade/HouseBiddingDialog.h"
#include "dialogs/trade/HouseDialog.h"
#include "game/GameInterface.h"
#include "net/InMessage.h"
#include "world/Position.h"

// The house's data replaces the module's and opens the management window;
// an open window keeps its page and refills its person list.
void Protocol::ParseHouse(InMessage& message) {
    GameInterface* game = Client::Instance()->game;
    HouseDialog* house = game ? game->house : nullptr;
    if (house)
        house->ClearLists();
    const std::string name = message.ReadString();
    Position position;
    position.x = message.ReadU16();
    position.y = message.ReadU16();
    position.z = message.ReadU8();
    const int32_t accessLevel = message.ReadU8();
    const int32_t grantableRights = message.ReadU8();
    if (house) {
        house->SetName(name);
        house->SetPosition(position);
        house->SetFirstValue(accessLevel);
        house->SetSecondValue(grantableRights);
    }

    const int invites = message.ReadU8();
    for (int i = 0; i < invites; ++i) {
        const std::string person = message.ReadString();
        const bool subOwner = message.ReadU8() != 0;
        if (house)
            house->AddInvite(person, subOwner);
    }
    const int permissions = message.ReadU8();
    for (int i = 0; i < permissions; ++i) {
        const std::string person = message.ReadString();
        const uint32_t rights = message.ReadU8();
        if (house)
            house->AddTilePermission(person, rights);
    }
    const int decorations = message.ReadU8();
    for (int i = 0; i < decorations; ++i) {
        const uint32_t id = message.ReadU32();
        const std::string itemName = message.ReadString();
        const std::string detail = message.ReadString();
        if (house)
            house->AddDecorationItem(id, itemName, detail);
    }
    if (house) {
        house->Open();
        house->Refresh();
    }
}

// The houses on auction replace the module's list and open the bidding
// window. The list may end with the frame before its count is reached.
void Protocol::ParseHouseBidding(InMessage& message) {
    GameInterface* game = Client::Instance()->game;
    HouseBiddingDialog* bidding = game ? game->houseBidding : nullptr;
    if (bidding)
        bidding->ClearHouses();
    const bool canBid = message.ReadU8() != 0;
    const int count = message.ReadU16();
    for (int i = 0; i < count && message.Remaining() > 0; ++i) {
        const int32_t start = message.pos;
        const uint32_t houseId = message.ReadU32();
        const std::string name = message.ReadString();
        const std::string bidder = message.ReadString();
        const uint32_t highestBid = message.ReadU32();
        const uint32_t secondsLeft = message.ReadU32();
        const uint32_t rent = message.ReadU32();
        // A byte left over reads as no field at all and never advances: it
        // would make thousands of empty houses of a large count. A record
        // cut short in its middle is a house, its missing fields zero.
        if (message.pos == start)
            break;
        if (bidding)
            bidding->AddHouse(houseId, name, bidder, highestBid, secondsLeft, rent);
    }
    if (bidding)
        bidding->Open(canBid);
}
