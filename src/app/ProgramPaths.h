#pragma once
// Where the program keeps its settings file and, by default, its saved files.
#include <string>

namespace vcm {

class FileSystem;

struct ProgramPaths {
    std::string settingsFile;
    std::string defaultSaveFolder;
};

// The settings file beside the program, or in the user's folders when that is not
// writable; simulated runs use "VeloxCanMoni-simulated.INI" in the same folder, so the
// car's own settings stay as they are. The folders are created when missing.
ProgramPaths programPaths(FileSystem& fs, const std::string& programFolder, bool simulated);

} // namespace vcm
