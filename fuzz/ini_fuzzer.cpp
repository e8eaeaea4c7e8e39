// The ini files: "velmora.ini" read into a ConfigFile, then every option read
// back through Settings as the client reads it, and the file written out again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "platform/Platform.h"

namespace {

// Settings reads its files from the application-data folder: an empty one of
// the fuzzer's own, so that only the fuzzer's bytes count.
class ScratchFolders : public platform::KnownFolders {
public:
    std::string Get(platform::KnownFolder) override { return folder; }
    std::string folder = "/tmp/velmora-fuzz-ini-" + std::to_string(::getpid());
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20)
        return 0;
    static ScratchFolders* folders = [] {
        auto* made = new ScratchFolders();
        std::filesystem::create_directories(made->folder);
        platform::SetKnownFolders(made);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folders->folder, ignored);
        });
        return made;
    }();
    static Settings* settings = new Settings();

    const std::string text(reinterpret_cast<const char*>(data), size);
    settings->options->Clear();
    settings->options->LoadText(text);
    settings->containers->Clear();
    settings->containers->LoadText(text);

    volatile int64_t sum = 0;
    for (const auto& section : settings->options->Sections())
        for (const auto& entry : section->entries) {
            sum = sum + settings->options->GetInt(section->name, entry->key);
            sum = sum + settings->options->GetBool(section->name, entry->key);
            sum = sum + int64_t(settings->options->GetSectionEntries(section->name).size());
        }
    sum = sum + settings->GetSkin() + settings->GetEngine() + settings->GetFpsLimit() +
          settings->GetLootMessageDisplay() + settings->GetStatBarPosition() + settings->GetLeftBarWidth() +
          settings->GetSkinIndex() + settings->GetSkinHighlightColor() + settings->GetSkinShadowColor() +
          settings->GetAutoFollow() + settings->GetFieldStretching() + settings->GetForceWindowsRight() +
          settings->GetAutoOpenTab() + settings->GetDisableMenu() + settings->GetTimerMovement() +
          settings->GetExperienceCalculator() + settings->GetFloorFading() + settings->GetSmoothSidestep() +
          settings->GetHealthWarning() + settings->GetSeenEnraged() +
          int64_t(settings->GetScreenshotPath().size());
    int32_t width = 0, height = 0;
    bool maximised = false;
    settings->GetWindowSize(width, height, maximised);
    sum = sum + width + height + maximised;

    // What was read is written back as it would be saved.
    settings->SetFpsLimit(60);
    settings->SetWindowSize(800, 600, false);
    settings->options->RemoveKey("options", "engine");
    settings->Save();
    return 0;
}
