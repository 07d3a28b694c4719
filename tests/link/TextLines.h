#pragma once
// Splits text into the lines that end in `end` (a last unterminated piece is dropped).
#include <string>
#include <vector>

namespace vcm::test {

inline std::vector<std::string> splitLines(const std::string& text, const std::string& end)
{
    std::vector<std::string> out;
    for (std::size_t start = 0, at; (at = text.find(end, start)) != std::string::npos; start = at + end.size())
        out.push_back(text.substr(start, at - start));
    return out;
}

} // namespace vcm::test
