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
    EXPECT_TRUE(text.ends_with("\r\n")) << "text does not end with CR LF: " << text.substr(text.rfind('\n') + 1);
    const auto lines = linesOf(text);
    for (const auto& line : lines) EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in " << line;
    return lines;
}

} // namespace vcm::test
