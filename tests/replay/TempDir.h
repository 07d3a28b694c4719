#pragma once
// The temporary folder of the replay tests, and a whole file read back.
#include "support/TempFolder.h"

#include <fstream>
#include <sstream>
#include <string>

namespace vcm::test {

using TempDir = TempFolder;

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace vcm::test
