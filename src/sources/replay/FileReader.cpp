#include "sources/replay/FileReader.h"

#include "sources/replay/RecordingError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vcm {

namespace {
constexpr std::size_t kBlock = 1 << 16;
// A "line" longer than this is binary or damaged input: handed out as it is, unterminated.
constexpr std::size_t kLongestLine = 1 << 20;
}

std::string recordingMessage(const std::string& file, std::size_t line, const std::string& what)
{
    if (line == 0)
        return file + ": " + what;
    return file + ":" + std::to_string(line) + ": " + what;
}

FileReader::FileReader(const std::string& path) : path_(path)
{
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        throw RecordingError(recordingMessage(path, 0, std::string("cannot open: ") + std::strerror(errno)));
    std::error_code ec;
    // A device or a pipe may never end (/dev/zero): a recording is a file.
    if (!std::filesystem::is_regular_file(path, ec)) {
        std::fclose(file_);
        file_ = nullptr;
        throw RecordingError(recordingMessage(path, 0, "cannot read: not a regular file"));
    }
    size_ = std::filesystem::file_size(path, ec);
    if (ec)
        size_ = 0;
    buffer_.reserve(2 * kBlock);
}

FileReader::~FileReader()
{
    if (file_)
        std::fclose(file_);
}

std::size_t FileReader::line() const
{
    const std::uint64_t upTo = lineRead_ ? lineStart_ : consumed_;
    std::FILE* f = std::fopen(path_.c_str(), "rb");
    if (!f)
        return 0;
    std::size_t lines = 1;
    std::uint64_t seen = 0;
    std::string block(kBlock, '\0');
    while (seen < upTo) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, upTo - seen));
        const std::size_t got = std::fread(block.data(), 1, want, f);
        if (got == 0)
            break;
        lines += static_cast<std::size_t>(std::count(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got), '\n'));
        seen += got;
    }
    std::fclose(f);
    return lines;
}

bool FileReader::fill(std::size_t n)
{
    while (buffer_.size() - pos_ < n && !eof_) {
        if (pos_ > 0) {
            buffer_.erase(0, pos_);
            pos_ = 0;
        }
        const std::size_t old = buffer_.size();
        const std::size_t want = std::max(kBlock, n - old);
        buffer_.resize(old + want);
        const std::size_t got = std::fread(buffer_.data() + old, 1, want, file_);
        buffer_.resize(old + got);
        if (got < want) {
            if (std::ferror(file_))
                throw RecordingError(recordingMessage(path_, 0, std::string("read error: ") + std::strerror(errno)));
            eof_ = true;
        }
    }
    return buffer_.size() - pos_ >= n;
}

std::string_view FileReader::peek(std::size_t n)
{
    fill(n);
    return std::string_view(buffer_).substr(pos_);
}

void FileReader::consume(std::size_t n)
{
    n = std::min(n, buffer_.size() - pos_);
    lineRead_ = false;
    pos_ += n;
    consumed_ += n;
}

bool FileReader::readLine(std::string_view& line)
{
    lineRead_ = true;
    lineStart_ = consumed_;
    std::size_t searched = 0;
    for (;;) {
        const std::string_view view = std::string_view(buffer_).substr(pos_);
        const std::size_t nl = view.find('\n', searched);
        if (nl != std::string_view::npos) {
            line = view.substr(0, nl);
            pos_ += nl + 1;
            consumed_ += nl + 1;
            unterminated_ = false;
            return true;
        }
        searched = view.size();
        if (eof_ || view.size() >= kLongestLine) {
            if (view.empty())
                return false;
            line = view;
            pos_ += view.size();
            consumed_ += view.size();
            unterminated_ = true;
            return true;
        }
        fill(view.size() + kBlock);
    }
}

} // namespace vcm
