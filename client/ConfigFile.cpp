#include "client/ConfigFile.h"


#include "client/TextUtils.h"
#include "platform/Platform.h"
#include "platform/WholeFile.h"

namespace {

const char kHeader[] =
    "## This is a config file for the Velmora Online Client\r\n"
    "## Don't edit unless you know what you are doing!\r\n"
    "\r\n";

// Names and values reach the file unquoted, and some of them come from the
// server (channel and character names). A line break inside one would start a
// line of its own, a forged entry or section, so breaks are written as blanks.
std::string OneLine(const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    return line;
}

}  // namespace

ConfigFile::~ConfigFile() { Clear(); }

void ConfigFile::Clear() { sections.clear(); }

bool ConfigFile::Load(const std::string& filePath) {
    path = filePath;
    std::string content;
    if (!platform::ReadWholeFile(filePath, content))
        return false;
    LoadText(content);
    return true;
}

void ConfigFile::LoadText(const std::string& content) {
    std::unique_ptr<ConfigSection> current;
    size_t start = 0;
    for (;;) {
        const size_t end = content.find('\n', start);
        std::string line = content.substr(start, end == std::string::npos ? std::string::npos : end - start);
        // A carriage return before the line feed belongs to the line end.
        if (end != std::string::npos && !line.empty() && line.back() == '\r')
            line.pop_back();

        if (line.compare(0, 2, "##") == 0) {
            // A comment.
        } else if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            if (current)
                sections.push_back(std::move(current));
            current = std::make_unique<ConfigSection>();
            current->name = line.substr(1, line.size() - 2);
        } else {
            const size_t equals = line.find('=');
            if (equals != std::string::npos && current) {
                auto entry = std::make_unique<ConfigEntry>();
                entry->key = line.substr(0, equals);
                entry->value = line.substr(equals + 1);
                current->entries.push_back(std::move(entry));
            }
        }

        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (current)
        sections.push_back(std::move(current));
}

bool ConfigFile::Save(const std::string& filePath) const {
    std::string content = kHeader;
    for (const auto& section : sections) {
        content += "[" + OneLine(section->name) + "]\r\n";
        for (const auto& entry : section->entries)
            content += OneLine(entry->key) + "=" + OneLine(entry->value) + "\r\n";
        content += "\r\n";
    }

    // Written beside the old file and swapped in only when complete: a crash
    // or a full disk in the middle of a save never costs the options.
    return platform::WriteFileSafely(filePath, content);
}

ConfigEntry* ConfigFile::Find(const std::string& section, const std::string& key) const {
    for (const auto& candidate : sections) {
        if (candidate->name != section)
            continue;
        for (const auto& entry : candidate->entries)
            if (entry->key == key)
                return entry.get();
    }
    return nullptr;
}

bool ConfigFile::HasKey(const std::string& section, const std::string& key) const {
    return Find(section, key) != nullptr;
}

std::string ConfigFile::GetString(const std::string& section, const std::string& key) const {
    const ConfigEntry* entry = Find(section, key);
    return entry ? entry->value : std::string();
}

int32_t ConfigFile::GetInt(const std::string& section, const std::string& key) const {
    return ReadLeadingInt(GetString(section, key));
}

bool ConfigFile::GetBool(const std::string& section, const std::string& key) const {
    return GetString(section, key) == "true";
}

void ConfigFile::SetString(const std::string& section, const std::string& key, const std::string& value) {
    ConfigSection* target = FindSection(section);
    if (!target) {
        sections.push_back(std::make_unique<ConfigSection>());
        target = sections.back().get();
        target->name = section;
    }
    for (const auto& entry : target->entries) {
        if (entry->key == key) {
            entry->value = value;
            return;
        }
    }
    auto entry = std::make_unique<ConfigEntry>();
    entry->key = key;
    entry->value = value;
    target->entries.push_back(std::move(entry));
}

void ConfigFile::SetInt(const std::string& section, const std::string& key, int32_t value) {
    SetString(section, key, std::to_string(value));
}

void ConfigFile::SetBool(const std::string& section, const std::string& key, bool value) {
    SetString(section, key, value ? "true" : "false");
}

bool ConfigFile::RemoveKey(const std::string& section, const std::string& key) {
    for (const auto& candidate : sections) {
        if (candidate->name != section)
            continue;
        auto& entries = candidate->entries;
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            if ((*it)->key == key) {
                entries.erase(it);
                return true;
            }
        }
    }
    return false;
}

ConfigSection* ConfigFile::FindSection(const std::string& name) const {
    for (const auto& section : sections)
        if (section->name == name)
            return section.get();
    return nullptr;
}

std::vector<ConfigEntry*> ConfigFile::GetSectionEntries(const std::string& name) const {
    std::vector<ConfigEntry*> entries;
    if (const ConfigSection* section = FindSection(name))
        for (const auto& entry : section->entries)
            entries.push_back(entry.get());
    return entries;
}

bool ConfigFile::IsStorableKey(const std::string& key) {
    return key.find_first_of("=\r\n") == std::string::npos && key.compare(0, 2, "##") != 0 &&
           (key.empty() || key.front() != '[');
}

bool ConfigFile::IsStorableSection(const std::string& name) {
    return !name.empty() && name.find_first_of("]\r\n") == std::string::npos;
}
