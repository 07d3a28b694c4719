// veloxcanmoni --decode: a forced adapter form, raw logs and the files it cannot use (the
// reports of the samples themselves, each adapter's form guessed: GoldenOutputTest).
#include "app/DecodeCommand.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace vcm {
namespace {

using namespace test;

struct CommandRun { int code; std::string out, err; };

CommandRun run(const std::string& path, std::optional<AdapterForm> form = std::nullopt)
{
    DiskFileSystem disk;
    std::ostringstream out, err;
    const int code = runDecodeCommand(path, form, disk, out, err);
    return {code, out.str(), err.str()};
}

TEST(DecodeCommand, AdapterFormsAndFiles)
{
    TempFolder dir;
    // A CANUSB raw log: the markers sit right after each chunk's first character.
    const std::string raw = dir.write("CAN_04122026_0910.txt", "t#09:10:05_100_16#\r\n3C850000320000\r"
                                                                "t#09:10:05_108_22#\r\n0B4800000000002EE000\r");
    const CommandRun logged = run(raw);
    EXPECT_NE(logged.out.find("Frames decoded: 2"), std::string::npos) << logged.out;
    EXPECT_NE(logged.out.find("SpeedKmh              120"), std::string::npos);

    // CANUSB text forced as ELM327: nothing decodes.
    const std::string drive = dir.write("drive.txt", "t3C850000320000\rt0B4800000000002EE000\r");
    const CommandRun forced = run(drive, AdapterForm::Elm327);
    EXPECT_EQ(forced.code, 0);
    EXPECT_NE(forced.out.find("Adapter form: ELM327\n"), std::string::npos);
    EXPECT_NE(forced.out.find("Frames decoded: 0, other lines: 0, unfinished line: 38"), std::string::npos);

    const CommandRun missing = run(dir.file("missing.txt"));
    EXPECT_EQ(std::tuple(missing.code, missing.out), std::tuple(1, ""));
    EXPECT_NE(missing.err.find("cannot read " + dir.file("missing.txt")), std::string::npos) << missing.err;
}

} // namespace
} // namespace vcm
