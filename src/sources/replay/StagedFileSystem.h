#pragma once
// The files of a replay, kept from looking complete until the replay is: every file
// created is written under its name + ".part" and renamed into place by commit(); the
// trip file's atomic replacement is held until then. discard() removes the ".part"
// files. The ".part" files are synced before they are renamed. Staged files are written in large blocks, not row by row: nobody sees them
// before commit(), which fails when any write did. A file that already exists is never
// replaced unless asked: create() throws ExistingFileError instead, before anything is
// written.
#include "common/FileSystem.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vcm {

class ExistingFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class StagedFileSystem final : public FileSystem {
public:
    StagedFileSystem(FileSystem& inner, bool replaceExisting) : inner_(inner), replaceExisting_(replaceExisting) {}

    std::unique_ptr<OutputFile> create(const std::string& path) override;
    FileText read(const std::string& path, std::size_t maxBytes) override;
    bool replaceAtomically(const std::string& path, std::string_view content) override;
    bool moveIntoPlace(const std::string& from, const std::string& to) override { return inner_.moveIntoPlace(from, to); }
    bool remove(const std::string& path) override { return inner_.remove(path); }
    bool exists(const std::string& path) override { return inner_.exists(path); }
    bool isWritableDirectory(const std::string& path) override { return inner_.isWritableDirectory(path); }
    std::string lastError() const override { return inner_.lastError(); }

    // Renames the staged files into place and writes the held replacements; false (with
    // what failed in error()) when one of them could not be.
    bool commit();
    void discard();
    const std::string& error() const { return error_; }
    // Final names of the files written, in the order they were created.
    std::vector<std::string> files() const;

private:
    FileSystem& inner_;
    bool replaceExisting_;
    std::vector<std::pair<std::string, std::string>> staged_; // final name, ".part" name
    std::map<std::string, std::string> replacements_;
    std::string error_;
    // Final name of the first staged file a write failed on; shared with the open files.
    std::shared_ptr<std::string> firstWriteFailure_ = std::make_shared<std::string>();
    bool committed_ = false;
};

} // namespace vcm
