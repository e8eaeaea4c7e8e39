#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ConfigEntry {
    std::string key;
    std::string value;
};

struct ConfigSection {
    std::string name;
    std::vector<std::unique_ptr<ConfigEntry>> entries;  // in file order
};

// One ini file held in memory: named sections of key=value lines, in the order
// they were read or added. Values are text; the typed operations convert on
// every call. Names and keys compare byte for byte, case included; several
// sections may share a name and a section may hold a key twice, nothing merges
// them.
//
// On disk: two "##" header lines and an empty line, then every section as
// "[name]", its "key=value" lines and an empty line. Lines end in CR LF in
// every build; reading accepts LF alone too.
class ConfigFile {
public:
    ConfigFile() = default;
    ~ConfigFile();
    ConfigFile(const ConfigFile&) = delete;
    ConfigFile& operator=(const ConfigFile&) = delete;

    void Clear();
    // Appends what the file holds to what is held already; false when the
    // file cannot be opened. The path is remembered either way.
    bool Load(const std::string& path);
    // Appends what the text of a file holds, as Load does with the file's bytes.
    void LoadText(const std::string& content);
    // Writes everything to path. The old file is replaced only once the new
    // content is completely written, so a failed or interrupted save leaves it
    // as it was; false on any failure.
    bool Save(const std::string& path) const;

    bool HasKey(const std::string& section, const std::string& key) const;
    // "" when the key is missing.
    std::string GetString(const std::string& section, const std::string& key) const;
    // The leading number of the value (ReadLeadingInt); 0 when missing.
    int32_t GetInt(const std::string& section, const std::string& key) const;
    // True only for the exact text "true".
    bool GetBool(const std::string& section, const std::string& key) const;
    void SetString(const std::string& section, const std::string& key, const std::string& value);
    void SetInt(const std::string& section, const std::string& key, int32_t value);
    void SetBool(const std::string& section, const std::string& key, bool value);
    // True when an entry was removed; the section stays even when empty.
    bool RemoveKey(const std::string& section, const std::string& key);

    // The first section with the name, or null.
    ConfigSection* FindSection(const std::string& name) const;
    // The entries of the first section with the name, in order; empty when
    // there is none. They stay owned here and die with the next change.
    std::vector<ConfigEntry*> GetSectionEntries(const std::string& name) const;

    // Whether a name taken from elsewhere (a channel's, a character's) reads
    // back from the file as the same key or section: a key holding "=" or a
    // line break, or starting like a comment or a header, and a section name
    // that is empty or holds "]" or a line break would not. Writers of such
    // names leave them out rather than store something else.
    static bool IsStorableKey(const std::string& key);
    static bool IsStorableSection(const std::string& name);

    const std::vector<std::unique_ptr<ConfigSection>>& Sections() const { return sections; }
    const std::string& GetPath() const { return path; }

private:
    ConfigEntry* Find(const std::string& section, const std::string& key) const;

    std::vector<std::unique_ptr<ConfigSection>> sections;
    std::string path;
};
