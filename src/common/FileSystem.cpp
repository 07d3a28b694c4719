#include "FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vcm {
namespace {

std::string reasonOf(int error) { return std::strerror(error); }

class DiskOutputFile final : public OutputFile {
public:
    explicit DiskOutputFile(std::FILE* f) : file_(f)
    {
        // No buffer in the process: every write goes straight to the operating system.
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    ~DiskOutputFile() override { std::fclose(file_); }
    DiskOutputFile(const DiskOutputFile&) = delete;
    DiskOutputFile& operator=(const DiskOutputFile&) = delete;

    bool write(std::string_view bytes) override
    {
        if (bytes.empty()) return true;
        errno = 0;
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && std::fflush(file_) == 0) {
            size_ += static_cast<long long>(bytes.size());
            return true;
        }
        error_ = reasonOf(errno != 0 ? errno : EIO);
        // Part of the bytes may have gone out before the disk filled up: cut them off.
        std::clearerr(file_);
#if defined(_WIN32)
        (void)_chsize_s(_fileno(file_), size_);
#else
        (void)::ftruncate(fileno(file_), static_cast<off_t>(size_));
#endif
        std::fseek(file_, static_cast<long>(size_), SEEK_SET);
        return false;
    }

    bool sync() override
    {
#if defined(_WIN32)
        const bool ok = _commit(_fileno(file_)) == 0;
#else
        const bool ok = ::fsync(fileno(file_)) == 0;
#endif
        if (!ok) error_ = reasonOf(errno);
        return ok;
    }

    std::string error() const override { return error_; }

private:
    std::FILE* file_;
    long long size_ = 0;
    std::string error_;
};

// Syncs the folder that holds path, so that a rename in it survives a power cut.
void syncFolderOf(const std::string& path)
{
#if !defined(_WIN32)
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    (void)::fsync(fd); // some file systems cannot sync a folder: nothing more to do there
    ::close(fd);
#else
    (void)path; // NTFS commits the rename in its journal
#endif
}

bool syncPath(const std::string& path, std::string& error)
{
#if defined(_WIN32)
    (void)path;
    (void)error;
    return true;
#else
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        error = reasonOf(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
#endif
}

} // namespace

std::unique_ptr<OutputFile> DiskFileSystem::create(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        lastError_ = reasonOf(errno);
        return nullptr;
    }
    return std::make_unique<DiskOutputFile>(f);
}

FileText DiskFileSystem::read(const std::string& path, std::size_t maxBytes)
{
    FileText out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        out.status = errno == ENOENT ? FileText::Status::Missing : FileText::Status::Failed;
        out.reason = reasonOf(errno);
        return out;
    }
    char block[1 << 16];
    errno = 0;
    for (;;) {
        const std::size_t n = std::fread(block, 1, sizeof block, f);
        if (n > 0 && out.text.size() + n > maxBytes) {
            out.status = FileText::Status::Failed;
            out.reason = "larger than " + std::to_string(maxBytes) + " bytes";
            out.text.clear();
            std::fclose(f);
            return out;
        }
        out.text.append(block, n);
        if (n < sizeof block) break;
    }
    if (std::ferror(f)) {
        out.status = FileText::Status::Failed;
        out.reason = reasonOf(errno != 0 ? errno : EIO);
        out.text.clear();
    } else {
        out.status = FileText::Status::Read;
    }
    std::fclose(f);
    return out;
}

bool DiskFileSystem::replaceAtomically(const std::string& path, std::string_view content)
{
    const std::string temp = path + ".new";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        lastError_ = reasonOf(errno);
        return false;
    }
    errno = 0;
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size() && std::fflush(f) == 0;
#if defined(_WIN32)
    ok = ok && _commit(_fileno(f)) == 0;
#else
    ok = ok && ::fsync(fileno(f)) == 0;
#endif
    if (!ok) lastError_ = reasonOf(errno != 0 ? errno : EIO);
    if (std::fclose(f) != 0 && ok) {
        lastError_ = reasonOf(errno);
        ok = false;
    }
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temp, path, ec); // atomic on POSIX; replaces the old file on Windows too
        if (ec) lastError_ = ec.message();
    }
    if (!ok || ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    syncFolderOf(path);
    return true;
}

bool DiskFileSystem::moveIntoPlace(const std::string& from, const std::string& to)
{
    if (!syncPath(from, lastError_)) return false;
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec) {
        lastError_ = ec.message();
        return false;
    }
    syncFolderOf(to);
    return true;
}

bool DiskFileSystem::remove(const std::string& path)
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) lastError_ = ec.message();
    return !ec;
}

bool DiskFileSystem::exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

bool DiskFileSystem::isWritableDirectory(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) return false;
#if defined(_WIN32)
    return _access(path.c_str(), 2) == 0;
#else
    return ::access(path.c_str(), W_OK) == 0;
#endif
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    if (folder.empty()) return std::string(name);
    std::string out(folder);
    const char last = out.back();
    if (last != '/' && last != '\\') out += static_cast<char>(std::filesystem::path::preferred_separator);
    out += name;
    return out;
}

std::string fileMessage(std::string_view what, std::string_view path, std::string_view reason)
{
    std::string out(what);
    out += ' ';
    out += path;
    if (!reason.empty()) {
        out += ": ";
        out += reason;
    }
    return out;
}

} // namespace vcm
