#include "client/ServerStatus.h"

#include "client/TextUtils.h"
#include "engine/Clock.h"
#include "net/KHyperText.h"
#include "platform/Platform.h"

namespace {

const int kOk = 200;

}  // namespace

void ServerStatus::Fetch(const Request& request, std::string& text, int32_t& lines) {
    text.clear();
    lines = 0;
    KHyperText http;
    // A slow name lookup or connect is not cut short: the limit only counts
    // while the answer is awaited.
    const uint32_t start = GetTicks();
    if (!http.Connect(request.host, request.port) || !http.Get(request.path))
        return;
    int result;
    while ((result = http.Receive()) == 0) {
        if (GetTicks() - start > request.timeoutMs)
            return;
        platform::SleepMs(1);
    }
    // The body holds exactly the bytes received; a 200 without a usable
    // length has none.
    if (result != kOk || !http.body || http.GetBytesReceived() <= 0)
        return;
    const std::string body(reinterpret_cast<const char*>(http.body), size_t(http.GetBytesReceived()));
    int wrappedLines = 0;
    text = WrapText(request.advances.data(), request.wrapWidth, body, &wrappedLines);
    lines = wrappedLines;
}

void ServerStatus::Run(Request request) {
    std::string text;
    int32_t lines = 0;
    Fetch(request, text, lines);
    if (request.status)
        request.status->Store(text, lines);
}

void ServerStatus::Store(const std::string& text, int32_t lines) {
    std::lock_guard<std::mutex> lock(statusMutex);
    statusText = text;
    statusLines = lines;
}

void ServerStatus::Load(std::string& text, int32_t& lines) {
    std::lock_guard<std::mutex> lock(statusMutex);
    text = statusText;
    lines = statusLines;
}
