#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "engine/Font.h"

// The notification of the status web page on its way from a status thread to
// the login screen: the text, already wrapped into lines, and the number of
// lines (0 without a text), always written together under the mutex.
//
// The client and every status thread it starts hold it together, so that a
// thread still waiting for the web server when the client shuts down stores
// its result into an object that is still there.
class ServerStatus {
public:
    // What one request needs, handed to its thread whole: the thread reads
    // nothing of the client, and above all not the font, which the main
    // thread may rebuild or free meanwhile.
    struct Request {
        std::string host;
        uint16_t port = 80;
        std::string path = "/index.php";
        uint32_t timeoutMs = 5000;  // for the answer, measured from before the connect
        int wrapWidth = 500;
        std::array<int, Font::kAdvanceCount> advances{};  // a copy of the font's
        std::shared_ptr<ServerStatus> status;              // where the result goes
    };

    // Asks the web server for the page once and wraps its text. Any failure
    // (no connection, an answer other than 200, the time running out) gives
    // the empty text and 0 lines, which takes the banner away.
    static void Fetch(const Request& request, std::string& text, int32_t& lines);
    // The body of a status thread: Fetch, then Store.
    static void Run(Request request);

    void Store(const std::string& text, int32_t lines);
    void Load(std::string& text, int32_t& lines);

    std::mutex statusMutex;
    std::string statusText;
    int32_t statusLines = 0;
};
