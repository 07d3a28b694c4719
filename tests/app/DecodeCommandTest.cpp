// veloxcanmoni --decode over the bundled samples of both adapters, its options and the
// files it cannot use.
#include "app/DecodeCommand.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vcm {
namespace {

using namespace test;

std::string sample(const std::string& name) { return readFile(std::string(VCM_SAMPLES_DIR) + "/" + name); }

// The report's section from its heading to the next blank line.
std::string section(const std::string& report, const std::string& heading)
{
    const auto start = report.find("\n" + heading + "\n");
    if (start == std::string::npos) return "";
    const auto end = report.find("\n\n", start + 1);
    return report.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

struct CommandRun {
    int code;
    std::string out, err;
};

CommandRun run(const std::string& path, std::optional<AdapterForm> form = std::nullopt)
{
    DiskFileSystem disk;
    std::ostringstream out, err;
    const int code = runDecodeCommand(path, form, disk, out, err);
    return {code, out.str(), err.str()};
}

// Both samples record the same second of the bus: the two forms must decode it alike.
TEST(DecodeCommand, BothSamplesGiveTheSameVehicleState)
{
    const std::string elm = decodeReport(sample("elm327-drive.txt"), std::nullopt, "elm");
    const std::string canusb = decodeReport(sample("canusb-drive.txt"), std::nullopt, "canusb");
    EXPECT_NE(elm.find("Adapter form: ELM327 (guessed from the text)"), std::string::npos);
    EXPECT_NE(canusb.find("Adapter form: CANUSB (guessed from the text)"), std::string::npos);

    const std::string state = section(elm, "Vehicle state");
    ASSERT_FALSE(state.empty());
    EXPECT_EQ(state, section(canusb, "Vehicle state"));
    EXPECT_EQ(section(elm, "Captions"), section(canusb, "Captions"));

    for (const char* row : {"ShiftLever            D", "StateOfCharge         565           56.5 %",
                            "CoolantTemp           860           86.0 deg C", "VvtiAngle             12.5",
                            "FuelTankLevel         32", "EvMode                False"})
        EXPECT_NE(state.find(row), std::string::npos) << row;
    EXPECT_NE(canusb.find("C3Head                12;0;255;3"), std::string::npos);
    EXPECT_NE(elm.find("DiagReplyKind         -"), std::string::npos);
    // Every CANUSB line is a frame or a "z"; the ELM327 sample is frames only.
    EXPECT_NE(elm.find("other lines: 0, unfinished line: 0"), std::string::npos);
    EXPECT_NE(canusb.find("other lines: 20, unfinished line: 0"), std::string::npos);
}

TEST(DecodeCommand, AdapterFormsAndFiles)
{
    TempFolder dir;
    const std::string drive = dir.write("drive.txt", "t3C850000320000\rt0B4800000000002EE000\r");
    const std::string elm = dir.write("elm.txt", "3C8 00 00 32 00 00\r\n");

    const CommandRun ok = run(drive);
    EXPECT_EQ(ok.code, 0);
    EXPECT_NE(ok.out.find("Frames decoded: 2"), std::string::npos);
    EXPECT_NE(ok.out.find("EngineRpm             1600"), std::string::npos);
    EXPECT_NE(ok.out.find("SpeedKmh              120"), std::string::npos);

    // A CANUSB raw log: the markers sit right after each chunk's first character.
    const std::string raw = dir.write("CAN_04122026_0910.txt", "t#09:10:05_100_16#\r\n3C850000320000\r"
                                                                "t#09:10:05_108_22#\r\n0B4800000000002EE000\r");
    const CommandRun logged = run(raw);
    EXPECT_NE(logged.out.find("Frames decoded: 2"), std::string::npos) << logged.out;
    EXPECT_NE(logged.out.find("SpeedKmh              120"), std::string::npos);

    const CommandRun forced = run(drive, AdapterForm::Elm327); // wrong form: nothing decodes
    EXPECT_EQ(forced.code, 0);
    EXPECT_NE(forced.out.find("Adapter form: ELM327\n"), std::string::npos);
    EXPECT_NE(forced.out.find("Frames decoded: 0, other lines: 0, unfinished line: 38"), std::string::npos);
    EXPECT_NE(run(elm, AdapterForm::Elm327).out.find("EngineRpm             1600"), std::string::npos);

    const CommandRun missing = run(dir.file("missing.txt"));
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("cannot read " + dir.file("missing.txt")), std::string::npos) << missing.err;
    EXPECT_EQ(missing.out, "");
}

} // namespace
} // namespace vcm
