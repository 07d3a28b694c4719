// veloxcanmoni --replay: a raw log exported as candump, and a damaged file failing with
// its line (the options themselves: CommandLineTest).
#include "app/ReplayCommand.h"

#include "../replay/ReplayFixture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace vcm {
namespace {

using namespace test;

TEST(ReplayCommand, ExportsARawLogAsCandump)
{
    UtcZone utc;
    TempFolder dir;
    const std::string raw = dir.write("CAN_04122026_0910.txt",
                                      "3CA 00 00 00 00 00\r\n#04/12/2026 09:10:05_5000_29#\r\n0B4 00 00"
                                      " 00 00 00 0D 2C\r\n#04/12/2026 09:10:05_5012_17#\r\n");
    std::ostringstream out, err;
    ReplayCommandLine line;
    line.input = raw;
    line.exportPath = dir.file("drive.log");
    EXPECT_EQ(runReplayCommand(line, {}, out, err), 0) << err.str();
    EXPECT_EQ(dir.read("drive.log"), "(1796375405.000000) can0 3CA#0000000000\n"
                                    "(1796375405.012000) can0 0B4#00000000000D2C\n");
    EXPECT_NE(out.str().find("2 frames"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("raw log, ELM327 adapter"), std::string::npos) << err.str();
}

TEST(ReplayCommand, AnUnreadableFileFailsNamingTheLine)
{
    TempFolder dir;
    const std::string bad = dir.write("drive.log", "(1700000000.000000) can0 3CA#00\n(1700000000.1) can0 3CA#0\n");
    std::ostringstream out, err;
    ReplayCommandLine line;
    line.input = bad;
    line.exportPath = dir.file("out.log");
    EXPECT_EQ(runReplayCommand(line, {}, out, err), 1);
    EXPECT_NE(err.str().find("drive.log:2: not a candump line"), std::string::npos) << err.str();
    EXPECT_EQ(dir.names(), std::vector<std::string>{"drive.log"});
}

} // namespace
} // namespace vcm
