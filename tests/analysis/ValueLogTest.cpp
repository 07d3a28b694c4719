// Value logs read back: summary figures against the hand-worked drive of DriveLog.h,
// for every way the logger writes a log; rollover pairs; damaged rows.
#include "DriveLog.h"
#include "support/TempFolder.h"

#include "analysis/Downsample.h"
#include "analysis/RunFiles.h"
#include "analysis/RunSummary.h"
#include "analysis/TripTrend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace vcm {
namespace {

using test::DriveLogOptions;
using test::driveLog;

// By hand, rows 2 to 6 of the drive count one second each:
//   moving 4 s (rows 2-5), stopped 1 s; every mode 1 s of 5 = 20 %;
//   distance 300 m, fuel 20 ml -> 0.020 L, 0.020 x 100 / 0.3 = 6.667 L/100 km;
//   used 200 V x (10 + 20) A x 1 s = 6000 J = 0.0016667 kWh; regenerated 200 x 45 = 9000 J = 0.0025 kWh;
//   braking while moving 2 s, charging during 1 s of them: 50 %.
struct Case {
    const char* name;
    DriveLogOptions options;
    double firstMovingKmh;  // the US log holds whole mph: 22 mph
};

class HandDrive : public ::testing::TestWithParam<Case> {};

TEST_P(HandDrive, SummaryMatchesTheFiguresWorkedOutByHand)
{
    const Case& c = GetParam();
    const LogReadResult read = parseValueLog(driveLog(c.options), "drive.csv");
    ASSERT_TRUE(read.run) << (read.problems.empty() ? "" : read.problems.front().text());
    EXPECT_TRUE(read.problems.empty()) << read.problems.front().text();
    const RunData& run = *read.run;
    EXPECT_EQ(std::tuple(run.layout.metric, run.layout.canusb, run.layout.gps),
              std::tuple(c.options.metric, !c.options.elm327, c.options.gps));
    ASSERT_EQ(run.rows(), 6u);
    EXPECT_NEAR(run.speedKmh[1], c.firstMovingKmh, 1e-9);
    EXPECT_EQ(run.t[5], 5.0);

    const RunSummary s = summarize(run);
    EXPECT_EQ(std::tuple(s.durationS, s.movingS, s.stoppedS), std::tuple(5, 4, 1));
    EXPECT_NEAR(s.distanceKm, 0.300, 1e-12);
    EXPECT_NEAR(s.fuelL, 0.020, 1e-12);
    ASSERT_TRUE(s.litresPer100Km);
    EXPECT_NEAR(*s.litresPer100Km, 6.6667, 1e-4);
    EXPECT_NEAR(s.kWhUsed, 0.0016667, 1e-7);
    EXPECT_NEAR(s.kWhRegenerated, 0.0025, 1e-9);
    ASSERT_TRUE(s.brakingRecoveredShare);
    EXPECT_NEAR(*s.brakingRecoveredShare, 0.5, 1e-12);
    for (std::size_t m = 0; m < DriveModeCount; ++m)
        EXPECT_NEAR(s.modeShare(static_cast<DriveMode>(m)), 0.2, 1e-12) << driveModeName(static_cast<DriveMode>(m));
    if (c.options.gps) {  // the texts read to the nearest double
        EXPECT_EQ(std::tuple(run.latitude[0], run.longitude[0], run.altitudeM[0]),
                  std::tuple(53.361337, -6.50562, 61.7));
    }
}

constexpr double Mph22 = 22 * 1.609344;
INSTANTIATE_TEST_SUITE_P(
    EveryLogKind, HandDrive,
    // Each unit system, separator, adapter and GPS choice at least once.
    ::testing::Values(Case{"SiPointElm", {true, true, false, '.'}, 36}, Case{"UsCommaElm", {false, true, false, ','}, Mph22},
                      Case{"SiCommaCanusb", {true, false, false, ','}, 36},
                      Case{"UsCommaCanusbGps", {false, false, true, ','}, Mph22},
                      Case{"SiPointElmGps", {true, true, true, '.'}, 36}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(RolloverPair, FullLogAndItsContinuationAreReadAsOneRun)
{
    test::TempFolder folder;
    DriveLogOptions first;
    first.repeat = RolloverRows / 6 + 1;  // 65 004 rows: cut after 65 000 as the logger does
    std::string whole = driveLog(first);
    std::size_t cut = 0;
    for (std::size_t line = 0; line <= RolloverRows; ++line) cut = whole.find("\r\n", cut) + 2;
    const std::string header = whole.substr(0, whole.find("\r\n") + 2);
    std::vector<std::string> paths{folder.write("CAN_05122026_0800.csv", driveLog({})),  // the next day's drive
                                   folder.write("CAN_05122026_0313.csv", header + whole.substr(cut)),  // 65 000 s later
                                   folder.write("CAN_04122026_0910.csv", whole.substr(0, cut))};
    sortByOpeningTime(paths);
    DiskFileSystem disk;
    const RunRead joined = readRunAt(disk, paths, 0);
    ASSERT_TRUE(joined.result.run);
    EXPECT_EQ(std::tuple(joined.filesUsed, joined.result.run->rows(), joined.result.run->t.back()),
              std::tuple(2u, RolloverRows + 4, static_cast<double>(RolloverRows + 3)));
    const RunSummary s = summarize(*joined.result.run);
    // Each copy of the drive adds 300 m, except where the counter restarts at copy
    // boundaries (300 -> 0 -> 100 ...): the rises still add 300 m per copy.
    EXPECT_NEAR(s.distanceKm, 0.3 * static_cast<double>(first.repeat), 1e-9);
    const RunRead next = readRunAt(disk, paths, 2);
    ASSERT_TRUE(next.result.run);
    EXPECT_EQ(std::tuple(next.filesUsed, next.result.run->rows()), std::tuple(1u, 6u));
}

TEST(DamagedLog, EachDamagedRowIsSkippedAndNamedByLine)
{
    std::vector<std::string> lines = test::linesOf(driveLog({.decimal = ','}));
    lines[2] = lines[2].substr(0, 30);                                     // row cut
    lines[4].replace(lines[4].find(";D;"), 3, ";D;;");                     // a column too many
    lines[5].replace(lines[5].find(";200;"), 5, ";2x0;");                 // text where a number belongs
    std::string damaged;
    for (const auto& l : lines) damaged += l + "\r\n";
    const LogReadResult read = parseValueLog(damaged, "dir/CAN_04122026_0910.csv");
    ASSERT_TRUE(read.run);
    EXPECT_EQ(read.run->rows(), 3u);
    ASSERT_EQ(read.problems.size(), 3u);
    EXPECT_EQ(read.problems[0].text().rfind("dir/CAN_04122026_0910.csv:3: ", 0), 0u) << read.problems[0].text();
    EXPECT_NE(read.problems[0].what.find("row cut or columns missing"), std::string::npos);
    EXPECT_EQ(read.problems[1].line, 5u);
    EXPECT_EQ(read.problems[2].text(), "dir/CAN_04122026_0910.csv:6: column VoltBatt(V): \"2x0\" is not a number");

    EXPECT_FALSE(parseValueLog("Date;Heure;Speed\r\n", "x.csv").run);
    EXPECT_EQ(parseValueLog("Date;Heure;Speed\r\n", "x.csv").problems.at(0).text().rfind("x.csv:1: ", 0), 0u);
}

TEST(PeakKeepingDownsample, KeepsEveryPeakWithinTheColumnBudget)
{
    std::vector<double> x(36000), y(36000);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = static_cast<double>(i);
        y[i] = std::sin(static_cast<double>(i) / 500);
    }
    y[12345] = 50;   // a one-row spike
    y[30001] = -40;
    const auto points = peakKeepingDownsample(x, y, 1000);
    EXPECT_LE(points.size(), 2000u);
    for (std::size_t i = 1; i < points.size(); ++i) ASSERT_LE(points[i - 1].x, points[i].x);
    const auto [bottom, top] = std::ranges::minmax_element(points, {}, &ChartPoint::y);
    EXPECT_EQ(std::pair(bottom->y, top->y), std::pair(-40.0, 50.0));
}

TEST(TripTrendFile, OnePointPerStoredTripAndTheLifetimeTotals)
{
    test::TempFolder folder;
    folder.write("TRAJETS.CSV", "C;;;5400;3000;60000\r\nM;4,5\r\nT;04:12:26;09:10:05;1800;1000;25000;57,5;40;0;55;20;10;15\r\n"
                                "T;05:12:26;18:00:00;600;0;0;50,0;40;0;0;0;0;0\r\nT;bad\r\n");
    DiskFileSystem disk;
    const auto trend = readTripTrend(disk, folder.path());
    ASSERT_TRUE(trend);
    EXPECT_EQ(trend->totals.TotalDistanceM, 60000);
    ASSERT_EQ(trend->trips.size(), 2u);
    EXPECT_EQ(trend->trips[0].when, DateTime::fromCivil({2026, 12, 4, 9, 10, 5}));
    EXPECT_NEAR(*trend->trips[0].litresPer100Km, 4.0, 1e-12);
    EXPECT_FALSE(trend->trips[1].litresPer100Km);
    EXPECT_FALSE(readTripTrend(disk, folder.file("missing")));
}

} // namespace
} // namespace vcm
