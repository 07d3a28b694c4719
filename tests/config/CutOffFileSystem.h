#pragma once
// The real disk, except that every write stops half-way and reports failure, as a
// power cut or a full disk would leave it.
#include "common/FileSystem.h"

#include <cstdio>

namespace vcm::test {

class CutOffFileSystem final : public FileSystem {
public:
    std::unique_ptr<OutputFile> create(const std::string& path) override
    {
        auto file = disk_.create(path);
        if (!file) return nullptr;
        return std::make_unique<HalfWrite>(std::move(file));
    }
    std::optional<std::string> readAll(const std::string& path) override { return disk_.readAll(path); }
    bool replaceAtomically(const std::string& path, std::string_view content) override
    {
        // The new file gets half of its bytes, and the rename never happens.
        if (auto temp = disk_.create(path + ".new")) temp->write(content.substr(0, content.size() / 2));
        ++failedReplaces;
        return false;
    }
    bool isWritableDirectory(const std::string& path) override { return disk_.isWritableDirectory(path); }

    int failedReplaces = 0;

private:
    class HalfWrite final : public OutputFile {
    public:
        explicit HalfWrite(std::unique_ptr<OutputFile> f) : file_(std::move(f)) {}
        bool write(std::string_view bytes) override
        {
            file_->write(bytes.substr(0, bytes.size() / 2));
            return false;
        }

    private:
        std::unique_ptr<OutputFile> file_;
    };
    DiskFileSystem disk_;
};

} // namespace vcm::test
