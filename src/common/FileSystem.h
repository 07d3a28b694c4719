#pragma once
// The files the core writes and reads, behind a small interface so that tests can
// make any step fail (full disk, read-only folder, power cut in the middle of a write).
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vcm {

// A file open for writing. write() hands the bytes to the operating system before it
// returns (no buffer in the process), so a kill loses at most the call in flight.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    // All or nothing: when the bytes cannot all be written (disk full), the file is cut
    // back to where it was, so no half row stays behind.
    virtual bool write(std::string_view bytes) = 0;
    // Asks the operating system to put what was written on the disk itself, so that a
    // power cut does not lose it.
    virtual bool sync() { return true; }
    // The operating system's reason for the last failure ("No space left on device").
    virtual std::string error() const { return {}; }
};

// A whole file read back.
struct FileText {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Missing;
    std::string text;   // Read: the content
    std::string reason; // Failed: the operating system's reason, or "larger than N bytes"
    bool read() const { return status == Status::Read; }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens path for writing from empty (an existing file is replaced); nullptr on
    // failure, with the reason in lastError().
    virtual std::unique_ptr<OutputFile> create(const std::string& path) = 0;
    // The whole content of a file of at most maxBytes bytes. A longer file (or a device
    // that never ends) is not read: Failed, "larger than maxBytes bytes".
    virtual FileText read(const std::string& path, std::size_t maxBytes) = 0;
    // Writes content to a new file beside path, syncs it, renames it over path and syncs
    // the folder, so that path holds either the old or the new content whole, whatever
    // happens, a power cut included. False with the reason in lastError().
    virtual bool replaceAtomically(const std::string& path, std::string_view content) = 0;
    // Syncs the written file `from`, renames it to `to` and syncs the folder.
    virtual bool moveIntoPlace(const std::string& from, const std::string& to) = 0;
    // Removes a file; true when it is gone (or was never there).
    virtual bool remove(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual bool isWritableDirectory(const std::string& path) = 0;
    // The operating system's reason for the last failed create, replace, move or remove.
    virtual std::string lastError() const { return {}; }

    // read() for callers that need no reason: nothing unless the file was read.
    std::optional<std::string> readAll(const std::string& path, std::size_t maxBytes = kDefaultReadLimit)
    {
        FileText t = read(path, maxBytes);
        if (!t.read()) return std::nullopt;
        return std::move(t.text);
    }
    static constexpr std::size_t kDefaultReadLimit = 16u << 20;
};

// The real file system (std::filesystem and POSIX/Win32 calls).
class DiskFileSystem final : public FileSystem {
public:
    std::unique_ptr<OutputFile> create(const std::string& path) override;
    FileText read(const std::string& path, std::size_t maxBytes) override;
    bool replaceAtomically(const std::string& path, std::string_view content) override;
    bool moveIntoPlace(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool isWritableDirectory(const std::string& path) override;
    std::string lastError() const override { return lastError_; }

private:
    std::string lastError_;
};

// Joins a folder and a file name with the platform's separator ("" folder -> name alone).
std::string joinPath(std::string_view folder, std::string_view name);

// "could not write /logs/TRAJETS.CSV: No space left on device" (reason left out when empty).
std::string fileMessage(std::string_view what, std::string_view path, std::string_view reason);

} // namespace vcm
