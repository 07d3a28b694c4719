#pragma once
// Reads a file front to back through a fixed-size window, so that recordings of any
// length are read in constant memory. Counts line feeds for error messages.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace vcm {

class FileReader {
public:
    // Throws RecordingError when the file cannot be opened.
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // The unread text from the read position: at least n characters unless the file
    // ends first (an empty view at the end).
    std::string_view peek(std::size_t n);
    void consume(std::size_t n);
    // The next line without its '\n' (a final line without one counts too); false at
    // the end. The view lives until the next call.
    bool readLine(std::string_view& line);
    // True when the last line read ended at the end of the file without a '\n'.
    bool lastLineUnterminated() const { return unterminated_; }

    const std::string& path() const { return path_; }
    // Line number (1-based) of the read position, or of the line last read. Counted
    // by reading the file again up to there: asked for only to name a line in a
    // message, so the reading itself never counts line feeds.
    std::size_t line() const;
    std::uint64_t consumed() const { return consumed_; }
    std::uint64_t size() const { return size_; }

private:
    bool fill(std::size_t n);

    std::string path_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
    std::size_t pos_ = 0;
    bool eof_ = false;
    bool unterminated_ = false;
    std::uint64_t lineStart_ = 0; // offset of the last line read by readLine
    bool lineRead_ = false;
    std::uint64_t consumed_ = 0;
    std::uint64_t size_ = 0;
};

} // namespace vcm
