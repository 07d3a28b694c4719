#pragma once
// Where the settings file and, by default, the saved files live.
//
// The settings file is "VeloxCanMoni.INI" in the program's folder, as on the car's
// Windows computer where the program runs from a folder of its own. When that folder is
// not writable (a program installed under /usr/bin or "C:\Program Files"), the file goes
// to the per-user configuration folder instead, and a save folder left empty or never
// chosen means the per-user data folder:
//
//   platform  configuration folder                   data folder
//   Linux     $XDG_CONFIG_HOME/VeloxCanMoni          $XDG_DATA_HOME/VeloxCanMoni
//             (else ~/.config/VeloxCanMoni)          (else ~/.local/share/VeloxCanMoni)
//   macOS     ~/Library/Application Support/VeloxCanMoni (both)
//   Windows   %APPDATA%\VeloxCanMoni                 %LOCALAPPDATA%\VeloxCanMoni
#include "common/Platform.h"

#include <functional>
#include <optional>
#include <string>

namespace vcm {

class FileSystem;

inline constexpr const char* kSettingsFileName = "VeloxCanMoni.INI";

// The per-user folders of this program (empty when the environment names none).
struct UserFolders {
    std::string config;
    std::string data;
};

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
// The per-user folders by the platform's rules, from the environment variables given.
UserFolders userFolders(Platform platform, const EnvironmentLookup& environment);
// The same from this process's environment.
UserFolders userFoldersFromEnvironment();

struct AppPaths {
    std::string settingsFile;
    // The save folder when "SavePath" is missing (readSettings) or empty (the fallback
    // folder of resolveSaveFolder in logging/SaveFolder.h).
    std::string defaultSaveFolder;
};

// Program folder when it is writable (or when no per-user folder is known), else the
// per-user folders.
AppPaths resolveAppPaths(FileSystem& fs, const std::string& programFolder, const UserFolders& user);

// Creates the folders that resolveAppPaths chose and that may not exist yet; false when
// one of them could not be made.
bool createAppFolders(const AppPaths& paths);

} // namespace vcm
