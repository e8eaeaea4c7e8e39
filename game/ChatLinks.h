#pragma once

#include <string>

// Whether a link copied out of the chat points to one of the game's own sites:
// its host part (the text up to the first "/" from position 9 on, which lies
// past any "http://" or "https://") equals a trusted host, bare or behind one
// of the two schemes, byte for byte.
bool IsTrustedLink(const std::string& text);
// The player named by a chat line such as "[12:01] Name: text": the text
// between the first "] " and the first ": " after it. False for a line without
// both markers in that order, or without a name.
bool ChatLineSpeaker(const std::string& line, std::string& name);
