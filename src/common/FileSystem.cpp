#include "FileSystem.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vcm {
namespace {

class DiskOutputFile final : public OutputFile {
public:
    explicit DiskOutputFile(std::FILE* f) : file_(f) {}
    ~DiskOutputFile() override { std::fclose(file_); }
    DiskOutputFile(const DiskOutputFile&) = delete;
    DiskOutputFile& operator=(const DiskOutputFile&) = delete;

    bool write(std::string_view bytes) override
    {
        if (bytes.empty()) return true;
        // fflush hands the bytes to the kernel: they survive the process, and a power
        // cut loses only what the kernel had not yet written back.
        return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && std::fflush(file_) == 0;
    }

private:
    std::FILE* file_;
};

bool syncFile(std::FILE* f)
{
#if defined(_WIN32)
    return std::fflush(f) == 0 && _commit(_fileno(f)) == 0;
#else
    return std::fflush(f) == 0 && ::fsync(fileno(f)) == 0;
#endif
}

} // namespace

std::unique_ptr<OutputFile> DiskFileSystem::create(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return nullptr;
    return std::make_unique<DiskOutputFile>(f);
}

std::optional<std::string> DiskFileSystem::readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool DiskFileSystem::replaceAtomically(const std::string& path, std::string_view content)
{
    const std::string temp = path + ".new";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size() && syncFile(f);
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (!written || !closed) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    std::filesystem::rename(temp, path, ec); // atomic on POSIX; replaces the old file on Windows too
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
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

} // namespace vcm
