#include "tests/support/Json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : s(text) {}

    bool Value(Json& out, int depth) {
        Space();
        if (depth > 64 || at >= s.size())
            return Fail("a value is missing");
        const char c = s[at];
        if (c == '{')
            return ObjectValue(out, depth);
        if (c == '[')
            return ArrayValue(out, depth);
        if (c == '"') {
            out.type = Json::kText;
            return String(out.text);
        }
        if (Word("true"))
            return out.type = Json::kBool, out.flag = true, true;
        if (Word("false"))
            return out.type = Json::kBool, out.flag = false, true;
        if (Word("null"))
            return out.type = Json::kNull, true;
        if (Word("NaN"))
            return out = Json::Number(std::nan("")), true;
        if (Word("Infinity"))
            return out = Json::Number(HUGE_VAL), true;
        if (Word("-Infinity"))
            return out = Json::Number(-HUGE_VAL), true;
        const char* begin = s.c_str() + at;
        char* end = nullptr;
        const double value = std::strtod(begin, &end);
        if (end == begin)
            return Fail("not a value");
        at += size_t(end - begin);
        out = Json::Number(value);
        return true;
    }

    bool End() {
        Space();
        return at == s.size() || Fail("text behind the value");
    }

    std::string error;

private:
    bool ObjectValue(Json& out, int depth) {
        out = Json::Object();
        ++at;
        Space();
        if (Take('}'))
            return true;
        do {
            Space();
            std::string key;
            if (at >= s.size() || s[at] != '"' || !String(key))
                return Fail("a member name is missing");
            Space();
            if (!Take(':'))
                return Fail("':' is missing");
            Json value;
            if (!Value(value, depth + 1))
                return false;
            out.members.emplace_back(key, value);
            Space();
        } while (Take(','));
        return Take('}') || Fail("'}' is missing");
    }

    bool ArrayValue(Json& out, int depth) {
        out = Json::Array();
        ++at;
        Space();
        if (Take(']'))
            return true;
        do {
            Json value;
            if (!Value(value, depth + 1))
                return false;
            out.items.push_back(value);
            Space();
        } while (Take(','));
        return Take(']') || Fail("']' is missing");
    }

    bool String(std::string& out) {
        ++at;  // the opening quote
        out.clear();
        while (at < s.size()) {
            const char c = s[at++];
            if (c == '"')
                return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at >= s.size())
                break;
            const char e = s[at++];
            switch (e) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'u': {
                    if (at + 4 > s.size())
                        return Fail("a short \\u escape");
                    const unsigned long code = std::strtoul(s.substr(at, 4).c_str(), nullptr, 16);
                    at += 4;
                    if (code > 0xFF)
                        return Fail("a character beyond one byte");
                    out += char(code);
                    break;
                }
                default: out += e; break;
            }
        }
        return Fail("an unterminated string");
    }

    bool Word(const char* word) {
        const size_t n = std::strlen(word);
        if (s.compare(at, n, word) != 0)
            return false;
        at += n;
        return true;
    }
    bool Take(char c) {
        if (at < s.size() && s[at] == c) {
            ++at;
            return true;
        }
        return false;
    }
    void Space() {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\n' || s[at] == '\r' || s[at] == '\t'))
            ++at;
    }
    bool Fail(const char* what) {
        if (error.empty())
            error = std::string(what) + " at " + std::to_string(at);
        return false;
    }

    const std::string& s;
    size_t at = 0;
};

}  // namespace

Json Json::Number(double value) {
    Json j;
    j.type = kNumber;
    j.number = value;
    return j;
}

Json Json::Text(const std::string& bytes) {
    Json j;
    j.type = kText;
    j.text = bytes;
    return j;
}

Json Json::Array(std::vector<Json> items) {
    Json j;
    j.type = kArray;
    j.items = std::move(items);
    return j;
}

Json Json::Object() {
    Json j;
    j.type = kObject;
    return j;
}

Json& Json::Set(const std::string& key, Json value) {
    members.emplace_back(key, std::move(value));
    return *this;
}

Json& Json::Add(Json value) {
    items.push_back(std::move(value));
    return *this;
}

bool Json::Parse(const std::string& text, Json& out, std::string& error) {
    Parser parser(text);
    out = Json();
    const bool ok = parser.Value(out, 0) && parser.End();
    error = parser.error;
    return ok;
}

const Json* Json::Find(const std::string& key) const {
    for (const auto& member : members)
        if (member.first == key)
            return &member.second;
    return nullptr;
}

bool Json::operator==(const Json& other) const {
    if (type != other.type)
        return false;
    switch (type) {
        case kNull: return true;
        case kBool: return flag == other.flag;
        case kNumber: return number == other.number || (std::isnan(number) && std::isnan(other.number));
        case kText: return text == other.text;
        case kArray: return items == other.items;
        case kObject:
            if (members.size() != other.members.size())
                return false;
            for (const auto& member : members) {
                const Json* match = other.Find(member.first);
                if (!match || *match != member.second)
                    return false;
            }
            return true;
    }
    return false;
}

std::string Json::Dump() const {
    switch (type) {
        case kNull: return "null";
        case kBool: return flag ? "true" : "false";
        case kNumber: {
            if (std::isnan(number))
                return "NaN";
            if (std::isinf(number))
                return number > 0 ? "Infinity" : "-Infinity";
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.17g", number);
            return buffer;
        }
        case kText: {
            std::string out = "\"";
            for (unsigned char c : text) {
                if (c == '"' || c == '\\') {
                    out += '\\';
                    out += char(c);
                } else if (c < 0x20 || c >= 0x7F) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += char(c);
                }
            }
            return out + "\"";
        }
        case kArray: {
            std::string out = "[";
            for (size_t i = 0; i < items.size(); ++i)
                out += (i ? "," : "") + items[i].Dump();
            return out + "]";
        }
        case kObject: {
            std::string out = "{";
            for (size_t i = 0; i < members.size(); ++i)
                out += (i ? "," : "") + Json::Text(members[i].first).Dump() + ":" + members[i].second.Dump();
            return out + "}";
        }
    }
    return "null";
}
