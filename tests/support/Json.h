#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A JSON value, enough to read the fake server's decoded requests and to write
// what a test expects of them. Text is bytes: \u00XX escapes read as one byte,
// so Latin-1 text (what the decoder prints for a byte string) round-trips.
// Numbers are doubles, which hold every u32 and every f32 exactly.
class Json {
public:
    enum Type { kNull, kBool, kNumber, kText, kArray, kObject };

    Json() = default;
    static Json Number(double value);
    static Json Text(const std::string& bytes);
    static Json Array(std::vector<Json> items = {});
    static Json Object();

    // Appends a member (objects) or an item (arrays); returns *this.
    Json& Set(const std::string& key, Json value);
    Json& Add(Json value);

    // Parses one value; false (with `error` set) on anything else.
    static bool Parse(const std::string& text, Json& out, std::string& error);

    // The member of that name, or null when there is none.
    const Json* Find(const std::string& key) const;
    // Equal by value; members compare whatever their order.
    bool operator==(const Json& other) const;
    bool operator!=(const Json& other) const { return !(*this == other); }
    // Compact JSON, members in their order.
    std::string Dump() const;

    Type type = kNull;
    bool flag = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;
};
