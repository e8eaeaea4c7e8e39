#include "engine/Folders.h"

#include "platform/Platform.h"

std::string GetAppDataFolder() {
    return platform::GetKnownFolder(platform::KnownFolder::AppData) + "/VelmoraOnline";
}

std::string GetFolderPath() { return platform::GetKnownFolder(platform::KnownFolder::Desktop); }
