#include "client/Settings.h"

#include "client/ConfigFile.h"
#include "engine/Folders.h"
#include "platform/Platform.h"

namespace {

const char kOptions[] = "options";
const char kOptionsFile[] = "/velmora.ini";
const char kContainersFile[] = "/containers.ini";
const int32_t kDefaultSkin = 5764;

uint32_t Grey(uint32_t level) { return 0xFF000000u | level << 16 | level << 8 | level; }

// The skins drawn with the lighter pair of frame colours.
bool IsLightSkin(int32_t sprite) { return sprite == 1373 || sprite == 1374 || sprite == 5763; }

// Reads F + name, and the working directory's copy when that fails.
void LoadWithFallback(ConfigFile& file, const std::string& folder, const char* name) {
    if (!file.Load(folder + name))
        file.Load(std::string(".") + name);
}

}  // namespace

Settings::Settings() {
    Load();
    BuildSkinList();
}

Settings::~Settings() {
    delete options;
    delete containers;
}

void Settings::Load() {
    const std::string folder = GetAppDataFolder();
    platform::MakeDirectory(folder);
    delete options;
    options = new ConfigFile();
    LoadWithFallback(*options, folder, kOptionsFile);
    delete containers;
    containers = new ConfigFile();
    LoadWithFallback(*containers, folder, kContainersFile);
}

// Always into the application-data folder, wherever the file was read from.
void Settings::Save() { options->Save(GetAppDataFolder() + kOptionsFile); }

void Settings::SaveContainers() { containers->Save(GetAppDataFolder() + kContainersFile); }

void Settings::BuildSkinList() {
    skins.push_back({1373, "Earth"});
    skins.push_back({1374, "Dust"});
    skins.push_back({5762, "Dark Scratches"});
    skins.push_back({5763, "Light Stripes"});
    skins.push_back({5764, "Dark Stripes"});
}

bool Settings::ReadBool(const char* key, bool fallback) const {
    return options->HasKey(kOptions, key) ? options->GetBool(kOptions, key) : fallback;
}

int32_t Settings::ReadInt(const char* section, const char* key, int32_t fallback) const {
    return options->HasKey(section, key) ? options->GetInt(section, key) : fallback;
}

int32_t Settings::GetSkin() const {
    // No presence test: a missing key and anything that is not a positive
    // number give the default skin.
    const int32_t sprite = options->GetInt(kOptions, "skin");
    return sprite > 0 ? sprite : kDefaultSkin;
}
void Settings::SetSkin(int32_t sprite) { options->SetInt(kOptions, "skin", sprite); }

bool Settings::GetAutoFollow() const { return ReadBool("autofollow", false); }
void Settings::SetAutoFollow(bool on) { options->SetBool(kOptions, "autofollow", on); }

int Settings::GetEngine() const {
    if (!options->HasKey(kOptions, "engine"))
        return 2;
    const std::string name = options->GetString(kOptions, "engine");
    if (name == "directx" || name == "direct3d")
        return 2;
    if (name == "directdraw")
        return 3;
    return 1;
}
void Settings::SetEngine(std::string name) { options->SetString(kOptions, "engine", name); }

// Stored negated under "dontresize".
bool Settings::GetFieldStretching() const { return !ReadBool("dontresize", false); }
void Settings::SetFieldStretching(bool on) { options->SetBool(kOptions, "dontresize", !on); }

bool Settings::GetForceWindowsRight() const { return ReadBool("forcewindowsright", true); }
void Settings::SetForceWindowsRight(bool on) { options->SetBool(kOptions, "forcewindowsright", on); }

bool Settings::GetAutoOpenTab() const { return ReadBool("autoopentab", true); }
void Settings::SetAutoOpenTab(bool on) { options->SetBool(kOptions, "autoopentab", on); }

bool Settings::GetDisableMenu() const { return ReadBool("disablemenu", false); }
void Settings::SetDisableMenu(bool on) { options->SetBool(kOptions, "disablemenu", on); }

