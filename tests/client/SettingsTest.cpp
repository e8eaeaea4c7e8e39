// The options: defaults, reading rules, skins and where the files live.
#include <gtest/gtest.h>

#include <filesystem>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "tests/support/Scratch.h"
#include "tests/support/FakePlatform.h"

namespace {

namespace fs = std::filesystem;

uint32_t Grey(uint32_t n) { return 0xFF000000u | n << 16 | n << 8 | n; }

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() {
        platform.folders.appData = dir.Path("appdata");
        platform.folders.desktop = dir.Path("desktop");
        fs::create_directory(platform.folders.appData);
    }

    // The application-data folder of the options files.
    std::string Folder() const { return dir.Path("appdata/VelmoraOnline"); }

    FakePlatform platform;
    ScratchDir dir{"settings"};
};

TEST_F(SettingsTest, EveryReaderHasItsDefaultWithoutFiles) {
    Settings settings;
    int32_t width = 0;
    int32_t height = 0;
    bool maximised = false;
    settings.GetWindowSize(width, height, maximised);
    EXPECT_EQ(width, 1000);
    EXPECT_EQ(height, 700);
    EXPECT_TRUE(maximised);
    EXPECT_EQ(settings.GetSkin(), 5764);
    EXPECT_EQ(settings.GetSkinHighlightColor(), Grey(60));
    EXPECT_EQ(settings.GetSkinShadowColor(), Grey(10));
    EXPECT_EQ(settings.GetEngine(), 2);
    EXPECT_EQ(settings.GetFpsLimit(), 60);
    EXPECT_FALSE(settings.GetAutoFollow());
    EXPECT_TRUE(settings.GetFieldStretching());
    EXPECT_TRUE(settings.GetForceWindowsRight());
    EXPECT_TRUE(settings.GetAutoOpenTab());
    EXPECT_FALSE(settings.GetDisableMenu());
    EXPECT_TRUE(settings.GetTimerMovement());
    EXPECT_TRUE(settings.GetExperienceCalculator());
    EXPECT_TRUE(settings.GetFloorFading());
    EXPECT_TRUE(settings.GetSmoothSidestep());
    EXPECT_EQ(settings.GetLootMessageDisplay(), 1);
    EXPECT_EQ(settings.GetScreenshotPath(), dir.Path("desktop"));
    EXPECT_EQ(settings.GetStatBarPosition(), 0);
    EXPECT_TRUE(settings.GetHealthWarning());
    EXPECT_FALSE(settings.GetSeenEnraged());
    EXPECT_EQ(settings.GetLeftBarWidth(), 165);
    // Reading never writes a default into the file.
    EXPECT_TRUE(settings.options->Sections().empty());
}

TEST_F(SettingsTest, StoredValuesAreReadByTheirRules) {
    const struct {
        const char* key;
        const char* value;
        int engine;
        int skin;
    } engineAndSkin[] = {
        {"engine", "directx", 2, 0},    {"engine", "direct3d", 2, 0}, {"engine", "directdraw", 3, 0},
        {"engine", "opengl", 1, 0},     {"engine", "DirectX", 1, 0},  {"engine", "", 1, 0},
        {"skin", "0", 0, 5764},         {"skin", "-5", 0, 5764},      {"skin", "abc", 0, 5764},
        {"skin", "42", 0, 42},          {"skin", "1374", 0, 1374},
    };
    for (const auto& c : engineAndSkin) {
        Settings settings;
        settings.options->SetString("options", c.key, c.value);
        if (c.engine) {
            EXPECT_EQ(settings.GetEngine(), c.engine) << c.value;
        } else {
            EXPECT_EQ(settings.GetSkin(), c.skin) << c.value;
        }
    }

    Settings settings;
    ConfigFile& options = *settings.options;
    options.SetString("options", "autofollow", "1");
    options.SetString("options", "dontresize", "yes");
    options.SetString("options", "fpslimit", "1000");
    options.SetString("options", "lootmessagedisplay", "7");
    options.SetString("options", "statbarposition", "9");
    options.SetString("options", "sspath", "");
    options.SetString("options", "windowwidth", "800");
    EXPECT_FALSE(settings.GetAutoFollow());
    EXPECT_TRUE(settings.GetFieldStretching());
    EXPECT_EQ(settings.GetFpsLimit(), 1000);
    EXPECT_EQ(settings.GetLootMessageDisplay(), 7);
    EXPECT_EQ(settings.GetStatBarPosition(), 9);
    EXPECT_EQ(settings.GetScreenshotPath(), "");
    int32_t width = 0;
    int32_t height = -1;
    bool maximised = true;
    settings.GetWindowSize(width, height, maximised);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 0);
    EXPECT_FALSE(maximised);
    options.SetString("options", "fpslimit", "0");
    EXPECT_EQ(settings.GetFpsLimit(), 0);
    options.SetString("windows", "leftbarwidth", "0");
    EXPECT_EQ(settings.GetLeftBarWidth(), 0);
}

