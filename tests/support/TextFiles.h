#pragma once
// A whole file read back, its CR LF lines, and a log line's ';' fields.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vcm::test {

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The lines of a text without their CR LF (a last line without one included).
inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
        end = std::min(text.find("\r\n", at), text.size());
        lines.push_back(text.substr(at, end - at));
    }
    return lines;
}

inline std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    for (std::size_t at = 0, end;; at = end + 1) {
        end = line.find(';', at);
        fields.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) return fields;
    }
}

} // namespace vcm::test
