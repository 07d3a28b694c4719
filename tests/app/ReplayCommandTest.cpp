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

// An export keeps each frame's interface and stamp to the microsecond, never replaces a
// file unless asked, and never writes over its own input.
TEST(ReplayCommand, ExportKeepsChannelAndStampsAndRefusesToReplaceFiles)
{
    TempFolder dir;
    const std::string dump = "(1700000000.123457) vcan1 3CA#0000000000\n(1700000000.123999) vcan1 0B4#00000000000D2C\n";
    const std::string input = dir.write("drive.log", dump);
    const std::string taken = dir.write("taken.log", "kept\n");
    const struct { const char* name; std::string exportPath; bool force; int status; const char* says; } cases[] = {
        {"existing file", taken, false, 1, "exists already"},
        {"its own input", input, true, 1, "is the input"},
        {"new file", dir.file("out.log"), false, 0, "2 frames"},
        {"replaced when asked", taken, true, 0, "2 frames"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReplayCommandLine line;
        line.input = input;
        line.exportPath = c.exportPath;
        line.force = c.force;
        std::ostringstream out, err;
        EXPECT_EQ(runReplayCommand(line, {}, out, err), c.status);
        EXPECT_NE((out.str() + err.str()).find(c.says), std::string::npos) << out.str() << err.str();
    }
    for (const char* name : {"drive.log", "out.log", "taken.log"}) EXPECT_EQ(dir.read(name), dump) << name;
}

// The trip file gets the system's decimal separator, as live logging writes it.
TEST(ReplayCommand, WritesTheTripLineWithTheSystemsDecimalSeparator)
{
    UtcZone utc;
    TempFolder dir;
    const std::string drive = dir.write("steady.log", steadyDriveCandump(2));
    ReplayCommandLine line;
    line.input = drive;
    line.outFolder = dir.file("out");
    line.metric = true;
    ReplayEnvironment env;
    env.decimalSeparator = ',';
    std::ostringstream out, err;
    ASSERT_EQ(runReplayCommand(line, env, out, err), 0) << err.str();
    EXPECT_NE(readFile(dir.file("out/TRAJETS.CSV")).find(";50,0;"), std::string::npos); // state of charge
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
