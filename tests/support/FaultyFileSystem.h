#pragma once
// The real disk with faults switched on by the test: a full disk (every write fails)
// and a power cut in the middle of replacing a file (half the new content reaches the
// temporary file beside it, then nothing more happens).
#include "common/FileSystem.h"

#include <fstream>
#include <memory>

namespace vcm::test {

class FaultyFileSystem final : public FileSystem {
public:
    bool diskFull = false;
    bool cutPowerDuringReplace = false;
    int failedReplaces = 0;

    std::unique_ptr<OutputFile> create(const std::string& path) override
    {
        auto file = disk_.create(path);
        if (!file) return nullptr;
        return std::make_unique<File>(std::move(file), diskFull);
    }
    std::optional<std::string> readAll(const std::string& path) override { return disk_.readAll(path); }
    bool replaceAtomically(const std::string& path, std::string_view content) override
    {
        if (!cutPowerDuringReplace) return disk_.replaceAtomically(path, content);
        std::ofstream(path + ".new", std::ios::binary) << content.substr(0, content.size() / 2);
        ++failedReplaces;
        return false;
    }
    bool isWritableDirectory(const std::string& path) override { return disk_.isWritableDirectory(path); }

private:
    class File final : public OutputFile {
    public:
        File(std::unique_ptr<OutputFile> f, const bool& full) : file_(std::move(f)), full_(full) {}
        bool write(std::string_view bytes) override { return !full_ && file_->write(bytes); }

    private:
        std::unique_ptr<OutputFile> file_;
        const bool& full_;
    };
    DiskFileSystem disk_;
};

} // namespace vcm::test
