#pragma once
// Files kept in memory, so that a fuzzer can hand its bytes to readers that take a
// FileSystem without touching the disk.
#include "common/FileSystem.h"

#include <map>
#include <memory>
#include <string>

namespace vcm::fuzz {

class MemoryFileSystem final : public FileSystem {
public:
    std::map<std::string, std::string> files;

    std::unique_ptr<OutputFile> create(const std::string& path) override
    {
        files[path].clear();
        return std::make_unique<File>(files[path]);
    }
    FileText read(const std::string& path, std::size_t maxBytes) override
    {
        const auto it = files.find(path);
        if (it == files.end()) return {};
        if (it->second.size() > maxBytes) return {FileText::Status::Failed, {}, "larger than the limit"};
        return {FileText::Status::Read, it->second, {}};
    }
    bool replaceAtomically(const std::string& path, std::string_view content) override
    {
        files[path] = std::string(content);
        return true;
    }
    bool moveIntoPlace(const std::string& from, const std::string& to) override
    {
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool remove(const std::string& path) override
    {
        files.erase(path);
        return true;
    }
    bool exists(const std::string& path) override { return files.count(path) != 0; }
    bool isWritableDirectory(const std::string&) override { return true; }

private:
    class File final : public OutputFile {
    public:
        explicit File(std::string& text) : text_(text) {}
        bool write(std::string_view bytes) override
        {
            text_ += bytes;
            return true;
        }

    private:
        std::string& text_;
    };
};

} // namespace vcm::fuzz
