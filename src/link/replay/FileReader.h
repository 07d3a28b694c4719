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
    // Line number (1-based) of the read position, or of the line last read.
    std::size_t line() const
    {
        countLines();
        return line_;
    }
    std::uint64_t consumed() const { return consumed_; }
    std::uint64_t size() const { return size_; }

private:
    bool fill(std::size_t n);
    // Line feeds are counted when a line number is asked for or the window moves on,
    // not on every consume: the hot path of a replay stays a pointer move.
    void countLines() const;

    std::string path_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
    std::size_t pos_ = 0;
    bool eof_ = false;
    bool unterminated_ = false;
    mutable std::size_t line_ = 1;
    mutable std::size_t countedPos_ = 0; // line feeds before this buffer position are in line_
    std::size_t pendingLines_ = 0;
    std::uint64_t consumed_ = 0;
    std::uint64_t size_ = 0;
};

} // namespace vcm
