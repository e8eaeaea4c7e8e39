#include "tests/protocol/RequestDecoder.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

bool DecodeFrames(const std::vector<std::vector<uint8_t>>& frames, std::vector<Json>& lines, std::string& error) {
    lines.clear();
    const char* source = std::getenv("VELMORA_SOURCE_DIR");
    const std::string decoder = std::string(source ? source : ".") + "/tests/fakeserver/client_requests.py";
    char path[] = "/tmp/velmora-requests-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        error = "no temporary file";
        return false;
    }
    FILE* file = fdopen(fd, "wb");
    for (const std::vector<uint8_t>& frame : frames)
        std::fwrite(frame.data(), 1, frame.size(), file);
    std::fclose(file);

    const std::string command = "python3 -B '" + decoder + "' decode '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        std::remove(path);
        error = "could not start " + command;
        return false;
    }
    std::string line;
    char buffer[65536];
    bool ok = true;
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        line += buffer;
        if (line.empty() || line.back() != '\n')
            continue;
        line.pop_back();
        Json value;
        if (!Json::Parse(line, value, error)) {
            error = "the decoder printed no JSON (" + error + "): " + line.substr(0, 200);
            ok = false;
            break;
        }
        lines.push_back(value);
        line.clear();
    }
    const int status = pclose(pipe);
    std::remove(path);
    if (ok && status != 0) {
        error = "the decoder failed: " + command;
        ok = false;
    }
    return ok;
}
