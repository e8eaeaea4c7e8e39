#pragma once

#include <functional>
#include <string>
#include <vector>

#include "client/Client.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/FakeSockets.h"

// One entry of a package made here. A name ending in '/' is a folder.
struct PackageEntry {
    std::string name;
    std::string data;
    bool brokenLocalHeader = false;  // its entry information cannot be read
    bool wrongCrc = false;           // its data does not match its CRC-32
    uint32_t claimedSize = 0;        // when not 0, the uncompressed size the headers claim
};

// A zip archive of stored entries, laid out as zip writes them.
std::string MakePackage(const std::vector<PackageEntry>& entries);
// A whole HTTP answer with the body and its Content-Length.
std::string HttpAnswer(int status, const std::string& body);

// Scripted sockets that also call a hook at every readiness check, the one
// point the patcher reaches in each step of its loop: tests press "Cancel" or
// close the window from there.
class HookedSockets : public FakeSockets {
public:
    int Select(platform::SocketSet* readable, platform::SocketSet* writable, uint32_t timeoutMs) override;
    void Answer(const std::string& bytes) { incoming.emplace_back(bytes.begin(), bytes.end()); }
    // What the client sent, as text.
    std::string Sent() const { return std::string(sent.begin(), sent.end()); }

    std::function<void(int call)> onSelect;
    int selects = 0;
};

// A client started on the login screen, scripted sockets, and the machine's
// common application-data folder in the scratch area.
class PatcherFixture {
public:
    PatcherFixture();

    // The common application-data folder, where the package is unpacked.
    std::string Common(const std::string& name = std::string()) const;
    // The text of the GUI's message box, or "" without one; with its title.
    std::string ShownBox() const;
    // Left click on the control with the id, at its middle.
    void Click(int32_t id);
    // Draws one frame of the GUI, which also deletes what is waiting for it.
    void UpdateGui();

    ClientFixture fixture;
    Client* client = nullptr;
    HookedSockets sockets;
};
