#include "net/KHyperText.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "net/Socket.h"

namespace {

// The leading number of a text as the C library's atoi reads it (blanks, a
// sign, digits), but saturating instead of overflowing.
long long LeadingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    return negative ? -value : value;
}

// The first occurrence of a byte pattern, or -1.
int Find(const uint8_t* bytes, int size, const char* pattern, int patternSize) {
    for (int i = 0; i + patternSize <= size; ++i)
        if (std::memcmp(bytes + i, pattern, size_t(patternSize)) == 0)
            return i;
    return -1;
}

}  // namespace

KHyperText::KHyperText() = default;

KHyperText::~KHyperText() {
    delete socket;
    delete[] body;
}

bool KHyperText::Connect(const std::string& hostName, int port) {
    host = hostName;
    delete socket;
    socket = nullptr;
    closed = false;
    if (port < 0 || port > 65535)
        return false;
    socket = new Socket();
    if (socket->CreateTcp() && socket->Connect(host, uint16_t(port)))
        return true;
    delete socket;
    socket = nullptr;
    return false;
}

bool KHyperText::Get(const std::string& path) {
    if (!socket)
        return false;
    receiving = true;
    const std::string request = "GET " + path + " HTTP/1.1\r\n" + "Host: " + host + "\r\n" +
                                "User-Agent: KHyperText Class\r\n" + "Connection: Close\r\n\r\n";
    const int sent = socket->Send(reinterpret_cast<const uint8_t*>(request.data()), int(request.size()));
    if (sent >= int(request.size()))
        return true;
    Disconnect();
    return false;
}

void KHyperText::Disconnect() {
    delete socket;
    socket = nullptr;
    receiving = false;
    closed = true;
}

int KHyperText::Fail() {
    Disconnect();
    return -1;
}

int KHyperText::Receive() {
    if (!socket)
        return -1;
    const int ready = socket->WaitReadable();
    if (ready < 0)
        return Fail();
    if (ready == 0)
        return 0;
    int room = 0;
    uint8_t* space = ReceiveSpace(room);
    const int count = room > 0 ? socket->Receive(space, room) : 0;
    if (count <= 0)
        return Fail();
    return TakeReceived(count);
}

int KHyperText::Feed(const uint8_t* bytes, int count) {
    int result = 0;
    int used = 0;
    while (used < count) {
        // After a failure or a refused header block Receive gives -1.
        if (closed)
            return -1;
        int room = 0;
        uint8_t* space = ReceiveSpace(room);
        if (room <= 0)
            return Fail();
        const int take = std::min(room, count - used);
        std::memcpy(space, bytes + used, size_t(take));
        used += take;
        result = TakeReceived(take);
        if (result != 0)
            break;
    }
    return result;
}

uint8_t* KHyperText::ReceiveSpace(int& room) {
    if (contentLength > 0) {
        room = contentLength - received;
        return body + received;
    }
    room = kHeaderLimit - received;
    return headerBuffer + received;
}

int KHyperText::TakeReceived(int count) {
    received += count;
    if (contentLength > 0)
        return received < contentLength ? 0 : status;

    // The end of the header block is looked for in the raw bytes: body bytes
    // that came with the headers may hold NULs and must be kept exactly. A
    // server that ends its lines with bare LFs ends the block with LF LF;
    // whichever end comes first counts.
    const int crlf = Find(headerBuffer, received, "\r\n\r\n", 4);
    const int lf = Find(headerBuffer, received, "\n\n", 2);
    if (crlf < 0 && lf < 0)
        return 0;
    const bool useLf = lf >= 0 && (crlf < 0 || lf < crlf);
    const int end = useLf ? lf : crlf;
    const int bodyStart = end + (useLf ? 2 : 4);

    std::string block(reinterpret_cast<const char*>(headerBuffer), size_t(end));
    if (!ParseHeaders(block)) {
        Disconnect();
        contentLength = 0;
        return status;
    }
    body = new (std::nothrow) uint8_t[size_t(contentLength)];
    if (!body) {
        contentLength = 0;
        return Fail();
    }
    const int early = std::min(received - bodyStart, contentLength);
    if (early > 0)
        std::memcpy(body, headerBuffer + bodyStart, size_t(early));
    received = std::max(early, 0);
    return received < contentLength ? 0 : status;
}

bool KHyperText::ParseHeaders(std::string& block) {
    // The status line's protocol and the blank behind it, whatever they read.
    block.erase(0, std::min<size_t>(9, block.size()));
    status = int32_t(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, LeadingNumber(block.substr(0, 3)))));

    size_t start = 0;
    while (start <= block.size()) {
        size_t end = block.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = block.size();
        std::string line = block.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t colon = line.find(':');
        if (colon != std::string::npos) {
            // The value starts behind the colon and one blank.
            headers[line.substr(0, colon)] = colon + 2 <= line.size() ? line.substr(colon + 2) : std::string();
        }
        if (last)
            break;
        start = end + 1;
    }

    const auto length = headers.find("Content-Length");
    if (length == headers.end())
        return false;
    const long long announced = LeadingNumber(length->second);
    if (announced < 1 || announced > kMaxContentLength)
        return false;
    contentLength = int32_t(announced);
    return true;
}