bool Settings::GetTimerMovement() const { return ReadBool("timermovement", true); }
void Settings::SetTimerMovement(bool on) { options->SetBool(kOptions, "timermovement", on); }

int32_t Settings::GetFpsLimit() const { return ReadInt(kOptions, "fpslimit", 60); }
void Settings::SetFpsLimit(int32_t limit) { options->SetInt(kOptions, "fpslimit", limit); }

bool Settings::GetExperienceCalculator() const { return ReadBool("experiencecalculator", true); }
void Settings::SetExperienceCalculator(bool on) { options->SetBool(kOptions, "experiencecalculator", on); }

bool Settings::GetFloorFading() const { return ReadBool("floorfading", true); }
void Settings::SetFloorFading(bool on) { options->SetBool(kOptions, "floorfading", on); }

bool Settings::GetSmoothSidestep() const { return ReadBool("smoothsidestep", true); }
void Settings::SetSmoothSidestep(bool on) { options->SetBool(kOptions, "smoothsidestep", on); }

int32_t Settings::GetLootMessageDisplay() const { return ReadInt(kOptions, "lootmessagedisplay", 1); }
void Settings::SetLootMessageDisplay(int32_t mode) { options->SetInt(kOptions, "lootmessagedisplay", mode); }

std::string Settings::GetScreenshotPath() const {
    if (options->HasKey(kOptions, "sspath"))
        return options->GetString(kOptions, "sspath");
    return GetFolderPath();
}

int32_t Settings::GetStatBarPosition() const { return ReadInt(kOptions, "statbarposition", 0); }
void Settings::SetStatBarPosition(int32_t position) { options->SetInt(kOptions, "statbarposition", position); }

void Settings::GetWindowSize(int32_t& width, int32_t& height, bool& maximised) const {
    // The width alone decides whether the stored size counts.
    if (!options->HasKey(kOptions, "windowwidth")) {
        width = 1000;
        height = 700;
        maximised = true;
        return;
    }
    width = options->GetInt(kOptions, "windowwidth");
    height = options->GetInt(kOptions, "windowheight");
    maximised = options->GetBool(kOptions, "windowmaximized");
}

void Settings::SetWindowSize(int32_t width, int32_t height, bool maximised) {
    options->SetInt(kOptions, "windowwidth", width);
    options->SetInt(kOptions, "windowheight", height);
    options->SetBool(kOptions, "windowmaximized", maximised);
}

bool Settings::GetHealthWarning() const { return ReadBool("healthwarning", true); }
void Settings::SetHealthWarning(bool on) { options->SetBool(kOptions, "healthwarning", on); }

bool Settings::GetSeenEnraged() const { return ReadBool("seenenraged", false); }
void Settings::SetSeenEnraged(bool on) { options->SetBool(kOptions, "seenenraged", on); }

int32_t Settings::GetLeftBarWidth() const { return ReadInt("windows", "leftbarwidth", 165); }

void Settings::SetChannelOpen(std::string name, bool open) {
    // A channel whose name the file cannot hold is simply not remembered.
    if (!ConfigFile::IsStorableKey(name))
        return;
    if (open)
        options->SetBool("channels", name, true);
    else
        options->RemoveKey("channels", name);
}

int32_t Settings::GetSkinIndex() const {
    const int32_t skin = GetSkin();
    for (size_t i = 0; i < skins.size(); ++i)
        if (skins[i].sprite == skin)
            return int32_t(i);
    return 0;
}

int32_t Settings::GetSkinSprite(int32_t index) const {
    return index >= 0 && size_t(index) < skins.size() ? skins[size_t(index)].sprite : 0;
}

uint32_t Settings::GetSkinHighlightColor() const { return IsLightSkin(GetSkin()) ? Grey(82) : Grey(60); }

uint32_t Settings::GetSkinShadowColor() const { return IsLightSkin(GetSkin()) ? Grey(20) : Grey(10); }
