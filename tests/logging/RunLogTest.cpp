// The log set on a real disk: file names, what each file holds, the rollover, and what
// happens when the folder cannot be written (raw log markers: GoldenOutputTest's recorded sets).
#include "logging/RunLog.h"

#include "support/FaultyFileSystem.h"
#include "LogFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vcm;
using namespace vcm::test;

namespace {

struct LogFixture : ::testing::Test {
    TempFolder folder;
    TempFolder fallback;
    FaultyFileSystem fs;
    ManualClock clock{5000, DateTime::fromCivil({2026, 12, 4, 9, 10, 0})};
    MonitorSettings settings{.UseElm327 = true, .MetricUnits = true, .SavePath = folder.path()};
    std::vector<std::string> lines(const std::string& name) const { return crlfLines(folder.read(name)); }
    // Rows "row 1" .. "row <count>", one every 100 ms.
    void writeRows(RunLog& log, int count)
    {
        for (int i = 1; i <= count; ++i) {
            log.writeRow("row " + std::to_string(i));
            clock.advance(100);
        }
    }
};

TEST_F(LogFixture, OpensTheFilesTheSettingsAskFor)
{
    const struct { bool superLog, gps; std::vector<std::string> files; } cases[] = {
        {false, false, {"CAN_04122026_0910.csv"}},
        {false, true, {"CAN_04122026_0910.csv"}}, // GPS text is kept with the raw log only
        {true, false, {"CAN_04122026_0910.csv", "CAN_04122026_0910.txt"}},
        {true, true, {"CAN_04122026_0910.csv", "CAN_04122026_0910.gps", "CAN_04122026_0910.txt"}}};
    for (const auto& c : cases) {
        TempFolder save;
        settings = {.UseElm327 = true, .SuperLogFile = c.superLog, .SavePath = save.path(), .EnableGPS = c.gps};
        settings.PortNumGPS = 4;
        RunLog log(fs, clock, settings, fallback.path());
        log.writeRow("r1");
        log.writeGps("$GPGSA,A,3*00\r\n");
        EXPECT_EQ(save.names(), c.files);
        EXPECT_EQ(log.fileBase(), save.file("CAN_04122026_0910"));
        if (c.superLog && c.gps) {
            EXPECT_EQ(save.read("CAN_04122026_0910.gps"), "$GPGSA,A,3*00\r\n");
        }
    }
}

TEST_F(LogFixture, ValueLogHoldsHeaderThenRowsEndingCrLf)
{
    RunLog log(fs, clock, settings, fallback.path());
    EXPECT_FALSE(log.isOpen());
    writeRows(log, 2);
    EXPECT_EQ(log.rowCount(), 3);
    // Each row is on disk as soon as it is written: read it while the file is open.
    const auto csv = lines("CAN_04122026_0910.csv");
    EXPECT_EQ(csv, (std::vector<std::string>{csv.at(0), "row 1", "row 2"})); // the header, then the rows

    log.close();
    EXPECT_EQ(log.rowCount(), 0);
    clock.advance(20000); // stop and start within the minute: the first set is kept
    log.writeRow("second run");
    EXPECT_EQ(lines("CAN_04122026_0910.csv").size(), 3u);
    EXPECT_EQ(lines("CAN_04122026_0910_2.csv").back(), "second run");
}

TEST_F(LogFixture, The65001stRowStartsANewSet)
{
    RunLog log(fs, clock, settings, fallback.path());
    writeRows(log, 65000);
    // Right after the 65000th row the set was closed and the next one opened (1h48m later).
    EXPECT_EQ(log.fileBase(), folder.file("CAN_04122026_1058"));
    EXPECT_EQ(log.rowCount(), 1);
    log.writeRow("row 65001");

    const auto first = lines("CAN_04122026_0910.csv");
    ASSERT_EQ(first.size(), 65001u);
    EXPECT_EQ(first.back(), "row 65000");
    EXPECT_TRUE(first[0].starts_with("Date;Heure;")) << first[0];
    EXPECT_EQ(lines("CAN_04122026_1058.csv"), (std::vector<std::string>{first[0], "row 65001"}));
    EXPECT_EQ(log.failedRowCount(), 0);
}

TEST_F(LogFixture, EmptySaveFolderUsesTheFallbackFolder)
{
    settings.SavePath.clear();
    RunLog log(fs, clock, settings, fallback.path());
    log.writeRow("row");
    EXPECT_EQ(fallback.names(), std::vector<std::string>{"CAN_04122026_0910.csv"});
}

TEST_F(LogFixture, MissingFolderIsRetriedAtTheNextMinuteAndLostRowsAreCounted)
{
    settings.SavePath = folder.file("stick");
    RunLog log(fs, clock, settings, fallback.path());
    writeRows(log, 10); // all lost
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
    writeRows(log, 2); // lost
    EXPECT_EQ(log.failedRowCount(), 2);
    fs.diskFull = false; // space freed
    clock.advance(60000);
    log.writeRow("after");
    EXPECT_EQ(lines("CAN_04122026_0910.csv").back(), "before");
    EXPECT_EQ(lines("CAN_04122026_0911.csv"), (std::vector<std::string>{lines("CAN_04122026_0910.csv")[0], "after"}));
    EXPECT_EQ(log.lastError(), "could not write " + folder.file("CAN_04122026_0910.csv") + ": No space left on device");
}

// The value log comes first: once a raw-log write has failed, the raw log takes no
// more of the space that is left, while rows go on being written.
TEST_F(LogFixture, FailedRawWriteClosesTheRawLogAndKeepsTheValueLog)
{
    settings.SuperLogFile = true;
    RunLog log(fs, clock, settings, fallback.path());
    log.writeRow("r1");
    log.writeRaw("410C1A2B\r\n");
    fs.diskFull = true;
    log.writeRaw("410D32\r\n"); // fails: the raw log is closed
    fs.diskFull = false;
    log.writeRaw("410D33\r\n"); // not written: the raw log stays closed for this set
    log.writeRow("r2");
    EXPECT_EQ(lines("CAN_04122026_0910.csv").back(), "r2");
    EXPECT_EQ(folder.read("CAN_04122026_0910.txt").find("410D3"), std::string::npos);
    EXPECT_EQ(log.lastError(), "could not write " + folder.file("CAN_04122026_0910.txt") + ": No space left on device");
}

} // namespace
