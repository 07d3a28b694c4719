// What a session leaves on disk and in the histogram: value-log rows per tick, the raw
// and GPS logs, the minute bars, the trip line.
#include "MonitorRig.h"

#include "logging/GpsState.h"
#include "logging/Histogram.h"
#include "logging/RunLog.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

TEST(SessionFiles, OneValueRowPerTickWhileThePortIsOpen)
{
    MonitorRig rig(true);
    rig.monitor.startAcquisition();
    rig.adapterPort.receive("0B4 00 00 00 00 00 13 88\r\n3C8 00 00 30 00 00\r\n");
    rig.ticks(25);
    const std::string base = rig.monitor.runLog().fileBase();
    EXPECT_EQ(base, joinPath(rig.folder.path(), "CAN_04122026_0910"));
    rig.monitor.stopAcquisition();
    rig.ticks(10); // stopped: no more rows

    const auto lines = linesOf(rig.folder.read(base + ".csv"));
    ASSERT_EQ(lines.size(), 26u) << "header and 25 rows";
    EXPECT_EQ(lines[0].substr(0, 24), "Date;Heure;km/h;Tpm;L/10");
    const auto row = fieldsOf(lines[1]);
    ASSERT_EQ(row.size(), 26u) << lines[1];
    EXPECT_EQ(row[0], "04/12/2026");
    EXPECT_EQ(row[1], "09:10:30");
    EXPECT_EQ(row[2], "50,0") << "speed with the system's decimal separator";
    EXPECT_EQ(row[3], "1536");
    EXPECT_EQ(fieldsOf(lines[25])[1], "09:10:32") << "25 ticks of 100 ms later";
}

TEST(SessionFiles, CanUsbRowsCarryTheDiagnosticColumns)
{
    MonitorRig rig(false);
    rig.monitor.startAcquisition();
    // The control unit's reply to record C3: first frame and five consecutive frames.
    rig.adapterPort.receive("t7EA81027" "61C30C00FF03\r"
                            "t7EA82101020304050607\rt7EA82208090A0B0C0D0E\rt7EA8230F101112131415\r"
                            "t7EA824161718191A1B1C\rt7EA8251D1E1F20212223\r");
    rig.ticks(3);
    const auto lines = rig.csvRows();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 6), ";C4_18");
    const auto row = fieldsOf(lines[3]);
    ASSERT_EQ(row.size(), fieldsOf(lines[0]).size()); // no C4 reply yet: empty fields, not one too many
    EXPECT_EQ(row[26], "12");
    EXPECT_EQ(row[29], "3");
    EXPECT_EQ(row[30], "1");
    EXPECT_EQ(row[26 + 38], "35");
}

TEST(SessionFiles, AuxiliaryPortLeavesOnlyTheTrailingColumns)
{
    MonitorRig rig(true);
    rig.settings.PortNumM = 4;
    rig.monitor.startAcquisition();
    rig.ticks(5);
    const auto lines = rig.csvRows();
    ASSERT_EQ(lines.size(), 6u) << "a line per tick, even an empty one";
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], "");
}

TEST(SessionFiles, RawLogHoldsTheAdapterTextWithMarkers)
{
    MonitorRig rig(true);
    rig.settings.SuperLogFile = true;
    rig.monitor.startAcquisition();
    rig.tick(); // opens the log set
    const std::string a = "0B4 00 00 00 00 00 13 88\r\n3C8 00 00 30 00 00\r\n";
    const std::string b = "03B 0F F5";
    rig.adapterPort.receive(a);
    rig.adapterPort.receive(b);
    const std::string raw = rig.folder.read(rig.monitor.runLog().fileBase() + ".txt");

    const auto firstMarker = raw.find("0B4 00 00 00 00 00 13 88\r\n#04/12/2026 09:10:30_");
    ASSERT_NE(firstMarker, std::string::npos) << raw;
    EXPECT_NE(raw.find("_" + std::to_string(a.size()) + "#\r\n3C8 00 00 30 00 00\r\n0#"), std::string::npos) << raw;
    // A chunk without CR LF: its first character, the marker, the rest.
    const std::string tail = "_" + std::to_string(b.size()) + "#\r\n3B 0F F5";
    ASSERT_GT(raw.size(), tail.size());
    EXPECT_EQ(raw.substr(raw.size() - tail.size()), tail);
    EXPECT_NE(raw.find("\r\n0#04/12/2026 09:10:30_"), std::string::npos);
}

