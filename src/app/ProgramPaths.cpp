#include "app/ProgramPaths.h"

#include "config/AppPaths.h"

namespace vcm {

ProgramPaths programPaths(FileSystem& fs, const std::string& programFolder, bool simulated)
{
    const AppPaths paths = resolveAppPaths(fs, programFolder, userFoldersFromEnvironment());
    createAppFolders(paths);
    ProgramPaths out{paths.settingsFile, paths.defaultSaveFolder};
    if (simulated) {
        const auto cut = out.settingsFile.rfind(kSettingsFileName);
        out.settingsFile = out.settingsFile.substr(0, cut) + "VeloxCanMoni-simulated.INI";
    }
    return out;
}

} // namespace vcm
