// What a session leaves on disk and in the histogram: value-log rows per tick, the minute
// bars, the trip file. (The GPS log of a live session: GoldenOutputTest's record sets.) (Row, raw-log and trip-line formats: LogFormatTest,
// RunLogTest, TripFileTest; the GPS columns of replayed rows: RecordedDriveTest; the log
// set closed on Start and Stop: AdapterControlTest; the loop over Qt's timers and ports:
// HeadlessTest.)
#include "MonitorRig.h"

#include "logging/Histogram.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

TEST(SessionFiles, OneValueRowPerTickWhileThePortIsOpen)
{
    MonitorRig rig(true);
    rig.monitor.startAcquisition();
    rig.adapterPort.receive("0B4 00 00 00 00 00 13 88\r\n3C8 00 00 30 00 00\r\n");
    rig.tick(25);
    const std::string base = rig.monitor.logs().fileBase();
    EXPECT_EQ(base, joinPath(rig.folder.path(), "CAN_04122026_0910"));
    rig.monitor.stopAcquisition();
    rig.tick(10); // stopped: no more rows

    const auto lines = linesOf(rig.folder.read(base + ".csv"));
    ASSERT_EQ(lines.size(), 26u) << "header and 25 rows";
    EXPECT_EQ(lines[1].substr(0, 30), "04/12/2026;09:10:30;50,0;1536;") << "the decimal separator is the system's";
    EXPECT_EQ(fieldsOf(lines[25])[1], "09:10:32") << "25 ticks of 100 ms later";
}

TEST(SessionFiles, FirstMinuteBarComesAtTheClocksMinuteNotSixtySecondsLater)
{
    MonitorRig rig(true, false);
    rig.monitor.startAcquisition(); // 09:10:30
    auto& v = rig.vehicle();
    rig.tick(299);
    const auto& bars = rig.monitor.histogram().bars();
    ASSERT_EQ(bars.size(), 30u);
    EXPECT_FALSE(bars[29].visible);

    v.DistanceAccumulator = 1e6 * 3600 / 1000; // 5 l/100 km over the first interval
    v.FuelAccumulator = 5.0 * v.DistanceAccumulator * 3600;
    rig.tick(); // 09:11:00
    EXPECT_EQ(bars[29].caption, "5,0");
    // Without a trip file the bars grow from the right, on the designed layout (no window yet).
    EXPECT_EQ(std::pair(bars[28].visible, bars[29].visible), std::pair(false, true));
    EXPECT_DOUBLE_EQ(bars[29].height, 1500); // 5 of 10 L/100 km on a 3000-twip plot
    EXPECT_DOUBLE_EQ(bars[29].width, 480);
    EXPECT_EQ(rig.shown().histogramRevision, rig.monitor.histogram().revision()) << "the window is told";

    // A later start in another minute adds a bar at once.
    rig.monitor.stopAcquisition();
    rig.clock.advance(3 * 60 * 1000.0);
    v.DistanceAccumulator = 0;
    rig.monitor.startAcquisition();
    v.DistanceAccumulator = 1000 * 3600.0;
    v.FuelAccumulator = 12.0 * v.DistanceAccumulator * 3600;
    rig.tick();
    EXPECT_EQ(bars[28].caption + " " + bars[29].caption, "5,0 12,0");
}

// The trips follow a new save folder without touching the other folder's file, and the
// user is told where they now are.
TEST(SessionFiles, TripsFollowTheSaveFolderAndLeaveTheOldFileAsItWas)
{
    MonitorRig rig(false);
    const std::string old = "C;;;100;200;300\r\n";
    rig.folder.write("TRAJETS.CSV", old);
    rig.monitor.loadTrips();
    TempFolder other;
    other.write("TRAJETS.CSV", "C;;;7200;5000;90000\r\n");

    EXPECT_FALSE(rig.monitor.followSaveFolder()); // same folder: nothing to do
    rig.settings.SavePath = other.path();
    ASSERT_TRUE(rig.monitor.followSaveFolder());
    EXPECT_NE(rig.notices.told.back().text.find(other.file("TRAJETS.CSV")), std::string::npos);

    rig.vehicle().DistanceAccumulator = 1000 * 3600.0;
    ASSERT_TRUE(rig.monitor.saveTrips());
    EXPECT_EQ(rig.folder.read("TRAJETS.CSV"), old);
    EXPECT_EQ(linesOf(other.read("TRAJETS.CSV"))[0], "C;;;7200;5000;91000");
}

} // namespace
} // namespace vcm::test
