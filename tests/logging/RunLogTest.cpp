// The log set on a real disk: file names, what each file holds, the rollover, the raw
// log's marker lines, and what happens when the folder cannot be written.
#include "logging/RunLog.h"

#include "FaultyFileSystem.h"
#include "LogFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vcm;
using namespace vcm::test;

namespace {

const DateTime Opening = DateTime::fromCivil({2026, 12, 4, 9, 10, 0});

struct LogFixture : ::testing::Test {
    TempFolder folder;
    TempFolder fallback;
    FaultyFileSystem fs;
    ManualClock clock{5000, Opening};
    MonitorSettings settings = [this] {
        MonitorSettings s;
        s.SavePath = folder.path();
        s.MetricUnits = true;
        s.UseElm327 = true;
        return s;
    }();
};

} // namespace

struct SetCase {
    const char* name;
    bool superLog, gps;
    std::vector<std::string> files;
};

class LogSetFiles : public LogFixture, public ::testing::WithParamInterface<SetCase> {};

TEST_P(LogSetFiles, OpensTheFilesTheSettingsAskFor)
{
    const auto& c = GetParam();
    settings.SuperLogFile = c.superLog;
    settings.EnableGPS = c.gps;
    settings.PortNumGPS = 4;
    RunLog log(fs, clock, settings, fallback.path());
    log.writeRow("r1");
    log.writeRaw("t3CA5\r");
    log.writeGps("$GPGSA,A,3*00\r\n");
    EXPECT_EQ(folder.names(), c.files);
    EXPECT_EQ(log.fileBase(), folder.file("CAN_04122026_0910"));
    if (c.superLog) {
        EXPECT_NE(readFile(folder.file("CAN_04122026_0910.txt")), "");
    }
    if (c.superLog && c.gps) {
        EXPECT_EQ(readFile(folder.file("CAN_04122026_0910.gps")), "$GPGSA,A,3*00\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, LogSetFiles, ::testing::Values(
    SetCase{"ValuesOnly", false, false, {"CAN_04122026_0910.csv"}},
    SetCase{"GpsWithoutSuperLogWritesNoGpsFile", false, true, {"CAN_04122026_0910.csv"}},
    SetCase{"Raw", true, false, {"CAN_04122026_0910.csv", "CAN_04122026_0910.txt"}},
    SetCase{"RawAndGps", true, true, {"CAN_04122026_0910.csv", "CAN_04122026_0910.gps", "CAN_04122026_0910.txt"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(LogFixture, ValueLogHoldsHeaderThenRowsEndingCrLf)
{
    RunLog log(fs, clock, settings, fallback.path());
    EXPECT_FALSE(log.isOpen());
    log.writeRow("04/12/2026;09:10:00;1");
    log.writeRow("04/12/2026;09:10:00;2");
    EXPECT_EQ(log.rowCount(), 3);
    // Each row is on disk as soon as it is written: read it while the file is open.
    const auto lines = crlfLines(readFile(folder.file("CAN_04122026_0910.csv")));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("Date;Heure;km/h;Tpm;", 0), 0u);
    EXPECT_EQ(lines[2], "04/12/2026;09:10:00;2");

    log.close();
    EXPECT_EQ(log.rowCount(), 0);
    EXPECT_EQ(log.fileBase(), "");
    clock.advance(60000);
    log.writeRow("next");
    EXPECT_EQ(crlfLines(readFile(folder.file("CAN_04122026_0911.csv"))).back(), "next");
}

TEST_F(LogFixture, The65001stRowStartsANewSet)
{
    RunLog log(fs, clock, settings, fallback.path());
    for (int i = 1; i <= 65000; ++i) {
        log.writeRow("row " + std::to_string(i));
        clock.advance(100);
    }
    // Right after the 65000th row the set was closed and the next one opened (1h48m later).
    EXPECT_EQ(log.fileBase(), folder.file("CAN_04122026_1058"));
    EXPECT_EQ(log.rowCount(), 1);
    log.writeRow("row 65001");

    const auto first = crlfLines(readFile(folder.file("CAN_04122026_0910.csv")));
    ASSERT_EQ(first.size(), 65001u);
    EXPECT_EQ(first.back(), "row 65000");
    const auto second = crlfLines(readFile(folder.file("CAN_04122026_1058.csv")));
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].substr(0, 11), "Date;Heure;");
    EXPECT_EQ(second[1], "row 65001");
    EXPECT_EQ(log.failedRowCount(), 0);
}

TEST_F(LogFixture, ASecondSetInTheSameMinuteKeepsTheFirst)
{
    RunLog log(fs, clock, settings, fallback.path());
    log.writeRow("first run");
    log.close(); // stop and start within the minute
    clock.advance(20000);
    log.writeRow("second run");
    EXPECT_EQ(crlfLines(readFile(folder.file("CAN_04122026_0910.csv"))).back(), "first run");
    EXPECT_EQ(crlfLines(readFile(folder.file("CAN_04122026_0910_2.csv"))).back(), "second run");
}

struct RawCase {
    const char* name;
    std::string chunk;
    std::string expected; // "{M}" stands for the marker line
};

class RawLog : public LogFixture, public ::testing::WithParamInterface<RawCase> {};

TEST_P(RawLog, KeepsTheAdapterTextWithOneMarkerLine)
{
    const auto& c = GetParam();
    settings.SuperLogFile = true;
    clock.setNow(DateTime::fromCivil({2026, 12, 4, 9, 10, 7}));
    clock.setTick(987654);
    RunLog log(fs, clock, settings, fallback.path());
    log.openIfClosed();
    log.writeRaw(c.chunk);
    std::string expected = c.expected;
    const std::string marker = "#04/12/2026 09:10:07_987654_" + std::to_string(c.chunk.size()) + "#\r\n";
    expected.replace(expected.find("{M}"), 3, marker);
    EXPECT_EQ(readFile(folder.file("CAN_04122026_0910.txt")), expected);
}

INSTANTIATE_TEST_SUITE_P(Chunks, RawLog, ::testing::Values(
    RawCase{"ElmLines", "7E8 03 41 0D 00 \r\n3CA 10 00 07 00 1A \r\n", "7E8 03 41 0D 00 \r\n{M}3CA 10 00 07 00 1A \r\n"},
    RawCase{"CanusbWithoutCrLf", "t3CA510000700\rt0B48000000000000", "t{M}3CA510000700\rt0B48000000000000"},
    RawCase{"CrLfAtTheEnd", "OK\r\n", "OK\r\n{M}"},
    RawCase{"SingleCharacter", ">", ">{M}"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(LogFixture, RawAndGpsTextWithoutAnOpenSetIsSkipped)
{
    settings.SuperLogFile = true;
    settings.EnableGPS = true;
    RunLog log(fs, clock, settings, fallback.path());
    log.writeRaw("t3CA5\r");
    log.writeGps("$GPGGA,\r\n");
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(LogFixture, EmptySaveFolderUsesTheFallbackFolder)
{
    settings.SavePath.clear();
    RunLog log(fs, clock, settings, fallback.path());
    log.writeRow("row");
    EXPECT_EQ(fallback.names(), std::vector<std::string>{"CAN_04122026_0910.csv"});
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(LogFixture, MissingFolderIsRetriedAtTheNextMinuteAndLostRowsAreCounted)
{
    settings.SavePath = folder.file("stick");
    RunLog log(fs, clock, settings, fallback.path());
    for (int i = 0; i < 10; ++i) {
        log.writeRow("lost");
        clock.advance(100);
    }
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(log.failedRowCount(), 10);

    std::filesystem::create_directory(settings.SavePath); // the driver plugs the stick in
    log.writeRow("still lost: same minute");
    EXPECT_FALSE(log.isOpen());
    clock.advance(60000);
    log.writeRow("kept");
    ASSERT_TRUE(log.isOpen());
    EXPECT_EQ(log.failedRowCount(), 11);
    EXPECT_EQ(crlfLines(readFile(settings.SavePath + "/CAN_04122026_0911.csv")).back(), "kept");
}

TEST_F(LogFixture, FullDiskClosesTheSetAndOpensAFreshOneNextMinute)
{
    RunLog log(fs, clock, settings, fallback.path());
    log.writeRow("before");
    fs.diskFull = true;
    log.writeRow("lost 1");
    clock.advance(100);
    log.writeRow("lost 2");
    EXPECT_EQ(log.failedRowCount(), 2);
    fs.diskFull = false; // space freed
    clock.advance(60000);
    log.writeRow("after");
    EXPECT_EQ(crlfLines(readFile(folder.file("CAN_04122026_0910.csv"))).back(), "before");
    const auto fresh = crlfLines(readFile(folder.file("CAN_04122026_0911.csv")));
    ASSERT_EQ(fresh.size(), 2u);
    EXPECT_EQ(fresh[1], "after");
}
