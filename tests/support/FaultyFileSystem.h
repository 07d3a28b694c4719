#pragma once
// The real disk with faults switched on by the test:
//   diskFull          every write, create and replace fails with "No space left on device";
//   unreadable        reading these paths fails with "Input/output error";
//   cutPowerDuringReplace  half the new content reaches the temporary file beside the
//                     file being replaced, then nothing more happens;
//   killAfter         the process dies after that many changes to the disk (a write, a
//                     create, a replace, a rename, a removal): every later change is
//                     lost, as if the program had been killed between two of them.
#include "common/FileSystem.h"

#include <fstream>
#include <memory>
#include <set>
#include <string>

namespace vcm::test {

class FaultyFileSystem final : public FileSystem {
public:
    bool diskFull = false;
    bool cutPowerDuringReplace = false;
    int failedReplaces = 0;
    std::set<std::string> unreadable;
    int killAfter = -1; // changes allowed before the kill; -1: never killed
    int changes = 0;    // changes made so far

    std::unique_ptr<OutputFile> create(const std::string& path) override
    {
        if (!change() || diskFull) return fail<std::unique_ptr<OutputFile>>(nullptr);
        auto file = disk_.create(path);
        if (!file) return nullptr;
        return std::make_unique<File>(std::move(file), *this);
    }
    FileText read(const std::string& path, std::size_t maxBytes) override
    {
        if (unreadable.count(path) != 0) return {FileText::Status::Failed, {}, "Input/output error"};
        return disk_.read(path, maxBytes);
    }
    bool replaceAtomically(const std::string& path, std::string_view content) override
    {
        if (!change()) return false;
        if (cutPowerDuringReplace) {
            std::ofstream(path + ".new", std::ios::binary) << content.substr(0, content.size() / 2);
            ++failedReplaces;
            return false;
        }
        if (diskFull) return fail(false);
        return disk_.replaceAtomically(path, content);
    }
    bool moveIntoPlace(const std::string& from, const std::string& to) override
    {
        return change() && disk_.moveIntoPlace(from, to);
    }
    bool remove(const std::string& path) override { return change() && disk_.remove(path); }
    bool exists(const std::string& path) override { return disk_.exists(path); }
    bool isWritableDirectory(const std::string& path) override { return disk_.isWritableDirectory(path); }
    std::string lastError() const override { return lastError_.empty() ? disk_.lastError() : lastError_; }

    bool killed() const { return killAfter >= 0 && changes > killAfter; }

private:
    bool change()
    {
        ++changes;
        return !killed();
    }
    template <class T>
    T fail(T value)
    {
        lastError_ = "No space left on device";
        return value;
    }

    class File final : public OutputFile {
    public:
        File(std::unique_ptr<OutputFile> f, FaultyFileSystem& fs) : file_(std::move(f)), fs_(fs) {}
        bool write(std::string_view bytes) override
        {
            if (!fs_.change() || fs_.diskFull) return false;
            return file_->write(bytes);
        }
        bool sync() override { return !fs_.killed() && file_->sync(); }
        std::string error() const override { return fs_.diskFull ? "No space left on device" : file_->error(); }

    private:
        std::unique_ptr<OutputFile> file_;
        FaultyFileSystem& fs_;
    };
    DiskFileSystem disk_;
    std::string lastError_;
};

} // namespace vcm::test
