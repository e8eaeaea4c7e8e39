#pragma once

#include <string>

// The per-user application-data folder followed by "/VelmoraOnline" (the
// folder is not created here). When the shell cannot give the folder the
// result is "./VelmoraOnline", below the working directory.
std::string GetAppDataFolder();
// The user's desktop folder, or "." (the working directory) when the shell
// has none.
std::string GetFolderPath();
