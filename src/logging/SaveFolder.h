#pragma once
// Where the log set and the trip file go. An empty save folder would otherwise put
// files at the root of the file system (or the current folder): it falls back to a
// folder the host chooses (the program's folder, or the per-user data folder when
// the program's folder cannot be written).
#include <string>

namespace vcm {

inline std::string resolveSaveFolder(const std::string& savePath, const std::string& fallbackFolder)
{
    return savePath.empty() ? fallbackFolder : savePath;
}

} // namespace vcm
