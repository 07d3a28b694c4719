// The trip file on a real disk: totals, minute bars and stored trips read back after a
// shutdown, files from systems with either decimal separator, and power cuts.
#include "logging/TripFile.h"

#include "support/FaultyFileSystem.h"
#include "LogFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using namespace vcm;
using namespace vcm::test;

namespace {

// A file as a French system leaves it: totals, 30 minute bars, then stored trips.
std::string tripFile(int trips)
{
    std::string s = "C;;;5400;12345;98765\r\n";
    for (int m = 0; m < 30; ++m) s += "M;" + std::to_string(m % 10) + ",5\r\n";
    for (int t = 1; t <= trips; ++t)
        s += "T;04:12:26;09:" + std::to_string(10 + t % 50) + ":00;" + std::to_string(600 + t) + ";450;8000;57,5;40;12;55;20;10;15\r\n";
    return s;
}

const TripRun kShortRun{DateTime::fromCivil({2026, 12, 5, 18, 2, 9}), 1800, 1234.4, 25000.6, 57.5, 40, 12, {55, 20, 10, 15}};

std::array<double, 30> bars(double first)
{
    std::array<double, 30> b{};
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = first + static_cast<double>(i) / 10;
    return b;
}

// What a start reads from the file: total seconds, minute bars, stored trips.
std::tuple<double, std::size_t, std::size_t> counts(const TripFileContent& content)
{
    return {content.totals.TotalSeconds, content.minuteBars.size(), content.tripLines.size()};
}

struct TripFixture : ::testing::Test {
    TempFolder folder;
    FaultyFileSystem fs;
    void write(const std::string& text) const { folder.write("TRAJETS.CSV", text); }
    std::string read() const { return folder.read("TRAJETS.CSV"); }
    // The next start, on a disk that works.
    TripStore next() { return {fs, folder.path(), ','}; }
};

} // namespace

TEST_F(TripFixture, ShutdownAddsTheRunAndKeepsTheNewestTrips)
{
    // Trips in the file, trips after the run, and the time field of the oldest trip kept.
    const struct { int storedTrips; std::size_t tripsAfter; const char* firstTripTime; } cases[] = {
        {0, 1, "18:02:09"}, {30, 31, "09:11:00"},
        {600, 500, "09:12:00"}}; // the 100 oldest dropped when reading, then one more for the new run
    for (const auto& c : cases) {
        SCOPED_TRACE(c.storedTrips);
        write(tripFile(c.storedTrips));
        TripStore store = next();
        EXPECT_EQ(store.load().minuteBars.size(), 30u);
        ASSERT_TRUE(store.save(bars(1.0), kShortRun));

        const auto lines = crlfLines(read());
        ASSERT_EQ(lines.size(), 31 + c.tripsAfter);
        EXPECT_EQ(lines[0], "C;;;7200;13579;123766"); // the loaded totals plus the run
        EXPECT_EQ(lines[1] + " .. " + lines[30], "M;1,0 .. M;3,9");
        EXPECT_EQ(lines[31].substr(11, 8), c.firstTripTime);
        EXPECT_EQ(lines.back(), "T;05:12:26;18:02:09;1800;1234;25001;57,5;40;12;55;20;10;15");

        EXPECT_EQ(next().load().tripLines, std::vector<std::string>(lines.begin() + 31, lines.end())); // read back
    }
}

// A minute bar reads the same on either system, whichever separator wrote it.
TEST_F(TripFixture, MinuteBarsReadTheSameValueWhateverTheSystem)
{
    const std::pair<const char*, double> cases[] = {{"M;4,5", 4.5}, {"M;4.5", 4.5}, {"M;45", 0.15} /* old scale */, {"M;", 0}};
    for (const auto& [line, expected] : cases) {
        write(std::string("C;;;0;0;0\r\n") + line + "\r\n");
        for (char systemSep : {',', '.'}) {
            TripStore store(fs, folder.path(), systemSep);
            ASSERT_EQ(store.load().minuteBars.size(), 1u);
            EXPECT_DOUBLE_EQ(store.content().minuteBars[0], expected) << line << " read with " << systemSep;
        }
    }
}

TEST_F(TripFixture, PowerCutDuringShutdownOrAnIdleRunLeavesTheOldFileWhole)
{
    const std::string old = tripFile(30);
    write(old);
    TripStore store = next();
    store.load();
    TripRun idle = kShortRun;
    idle.fuelMl = idle.distanceM = 0;
    EXPECT_TRUE(store.save(bars(9), idle)); // nothing to add
    EXPECT_EQ(read(), old);
    fs.cutPowerDuringReplace = true;
    EXPECT_FALSE(store.save(bars(1), kShortRun));
    EXPECT_EQ(read(), old);

    // Next start: the half-written file beside it is ignored.
    fs.cutPowerDuringReplace = false;
    EXPECT_EQ(counts(next().load()), std::tuple(5400.0, 30u, 30u));
}

