#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ConfigFile;

// A GUI skin the options dialog offers: the sprite drawn behind dialogs and
// side panels, and its name.
struct SkinEntry {
    int32_t sprite;
    std::string name;
};

// The client's options over its two ini files, "velmora.ini" (options, chat
// channels, window layout, hotkeys, ignore list) and "containers.ini"
// (container windows), both in the folder "VelmoraOnline" of the user's
// application data. Nothing is cached: every reader looks its key up again and
// returns its fixed default when the key is missing, every writer changes the
// file in memory at once, and only Save and SaveContainers write to disk.
// Other parts of the client keep their own keys in the same files through
// `options` and `containers`.
class Settings {
public:
    Settings();
    // Does not save: the client saves before it deletes the settings.
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    void Load();
    void Save();
    void SaveContainers();
    void BuildSkinList();

    int32_t GetSkin() const;
    void SetSkin(int32_t sprite);
    bool GetAutoFollow() const;
    void SetAutoFollow(bool on);
    // 1 OpenGL, 2 Direct3D 9, 3 DirectDraw.
    int GetEngine() const;
    void SetEngine(std::string name);
    bool GetFieldStretching() const;
    void SetFieldStretching(bool on);
    bool GetForceWindowsRight() const;
    void SetForceWindowsRight(bool on);
    bool GetAutoOpenTab() const;
    void SetAutoOpenTab(bool on);
    bool GetDisableMenu() const;
    void SetDisableMenu(bool on);
    bool GetTimerMovement() const;
    void SetTimerMovement(bool on);
    int32_t GetFpsLimit() const;
    void SetFpsLimit(int32_t limit);
    bool GetExperienceCalculator() const;
    void SetExperienceCalculator(bool on);
    bool GetFloorFading() const;
    void SetFloorFading(bool on);
    bool GetSmoothSidestep() const;
    void SetSmoothSidestep(bool on);
    int32_t GetLootMessageDisplay() const;
    void SetLootMessageDisplay(int32_t mode);
    // The folder for screenshots; only edited in the file by hand.
    std::string GetScreenshotPath() const;
    int32_t GetStatBarPosition() const;
    void SetStatBarPosition(int32_t position);
    void GetWindowSize(int32_t& width, int32_t& height, bool& maximised) const;
    void SetWindowSize(int32_t width, int32_t height, bool maximised);
    bool GetHealthWarning() const;
    void SetHealthWarning(bool on);
    bool GetSeenEnraged() const;
    void SetSeenEnraged(bool on);
    // Written into `options` directly by the options dialog.
    int32_t GetLeftBarWidth() const;
    void SetChannelOpen(std::string name, bool open);

    const std::vector<SkinEntry>& GetSkins() const { return skins; }
    int32_t GetSkinIndex() const;
    int32_t GetSkinSprite(int32_t index) const;
    uint32_t GetSkinHighlightColor() const;
    uint32_t GetSkinShadowColor() const;

    ConfigFile* options = nullptr;     // "velmora.ini"
    ConfigFile* containers = nullptr;  // "containers.ini"
    std::vector<SkinEntry> skins;

private:
    bool ReadBool(const char* key, bool fallback) const;
    int32_t ReadInt(const char* section, const char* key, int32_t fallback) const;
};
