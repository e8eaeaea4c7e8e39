#include "engine/Folders.h"

#include "platform/Platform.h"

namespace {
// Without a folder from the shell, files go to the working directory rather
// than to the root of the current drive.
std::string KnownFolderOrWorkingDirectory(platform::KnownFolder folder) {
    const std::string path = platform::GetKnownFolder(folder);
    return path.empty() ? std::string(".") : path;
}
}  // namespace

std::string GetAppDataFolder() {
    return KnownFolderOrWorkingDirectory(platform::KnownFolder::AppData) + "/VelmoraOnline";
}

std::string GetFolderPath() { return KnownFolderOrWorkingDirectory(platform::KnownFolder::Desktop); }
