#pragma once
// The files the core writes and reads, behind a small interface so that tests can
// make any step fail (full disk, read-only folder, power cut in the middle of a write).
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vcm {

// A file open for writing. write() hands the bytes to the operating system before it
// returns (no buffer in the process), so a power cut loses at most the call in flight.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual bool write(std::string_view bytes) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens path for writing from empty (an existing file is replaced); nullptr on failure.
    virtual std::unique_ptr<OutputFile> create(const std::string& path) = 0;
    // The whole content, or nothing when the file is missing or unreadable.
    virtual std::optional<std::string> readAll(const std::string& path) = 0;
    // Writes content to a new file beside path, syncs it and renames it over path, so
    // that path holds either the old or the new content whole, whatever happens.
    virtual bool replaceAtomically(const std::string& path, std::string_view content) = 0;
    virtual bool isWritableDirectory(const std::string& path) = 0;
};

// The real file system (std::filesystem and POSIX/Win32 calls).
class DiskFileSystem final : public FileSystem {
public:
    std::unique_ptr<OutputFile> create(const std::string& path) override;
    std::optional<std::string> readAll(const std::string& path) override;
    bool replaceAtomically(const std::string& path, std::string_view content) override;
    bool isWritableDirectory(const std::string& path) override;
};

// Joins a folder and a file name with the platform's separator ("" folder -> name alone).
std::string joinPath(std::string_view folder, std::string_view name);

} // namespace vcm