TEST_F(SettingsTest, WritersStoreWhatReadersReturn) {
    Settings settings;
    settings.SetSkin(1373);
    settings.SetAutoFollow(true);
    settings.SetEngine("directdraw");
    settings.SetFieldStretching(false);
    settings.SetForceWindowsRight(false);
    settings.SetAutoOpenTab(false);
    settings.SetDisableMenu(true);
    settings.SetTimerMovement(false);
    settings.SetFpsLimit(144);
    settings.SetExperienceCalculator(false);
    settings.SetFloorFading(false);
    settings.SetSmoothSidestep(false);
    settings.SetLootMessageDisplay(3);
    settings.SetStatBarPosition(2);
    settings.SetWindowSize(1280, 720, false);
    settings.SetHealthWarning(false);
    settings.SetSeenEnraged(true);
    EXPECT_EQ(settings.GetSkin(), 1373);
    EXPECT_TRUE(settings.GetAutoFollow());
    EXPECT_EQ(settings.GetEngine(), 3);
    EXPECT_FALSE(settings.GetFieldStretching());
    EXPECT_EQ(settings.options->GetString("options", "dontresize"), "true");
    EXPECT_FALSE(settings.GetForceWindowsRight());
    EXPECT_FALSE(settings.GetAutoOpenTab());
    EXPECT_TRUE(settings.GetDisableMenu());
    EXPECT_FALSE(settings.GetTimerMovement());
    EXPECT_EQ(settings.GetFpsLimit(), 144);
    EXPECT_FALSE(settings.GetExperienceCalculator());
    EXPECT_FALSE(settings.GetFloorFading());
    EXPECT_FALSE(settings.GetSmoothSidestep());
    EXPECT_EQ(settings.GetLootMessageDisplay(), 3);
    EXPECT_EQ(settings.GetStatBarPosition(), 2);
    int32_t width = 0;
    int32_t height = 0;
    bool maximised = true;
    settings.GetWindowSize(width, height, maximised);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 720);
    EXPECT_FALSE(maximised);
    EXPECT_FALSE(settings.GetHealthWarning());
    EXPECT_TRUE(settings.GetSeenEnraged());
}

TEST_F(SettingsTest, SkinListIndexAndColours) {
    Settings settings;
    ASSERT_EQ(settings.GetSkins().size(), 5u);
    EXPECT_EQ(settings.GetSkins()[0].name, "Earth");
    EXPECT_EQ(settings.GetSkins()[4].name, "Dark Stripes");
    EXPECT_EQ(settings.GetSkinSprite(-1), 0);
    EXPECT_EQ(settings.GetSkinSprite(5), 0);
    EXPECT_EQ(settings.GetSkinSprite(4), 5764);
    EXPECT_EQ(settings.GetSkinIndex(), 4);

    const struct {
        int32_t skin;
        int32_t index;
        uint32_t light;
        uint32_t dark;
    } cases[] = {
        {1373, 0, Grey(82), Grey(20)}, {1374, 1, Grey(82), Grey(20)}, {5762, 2, Grey(60), Grey(10)},
        {5763, 3, Grey(82), Grey(20)}, {5764, 4, Grey(60), Grey(10)}, {42, 0, Grey(60), Grey(10)},
    };
    for (const auto& c : cases) {
        settings.SetSkin(c.skin);
        EXPECT_EQ(settings.GetSkinIndex(), c.index) << c.skin;
        EXPECT_EQ(settings.GetSkinHighlightColor(), c.light) << c.skin;
        EXPECT_EQ(settings.GetSkinShadowColor(), c.dark) << c.skin;
    }
}

TEST_F(SettingsTest, ChannelsAreKeysOfOpenChannelsOnly) {
    Settings settings;
    settings.SetChannelOpen("Trade", false);
    EXPECT_EQ(settings.options->FindSection("channels"), nullptr);
    settings.SetChannelOpen("Trade", true);
    settings.SetChannelOpen("Trade", true);
    settings.SetChannelOpen("Help", true);
    settings.SetChannelOpen("Help", false);
    ASSERT_EQ(settings.options->GetSectionEntries("channels").size(), 1u);
    EXPECT_EQ(settings.options->GetString("channels", "Trade"), "true");
}

TEST_F(SettingsTest, FirstSaveCreatesTheFileWithOnlyTheKeysWritten) {
    {
        Settings settings;
        settings.SetFpsLimit(30);
        settings.Save();
    }
    EXPECT_EQ(ReadFileBytes(Folder() + "/velmora.ini"),
              "## This is a config file for the Velmora Online Client\r\n"
              "## Don't edit unless you know what you are doing!\r\n\r\n"
              "[options]\r\nfpslimit=30\r\n\r\n");
    Settings again;
    EXPECT_EQ(again.GetFpsLimit(), 30);
}

TEST_F(SettingsTest, WorkingDirectoryCopiesAreReadOnlyWhenTheFolderHasNone) {
    WriteFileBytes(dir.Path("velmora.ini"), "[options]\nfpslimit=25\n");
    WriteFileBytes(dir.Path("containers.ini"), "[containers Bob]\nslot=1\n");
    {
        Settings settings;
        EXPECT_EQ(settings.GetFpsLimit(), 25);
        EXPECT_EQ(settings.containers->GetString("containers Bob", "slot"), "1");
        settings.Save();
        settings.SaveContainers();
    }
    EXPECT_TRUE(fs::exists(Folder() + "/velmora.ini"));
    EXPECT_TRUE(fs::exists(Folder() + "/containers.ini"));
    // From now on the folder's copy counts, even when the other one changes.
    WriteFileBytes(dir.Path("velmora.ini"), "[options]\nfpslimit=99\n");
    Settings settings;
    EXPECT_EQ(settings.GetFpsLimit(), 25);
    EXPECT_EQ(settings.containers->GetString("containers Bob", "slot"), "1");
}

}  // namespace
