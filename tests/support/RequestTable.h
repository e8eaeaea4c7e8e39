#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <memory>
#include <vector>

class ChatPane;
class Client;
class GUITab;
class Protocol;

// For the life of the object the chat console has one tab, active, of that
// name (a pane with its own tab and no message box), or with a null name no
// tab at all; the panes it had are set aside and come back afterwards.
class ChatTabScope {
public:
    explicit ChatTabScope(const char* activeName);
    ~ChatTabScope();
    ChatTabScope(const ChatTabScope&) = delete;
    ChatTabScope& operator=(const ChatTabScope&) = delete;

    ChatPane* pane = nullptr;

private:
    std::unique_ptr<GUITab> tab_;
    std::vector<ChatPane*> saved_;
};

// Every client request in one table: a call of its sender, and what the fake
// server's decoder (tests/fakeserver/client_requests.py) must report of each
// frame the call queues, written by hand from the protocol's description. A
// few rows also give the exact bytes. The native protocol tests run it
// through the queue and the decoder; tests/wine/requests sends it over
// Winsock to the fake server.
struct RequestRow {
    const char* name;
    std::function<void(Client&, Protocol&)> call;
    // One JSON object per queued frame: the decoded request's name, opcode
    // and fields (text as Latin-1). Empty when nothing may be queued.
    std::vector<const char*> expected;
    // When given: each frame's payload in hex, opcode first.
    std::vector<const char*> bytes = {};
};

// The logout comes last: a server ends the connection on it.
const std::vector<RequestRow>& RequestRows();

// The state the rows expect: the account "demo" with the password "demo",
// the graphics stamp 1500000000, the items-cache version 77, a game screen
// with no container window open and no chat tab.
void PrepareForRequestTable(Client& client);
