#include "game/ChatLinks.h"

#include <cctype>

#include "client/Hosts.h"
#include "game/GameInterface.h"

bool IsTrustedLink(const std::string& text) {
    const size_t slash = text.find('/', 9);
    const std::string host = text.substr(0, slash);
    for (const char* name : kTrustedHosts) {
        const std::string trusted = name;
        if (host == trusted || host == "http://" + trusted || host == "https://" + trusted)
            return true;
    }
    return false;
}

// A "." after the first character followed by two letters, such as ".com".
bool GameInterface::LooksLikeLink(const std::string& text) {
    size_t from = 1;
    for (;;) {
        const size_t dot = text.find('.', from);
        if (dot == std::string::npos || dot + 3 > text.size())
            return false;
        const int first = std::tolower(static_cast<unsigned char>(text[dot + 1]));
        const int second = std::tolower(static_cast<unsigned char>(text[dot + 2]));
        if (first >= 'a' && first <= 'z' && second >= 'a' && second <= 'z')
            return true;
        from = dot + 1;
    }
}

bool ChatLineSpeaker(const std::string& line, std::string& name) {
    const size_t bracket = line.find("] ");
    if (bracket == std::string::npos)
        return false;
    const std::string rest = line.substr(bracket + 2);
    const size_t colon = rest.find(": ");
    if (colon == std::string::npos || colon == 0)
        return false;
    name = rest.substr(0, colon);
    return true;
}
