// The ini file: reading line by line, lookups, writing, and saving safely.
#include <gtest/gtest.h>

#include <filesystem>

#include "client/ConfigFile.h"
#include "tests/support/Scratch.h"

namespace {

// Every entry as "[section] key=value", in order.
std::vector<std::string> Dump(const ConfigFile& file) {
    std::vector<std::string> lines;
    for (const auto& section : file.Sections()) {
        lines.push_back("[" + section->name + "]");
        for (const auto& entry : section->entries)
            lines.push_back(entry->key + "=" + entry->value);
    }
    return lines;
}

class ConfigFileTest : public ::testing::Test {
protected:
    ScratchDir dir{"config"};

    void Load(ConfigFile& file, const std::string& text) {
        WriteFileBytes(dir.Path("in.ini"), text);
        ASSERT_TRUE(file.Load(dir.Path("in.ini")));
    }
};

struct LineCase {
    const char* name;
    std::string text;
    std::vector<std::string> entries;
};

TEST_F(ConfigFileTest, LinesAreReadByTheirFirstAndLastBytes) {
    const LineCase cases[] = {
        {"pairs before any header are dropped", "a=b\nc=d\n", {}},
        {"## is a comment, # is not", "[s]\n##a=b\n#a=b\n", {"[s]", "#a=b"}},
        {"the first = splits", "[s]\na==b\n=x\na=\n", {"[s]", "a==b", "=x", "a="}},
        {"blanks stay", "[s]\n key = value \n", {"[s]", " key = value "}},
        {"[] and [ are no headers", "[s]\n[]\n[\n[a=b\n", {"[s]", "[a=b"}},
        {"header names are untrimmed", "[ a b ]\nk=v\n", {"[ a b ]", "k=v"}},
        {"lines without = are skipped", "[s]\njust text\nk=v", {"[s]", "k=v"}},
        {"CR LF lines read like LF lines", "[s]\r\nk=v\r\n\r\n[t]\r\nx=y", {"[s]", "k=v", "[t]", "x=y"}},
        {"a lone CR stays in the value", "[s]\nk=v\rw\n", {"[s]", "k=v\rw"}},
        {"an empty section is kept", "[s]\n[t]\nk=v\n", {"[s]", "[t]", "k=v"}},
    };
    for (const LineCase& c : cases) {
        ConfigFile file;
        Load(file, c.text);
        EXPECT_EQ(Dump(file), c.entries) << c.name;
    }
}

TEST_F(ConfigFileTest, MissingFileFailsButKeepsThePath) {
    ConfigFile file;
    EXPECT_FALSE(file.Load(dir.Path("nothing.ini")));
    EXPECT_EQ(file.GetPath(), dir.Path("nothing.ini"));
    EXPECT_TRUE(file.Sections().empty());
}

TEST_F(ConfigFileTest, LoadingAppendsSoTheSameFileTwiceDoublesEverySection) {
    ConfigFile file;
    Load(file, "[s]\nk=v\n");
    Load(file, "[s]\nk=v\n");
    EXPECT_EQ(Dump(file), (std::vector<std::string>{"[s]", "k=v", "[s]", "k=v"}));
}

TEST_F(ConfigFileTest, SameNamedSectionsAreSearchedInOrderButWrittenToTheFirst) {
    ConfigFile file;
    Load(file, "[options]\na=1\n[options]\nb=2\na=9\n");
    EXPECT_TRUE(file.HasKey("options", "b"));
    EXPECT_EQ(file.GetString("options", "b"), "2");
    EXPECT_EQ(file.GetString("options", "a"), "1");
    EXPECT_EQ(file.GetString("Options", "a"), "");  // case matters

    // A key only in the second section is appended to the first, which later
    // lookups find first.
    file.SetString("options", "b", "3");
    EXPECT_EQ(file.GetString("options", "b"), "3");
    EXPECT_EQ(Dump(file), (std::vector<std::string>{"[options]", "a=1", "b=3", "[options]", "b=2", "a=9"}));

    EXPECT_EQ(file.FindSection("options"), file.Sections()[0].get());
    EXPECT_EQ(file.GetSectionEntries("options").size(), 2u);
    EXPECT_TRUE(file.GetSectionEntries("none").empty());
    EXPECT_EQ(file.FindSection("none"), nullptr);
}

TEST_F(ConfigFileTest, SettersAddSectionsAndKeysAtTheEnd) {
    ConfigFile file;
    file.SetInt("s", "n", -42);
    file.SetBool("s", "on", true);
    file.SetBool("t", "off", false);
    file.SetString("s", "n", "7");
    EXPECT_EQ(Dump(file), (std::vector<std::string>{"[s]", "n=7", "on=true", "[t]", "off=false"}));
}

TEST_F(ConfigFileTest, RemoveKeyTakesTheFirstMatchAndKeepsTheSection) {
    ConfigFile file;
    Load(file, "[s]\nk=1\n[s]\nk=2\n");
    EXPECT_TRUE(file.RemoveKey("s", "k"));
    EXPECT_EQ(file.GetString("s", "k"), "2");
    EXPECT_TRUE(file.RemoveKey("s", "k"));
    EXPECT_FALSE(file.RemoveKey("s", "k"));
    EXPECT_EQ(Dump(file), (std::vector<std::string>{"[s]", "[s]"}));
}

TEST_F(ConfigFileTest, TypedReads) {
    ConfigFile file;
    Load(file, "[s]\nint=12abc\nword=abc\nneg=-5\nhuge=99999999999\nt=true\nT=True\none=1\nempty=\n");
    const struct {
        const char* key;
        int32_t number;
        bool flag;
    } cases[] = {
        {"int", 12, false},   {"word", 0, false},         {"neg", -5, false},   {"huge", INT32_MAX, false},
        {"t", 0, true},       {"T", 0, false},            {"one", 1, false},    {"empty", 0, false},
        {"missing", 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(file.GetInt("s", c.key), c.number) << c.key;
        EXPECT_EQ(file.GetBool("s", c.key), c.flag) << c.key;
    }
}

TEST_F(ConfigFileTest, SaveWritesTheHeaderAndCrLfLinesInEveryBuild) {
    ConfigFile file;
    file.SetString("options", "engine", "opengl");
    file.SetInt("options", "fpslimit", 60);
    file.SetString("empty", "", "");
    ASSERT_TRUE(file.Save(dir.Path("out.ini")));
    EXPECT_EQ(ReadFileBytes(dir.Path("out.ini")),
              "## This is a config file for the Velmora Online Client\r\n"
              "## Don't edit unless you know what you are doing!\r\n"
              "\r\n"
              "[options]\r\nengine=opengl\r\nfpslimit=60\r\n\r\n"
              "[empty]\r\n=\r\n\r\n");
}

TEST_F(ConfigFileTest, SavedFileReadsBackTheSame) {
    ConfigFile file;
    Load(file, "[options]\nskin=5764\nsspath=C:\\Shots\\\n[channels]\nTrade Chat=true\n[options]\nx=[y]\n");
    ASSERT_TRUE(file.Save(dir.Path("out.ini")));
    ConfigFile again;
    ASSERT_TRUE(again.Load(dir.Path("out.ini")));
    EXPECT_EQ(Dump(again), Dump(file));
}

TEST_F(ConfigFileTest, LineBreaksInNamesCannotForgeLinesOrSections) {
    // Channel and character names come from the server.
    const struct {
        const char* name;
        std::string section;
        std::string key;
        std::string value;
    } cases[] = {
        {"value", "channels", "Trade", "true\n[options]\nengine=directdraw"},
        {"key", "channels", "evil\r\n[options]\r\nengine=directdraw\r\nx", "true"},
        {"section", "containers Bob]\n[options", "engine", "directdraw"},
    };
    for (const auto& c : cases) {
        ConfigFile file;
        file.SetString("options", "skin", "1373");
        file.SetString(c.section, c.key, c.value);
        ASSERT_TRUE(file.Save(dir.Path("out.ini"))) << c.name;
        ConfigFile again;
        ASSERT_TRUE(again.Load(dir.Path("out.ini")));
        EXPECT_FALSE(again.HasKey("options", "engine")) << c.name;
        ASSERT_EQ(again.Sections().size(), 2u) << c.name;
        ASSERT_EQ(again.Sections()[1]->entries.size(), 1u) << c.name;
        const std::string stored = again.Sections()[1]->name + "|" + again.Sections()[1]->entries[0]->key + "|" +
                                   again.Sections()[1]->entries[0]->value;
        EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos) << c.name;
    }
    // A normal name is stored byte for byte.
    ConfigFile file;
    file.SetBool("channels", "Trade \x01\xe9=[x]", true);
    ASSERT_TRUE(file.Save(dir.Path("out.ini")));
    EXPECT_NE(ReadFileBytes(dir.Path("out.ini")).find("\r\nTrade \x01\xe9=[x]=true\r\n"), std::string::npos);
}

TEST_F(ConfigFileTest, FailedSaveReportsFalseAndLeavesTheOldFile) {
    namespace fs = std::filesystem;
    ConfigFile file;
    file.SetString("options", "skin", "1373");
    const std::string old = "[options]\r\nskin=5764\r\n";

    // No folder to write into.
    EXPECT_FALSE(file.Save(dir.Path("missing/velmora.ini")));

    // The new content cannot be written beside the old file.
    WriteFileBytes(dir.Path("blocked.ini"), old);
    fs::create_directory(dir.Path("blocked.ini.tmp"));
    EXPECT_FALSE(file.Save(dir.Path("blocked.ini")));
    EXPECT_EQ(ReadFileBytes(dir.Path("blocked.ini")), old);

    // The new content cannot take the old file's place.
    fs::create_directory(dir.Path("folder.ini"));
    EXPECT_FALSE(file.Save(dir.Path("folder.ini")));
    EXPECT_TRUE(fs::is_directory(dir.Path("folder.ini")));
    EXPECT_FALSE(fs::exists(dir.Path("folder.ini.tmp")));

    // And a save that works replaces the file and leaves nothing beside it.
    WriteFileBytes(dir.Path("velmora.ini"), old);
    EXPECT_TRUE(file.Save(dir.Path("velmora.ini")));
    EXPECT_NE(ReadFileBytes(dir.Path("velmora.ini")).find("skin=1373"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.Path("velmora.ini.tmp")));
}

}  // namespace