TEST(SessionFiles, GpsTickLogsDecodesAndFillsTheRow)
{
    MonitorRig rig(true);
    rig.settings.SuperLogFile = true;
    rig.settings.EnableGPS = true;
    rig.settings.PortNumGPS = 6;
    rig.monitor.startAcquisition();
    rig.tick();
    const std::string nmea = "$GPGGA,092751.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*77\r\n"
                             "$GPRMC,092751.000,A,5321.6802,N,00630.3372,W,022.4,084.4,041226,,,A*72\r\n";
    rig.gpsPort.receive(nmea);
    rig.monitor.onGpsTimer();
    rig.tick();

    EXPECT_EQ(rig.folder.read(rig.monitor.runLog().fileBase() + ".gps"), nmea);
    EXPECT_EQ(rig.monitor.gps().GpsSatellites, 8);
    EXPECT_EQ(rig.monitor.gps().StartAltitude, 62) << "taken with more than five satellites";
    EXPECT_EQ(rig.shown().gpsAltitude.value, "61,7");
    const auto lines = rig.csvRows();
    ASSERT_EQ(lines.size(), 3u);
    const auto row = fieldsOf(lines[2]);
    ASSERT_EQ(row.size(), 32u) << lines[2];
    EXPECT_EQ(row[26], "53,361337");
    EXPECT_EQ(row[27], "-6,50562");
    EXPECT_EQ(row[29], "41");
    EXPECT_EQ(row[31], "8");
}

TEST(SessionFiles, FirstMinuteBarComesAtTheClocksMinuteNotSixtySecondsLater)
{
    MonitorRig rig(true, false);
    const HistogramLayout layout = rig.monitor.histogram().layout();
    rig.monitor.startAcquisition(); // 09:10:30
    auto& v = rig.monitor.vehicle();
    rig.ticks(299);
    const auto& bars = rig.monitor.histogram().bars();
    EXPECT_FALSE(bars[29].visible);

    // 5 l/100 km over the first interval.
    v.DistanceAccumulator = 1e6 * 3600 / 1000;
    v.FuelAccumulator = 5.0 * v.DistanceAccumulator * 3600;
    rig.tick(); // 09:11:00
    EXPECT_EQ(bars[29].caption, "5,0");
    EXPECT_TRUE(bars[29].visible);
    EXPECT_EQ(rig.shown().histogramRevision, rig.monitor.histogram().revision()) << "the window is told";
    const HistogramBar& bar = bars[29];
    EXPECT_DOUBLE_EQ(bar.height, layout.height / 2);
    EXPECT_DOUBLE_EQ(bar.top, layout.top + layout.height / 2);

    // A later start in another minute adds a bar at once.
    rig.monitor.stopAcquisition();
    rig.clock.advance(3 * 60 * 1000.0);
    v.DistanceAccumulator = 0;
    rig.monitor.startAcquisition();
    v.DistanceAccumulator = 1000 * 3600.0;
    v.FuelAccumulator = 12.0 * v.DistanceAccumulator * 3600;
    rig.tick();
    EXPECT_EQ(bars[28].caption, "5,0");
    EXPECT_EQ(bars[29].caption, "12,0");
    EXPECT_DOUBLE_EQ(bars[29].height, layout.height) << "the scale tops out at 10";
}

TEST(SessionFiles, StopWithLogfileClosesTheSetAndTheTripFileGetsTheRun)
{
    MonitorRig rig(false);
    rig.settings.Logfile = true;
    rig.monitor.loadTrips();
    rig.monitor.startAcquisition();
    rig.ticks(10);
    auto& v = rig.monitor.vehicle();
    v.DistanceAccumulator = 2500 * 3600.0; // 2.5 km
    v.FuelAccumulator = 150 * 1296000000.0; // 150 ml
    const std::string base = rig.monitor.runLog().fileBase();
    rig.monitor.stopAcquisition();
    EXPECT_FALSE(rig.monitor.runLog().isOpen());
    EXPECT_EQ(linesOf(rig.folder.read(base + ".csv")).size(), 11u);

    ASSERT_TRUE(rig.monitor.saveTrips());
    const auto trips = linesOf(rig.folder.read("TRAJETS.CSV"));
    ASSERT_EQ(trips.size(), 32u);
    EXPECT_EQ(trips[0], "C;;;0;150;2500");
    const auto line = fieldsOf(trips[31]);
    EXPECT_EQ(line[0], "T");
    EXPECT_EQ(line[4], "150");
    EXPECT_EQ(line[5], "2500");
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
    ASSERT_FALSE(rig.notices.told.empty());
    EXPECT_NE(rig.notices.told.back().text.find(other.file("TRAJETS.CSV")), std::string::npos);
    EXPECT_EQ(rig.monitor.trips().content().totals.TotalSeconds, 7200);

    rig.monitor.vehicle().DistanceAccumulator = 1000 * 3600.0;
    ASSERT_TRUE(rig.monitor.saveTrips());
    EXPECT_EQ(rig.folder.read("TRAJETS.CSV"), old);
    EXPECT_EQ(linesOf(other.read("TRAJETS.CSV"))[0], "C;;;7200;5000;91000");
}

} // namespace
} // namespace vcm::test
