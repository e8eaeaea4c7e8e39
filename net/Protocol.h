#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CharacterList;
class Connection;
class TradeWindow;

// The game protocol over the one connection: the two-stage login (login
// server, then game world), one handler per server message and one sender per
// client request. Made once by Client::Init and kept until the process ends.
class Protocol {
public:
    Protocol();
    ~Protocol();
    Protocol(const Protocol&) = delete;
    Protocol& operator=(const Protocol&) = delete;

    // mode 0: a login server, 1: a game world. The hosts are tried in order.
    // Failures show up in a later Poll; always true.
    bool Connect(uint8_t mode, std::vector<std::string> hosts, uint16_t port);
    // One network step per main-loop pass. False when the game connection has
    // just been lost or closed.
    bool Poll();
    // Queues the logout request; the next Poll sends it over an open connection.
    void SendLogout();
    // The login request to the login server, with the graphics file's stamp.
    void SendLoginServerLogin();

    // Replaced whole by the login screen and "Enter Game", kept until then, so
    // that a new login after a lost connection needs no typing.
    std::string account;
    std::string password;
    std::string characterName;
    Connection* connection = nullptr;
    CharacterList* characterList = nullptr;  // made by the first Connect
    TradeWindow* tradeWindow = nullptr;      // owned; the running trade, if any
    uint8_t mode = 0;
    uint8_t loginSent = 0;  // the login request of this connection is queued
};
