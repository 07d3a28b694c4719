#pragma once
// Files of the logging tests: a temporary folder and the lines of what was written.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/TextFiles.h"

namespace vcm::test {

// Lines of a CR LF file (fails the test on a bare LF or a last line without CR LF).
inline std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(lines.back().find('\n'), std::string::npos) << "bare LF in " << lines.back();
        if (end == std::string::npos) {
            ADD_FAILURE() << "text does not end with CR LF: " << lines.back();
            break;
        }
    }
    return lines;
}

} // namespace vcm::test