TEST_F(TripFixture, MissingFileGivesZeroTotalsAndADamagedFirstLineKeepsTheTripsTotals)
{
    TripStore store = next();
    EXPECT_EQ(counts(store.load()), std::tuple(0.0, 0u, 0u));
    EXPECT_EQ(store.content().totals.TotalDistanceM, 0);
    EXPECT_EQ(store.problem(), "");

    write("X;;;5400;1;1\nM;2,5\nT;01:01:26;10:00:00;1;2;3;4;5;6;7;8;9;10\n"); // LF only
    const auto& foreign = store.load();
    EXPECT_EQ(counts(foreign), std::tuple(1.0, 1u, 1u));
    EXPECT_EQ(foreign.totals.TotalDistanceM, 3);
    EXPECT_DOUBLE_EQ(foreign.minuteBars.at(0), 2.5);
    EXPECT_NE(store.problem().find("totals rebuilt"), std::string::npos);
}

// Damaged files: lines that are not trips are skipped, the file as it was is kept
// beside it before the first rewrite, and the totals never fall back to one run's.
TEST_F(TripFixture, DamagedFileIsCopiedBeforeItIsRewrittenWithoutItsGarbage)
{
    std::string noise;
    for (int i = 0; i < 3000; ++i) noise += static_cast<char>((i * 7919) % 251 + 1);
    // Total seconds and stored trips once the run of 1800 s is added.
    const struct { const char* name; std::string text; double totalSeconds; std::size_t trips; } cases[] = {
        {"random bytes", noise, 1800, 1},
        {"noise after good lines", tripFile(3) + noise, 5400 + 1800, 4},
        {"first line cut", "C;;;54" + tripFile(2).substr(20), 601 + 602 + 1800, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(folder.file("TRAJETS.CSV.damaged"));
        write(c.text);
        TripStore store = next();
        store.load();
        EXPECT_NE(store.problem().find(folder.file("TRAJETS.CSV")), std::string::npos);
        ASSERT_TRUE(store.save(bars(1), kShortRun));
        EXPECT_EQ(folder.read("TRAJETS.CSV.damaged"), c.text);
        TripStore again = next();
        EXPECT_EQ(counts(again.load()), std::tuple(c.totalSeconds, 30u, c.trips));
        EXPECT_EQ(again.problem(), "");
    }
}

// A file that cannot be read is never replaced by one rebuilt from nothing (a folder in
// its place: HeadlessProgram.ATripThatCannotBeSavedFailsTheRun).
TEST_F(TripFixture, UnreadableFileIsReportedAndNeverWrittenOver)
{
    const std::string path = folder.write("TRAJETS.CSV", tripFile(5));
    fs.unreadable.insert(path);
    TripStore store = next();
    store.load();
    EXPECT_NE(store.problem().find(path + ": Input/output error"), std::string::npos) << store.problem();
    EXPECT_FALSE(store.save(bars(1), kShortRun));
    EXPECT_NE(store.saveError().find("Input/output error"), std::string::npos);
    EXPECT_EQ(read(), tripFile(5));
}

TEST_F(TripFixture, KillBetweenAnyTwoWritesLeavesTheOldOrTheNewFileAndTheSameRunIsStoredOnce)
{
    for (int killAfter = 0;; ++killAfter) {
        SCOPED_TRACE(killAfter);
        write(tripFile(3) + "garbage\r\n");
        std::filesystem::remove(folder.file("TRAJETS.CSV.damaged"));
        FaultyFileSystem dying;
        dying.killAfter = killAfter;
        TripStore store(dying, folder.path(), ',');
        store.load();
        const bool saved = store.save(bars(1), kShortRun);
        // The next start, on a disk that works, saves the same run again (a replay re-run).
        TripStore restart = next();
        const auto& content = restart.load();
        EXPECT_TRUE(content.tripLines.size() == 3 || content.tripLines.size() == 4);
        ASSERT_TRUE(restart.save(bars(1), kShortRun));
        EXPECT_EQ(counts(next().load()), std::tuple(5400.0 + 1800, 30u, 4u));
        if (saved && !dying.killed()) break;
    }
}

TEST(TripRunOfVehicle, TakesTheRunFromStateGpsAndShownShares)
{
    VehicleState v;
    v.TripStart = DateTime::fromCivil({2026, 12, 5, 17, 30, 0});
    v.TripNow = DateTime::fromCivil({2026, 12, 5, 18, 0, 30});
    v.FuelAccumulator = 1296000000.0 * 812.6;
    v.DistanceAccumulator = 3600.0 * 15400;
    v.StateOfCharge = 612;
    v.FuelTankLevel = 35;
    GpsState gps;
    gps.altitude = 75.9;
    gps.StartAltitude = 62;
    const ShownShares shares{48, 21, 17, 9}; // thermal, electric, glide, regeneration

    const TripRun run = makeTripRun(v, gps, shares, DateTime::fromCivil({2026, 12, 5, 18, 1, 0}));
    EXPECT_EQ(formatTripLine(run, ','), "T;05:12:26;18:01:00;1830;813;15400;61,2;35;13;48;21;9;17");

    gps.StartAltitude = 0; // no reference taken during the run
    v.TripStart = DateTime(); // the car never moved
    EXPECT_EQ(formatTripLine(makeTripRun(v, gps, shares, DateTime::fromCivil({2026, 12, 5, 18, 1, 0})), '.'),
              "T;05:12:26;18:01:00;0;813;15400;61.2;35;0;48;21;9;17");
}
