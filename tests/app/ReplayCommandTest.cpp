// veloxcanmoni --replay on the command line: every option read or refused with the
// reason, a raw log exported as candump, and a damaged file failing with its line.
#include "app/ReplayCommand.h"

#include "../replay/ReplayFixture.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace vcm {
namespace {

using namespace test;

TEST(ReplayCommandLine, ReadsEveryOption)
{
    std::string error;
    const auto line = parseReplayCommandLine({"--replay", "CAN_04122026_0910.txt", "--out", "/tmp/x", "--gps", "g.nmea",
                                              "--adapter", "canusb", "--units", "us", "--temp", "f", "--bps", "115200",
                                              "--force"},
                                             error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(std::tuple(line->input, line->outFolder, line->gpsPath, line->exportPath),
              std::tuple("CAN_04122026_0910.txt", "/tmp/x", "g.nmea", ""));
    EXPECT_EQ(std::tuple(line->elm327, line->metric, line->celsius, line->bitsPerSecond, line->force),
              std::tuple(false, false, false, 115200, true));

    UtcZone utc;
    const auto start = parseReplayCommandLine({"--replay", "a.txt", "--start", "2026-12-04 09:10:05"}, error);
    ASSERT_TRUE(start) << error;
    EXPECT_EQ(start->startEpoch, 1796375405); // 2026-12-04 09:10:05 UTC
}

TEST(ReplayCommandLine, RefusesWhatItCannotUseSayingWhy)
{
    struct Case { std::vector<std::string> args; const char* says; };
    const std::vector<Case> cases = {
        {{}, "--replay FILE is missing"},
        {{"--out", "x"}, "--replay FILE is missing"},
        {{"--replay"}, "--replay needs a value"},
        {{"--replay", "a", "--adapter", "elm"}, "--adapter takes elm327 or canusb"},
        {{"--replay", "a", "--units", "metric"}, "--units takes si or us"},
        {{"--replay", "a", "--temp", "k"}, "--temp takes c or f"},
        {{"--replay", "a", "--bps", "fast"}, "--bps takes"},
        {{"--replay", "a", "--bps", "12"}, "--bps takes"},
        {{"--replay", "a", "--start", "04/12/2026"}, "--start takes"},
        {{"--replay", "a", "--verbose"}, "unknown option \"--verbose\""},
        {{"--replay", "a", "--channel", "can 0"}, "--channel takes an interface name"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(parseReplayCommandLine(c.args, error)) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(ReplayCommand, ExportsARawLogAsCandump)
{
    UtcZone utc;
    TempFolder dir;
    const std::string raw = dir.write("CAN_04122026_0910.txt",
                                      "3CA 00 00 00 00 00\r\n#04/12/2026 09:10:05_5000_29#\r\n0B4 00 00"
                                      " 00 00 00 0D 2C\r\n#04/12/2026 09:10:05_5012_17#\r\n");
    std::ostringstream out, err;
    std::string error;
    const auto line = parseReplayCommandLine({"--replay", raw, "--export-candump", dir.file("drive.log")}, error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(runReplayCommand(*line, {}, out, err), 0) << err.str();
    EXPECT_EQ(dir.read("drive.log"), "(1796375405.000000) can0 3CA#0000000000\n"
                                    "(1796375405.012000) can0 0B4#00000000000D2C\n");
    EXPECT_NE(out.str().find("2 frames"), std::string::npos) << out.str();
    EXPECT_NE(err.str().find("raw log, ELM327 adapter"), std::string::npos) << err.str();
}

// An export keeps each frame's interface and stamp to the microsecond, never replaces a
// file unless asked, and never writes over its own input.
TEST(ReplayCommand, ExportKeepsChannelAndStampsAndRefusesToReplaceFiles)
{
    TempFolder dir;
    const std::string dump = "(1700000000.123457) vcan1 3CA#0000000000\n(1700000000.123999) vcan1 0B4#00000000000D2C\n";
    const std::string input = dir.write("drive.log", dump);
    const std::string taken = dir.write("taken.log", "kept\n");
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {"existing file", {"--export-candump", taken}, 1, "exists already"},
        {"its own input", {"--export-candump", input, "--force"}, 1, "is the input"},
        {"new file", {"--export-candump", dir.file("out.log")}, 0, "2 frames"},
        {"replaced when asked", {"--export-candump", taken, "--force"}, 0, "2 frames"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"--replay", input};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::string error;
        const auto line = parseReplayCommandLine(args, error);
        ASSERT_TRUE(line) << error;
        std::ostringstream out, err;
        EXPECT_EQ(runReplayCommand(*line, {}, out, err), c.status);
        EXPECT_NE((out.str() + err.str()).find(c.says), std::string::npos) << out.str() << err.str();
    }
    EXPECT_EQ(dir.read("drive.log"), dump);
    EXPECT_EQ(dir.read("out.log"), dump);
    EXPECT_EQ(dir.read("taken.log"), dump);
}

// The trip file gets the system's decimal separator, as live logging writes it.
TEST(ReplayCommand, WritesTheTripLineWithTheSystemsDecimalSeparator)
{
    UtcZone utc;
    TempFolder dir;
    const std::string drive = dir.write("steady.log", steadyDriveCandump(2));
    std::string error;
    const auto line = parseReplayCommandLine({"--replay", drive, "--out", dir.file("out"), "--units", "si"}, error);
    ASSERT_TRUE(line) << error;
    ReplayEnvironment env;
    env.decimalSeparator = ',';
    std::ostringstream out, err;
    ASSERT_EQ(runReplayCommand(*line, env, out, err), 0) << err.str();
    EXPECT_NE(readFile(dir.file("out/TRAJETS.CSV")).find(";50,0;"), std::string::npos); // state of charge
}

TEST(ReplayCommand, AnUnreadableFileFailsNamingTheLine)
{
    TempFolder dir;
    const std::string bad = dir.write("drive.log", "(1700000000.000000) can0 3CA#00\n(1700000000.1) can0 3CA#0\n");
    std::ostringstream out, err;
    std::string error;
    const auto line = parseReplayCommandLine({"--replay", bad, "--export-candump", dir.file("out.log")}, error);
    ASSERT_TRUE(line);
    EXPECT_EQ(runReplayCommand(*line, {}, out, err), 1);
    EXPECT_NE(err.str().find("drive.log:2: not a candump line"), std::string::npos) << err.str();
    EXPECT_EQ(dir.names(), std::vector<std::string>{"drive.log"});
}

} // namespace
} // namespace vcm
