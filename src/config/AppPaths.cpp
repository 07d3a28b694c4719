#include "AppPaths.h"

#include "common/FileSystem.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vcm {
namespace {

constexpr const char* kAppFolder = "VeloxCanMoni";

std::string nonEmpty(const EnvironmentLookup& environment, const char* name)
{
    const auto v = environment(name);
    return v ? *v : std::string{};
}

// An XDG variable counts only when it holds an absolute path; otherwise $HOME + fallback.
std::string xdgBase(const EnvironmentLookup& environment, const char* variable, const char* homeRelative)
{
    const std::string v = nonEmpty(environment, variable);
    if (!v.empty() && v.front() == '/') return v;
    const std::string home = nonEmpty(environment, "HOME");
    return home.empty() ? std::string{} : joinPath(home, homeRelative);
}

std::string appFolderIn(const std::string& base, char separator)
{
    if (base.empty()) return {};
    std::string out = base;
    if (out.back() != '/' && out.back() != '\\') out += separator;
    return out + kAppFolder;
}

} // namespace

UserFolders userFolders(Platform platform, const EnvironmentLookup& environment)
{
    switch (platform) {
    case Platform::Windows: {
        const std::string roaming = nonEmpty(environment, "APPDATA");
        std::string local = nonEmpty(environment, "LOCALAPPDATA");
        if (local.empty()) local = roaming;
        return {appFolderIn(roaming, '\\'), appFolderIn(local, '\\')};
    }
    case Platform::MacOs: {
        const std::string home = nonEmpty(environment, "HOME");
        const std::string support = home.empty() ? std::string{} : home + "/Library/Application Support";
        return {appFolderIn(support, '/'), appFolderIn(support, '/')};
    }
    case Platform::Linux:
        break;
    }
    return {appFolderIn(xdgBase(environment, "XDG_CONFIG_HOME", ".config"), '/'),
            appFolderIn(xdgBase(environment, "XDG_DATA_HOME", ".local/share"), '/')};
}

UserFolders userFoldersFromEnvironment()
{
    return userFolders(currentPlatform(), [](const char* name) -> std::optional<std::string> {
        const char* v = std::getenv(name);
        if (!v || !*v) return std::nullopt;
        return std::string(v);
    });
}

AppPaths resolveAppPaths(FileSystem& fs, const std::string& programFolder, const UserFolders& user)
{
    const bool programFolderUsable = fs.isWritableDirectory(programFolder);
    const std::string configFolder = programFolderUsable || user.config.empty() ? programFolder : user.config;
    const std::string saveFolder = programFolderUsable || user.data.empty() ? programFolder : user.data;
    return {joinPath(configFolder, kSettingsFileName), saveFolder};
}

bool createAppFolders(const AppPaths& paths)
{
    std::error_code ec;
    bool ok = true;
    const std::filesystem::path settingsFolder = std::filesystem::path(paths.settingsFile).parent_path();
    for (const std::filesystem::path& folder : {settingsFolder, std::filesystem::path(paths.defaultSaveFolder)}) {
        if (folder.empty()) continue;
        std::filesystem::create_directories(folder, ec);
        if (ec || !std::filesystem::is_directory(folder, ec)) ok = false;
    }
    return ok;
}

} // namespace vcm
