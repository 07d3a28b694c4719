#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.
#include "support/TextFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace vcm::test {

class TempFolder {
public:
    TempFolder()
    {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("vcm_" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return path_.string(); }
    std::filesystem::path fs() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Writes the file and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return file(name);
    }
    std::string read(const std::string& name) const { return readFile(file(name)); }
    bool exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

    // Names of the files in the folder, or in a sub-folder of it (none when it was never made), sorted.
    std::vector<std::string> names(const std::string& subFolder = ".") const
    {
        std::vector<std::string> out;
        std::error_code missing;
        for (const auto& e : std::filesystem::directory_iterator(path_ / subFolder, missing))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::filesystem::path path_;
};

} // namespace vcm::test
