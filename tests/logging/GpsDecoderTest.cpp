// GPS receiver text as it arrives every 2050 ms: single sentences with known values,
// corrupted and cut-off sentences, and a recorded drive fed in port-sized chunks.
#include "logging/GpsDecoder.h"

#include "LogFiles.h"
#include "common/MemoryView.h"

#include <gtest/gtest.h>

using namespace vcm;
using namespace vcm::test;

namespace {

constexpr Color Orange = rgb(255, 128, 0);
constexpr Color Green = rgb(0, 255, 0);
constexpr Color Red = rgb(255, 0, 0);

const char* const DublinGga = "$GPGGA,092751.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*77\r\n";

struct GpsFixture : ::testing::Test {
    GpsState gps;
    MemoryView view;
    void decode(std::string_view text, char sep = '.') { decodeGpsText(text, gps, view, sep); }
    Color labelColour() { return view.foreColor({"GpsAltitudeLabel"}); }
};

} // namespace

// Only whole sentences with a matching (or no) checksum are read, and only the first of
// each kind in a chunk.
TEST_F(GpsFixture, OneChunkTakesOnlyWhatIsWholeAndValid)
{
    const struct {
        const char* name;
        std::string text, latitude, longitude, speed;
    } cases[] = {
        {"EastLongitudeUsesThreeDegreeDigits",
         "$GPGGA,010203.000,3540.1234,S,13521.0000,E,1,06,1.1,40.0,M,,,,\r\n", "-35.668723", "135.35", "old speed"},
        {"TwoGgaTheFirstWins",
         "$GPGGA,1,5321.6802,N,00630.3372,W,1,8,1,61.7,M,\r\n$GPGGA,2,4807.0380,N,01131.0000,E,1,8,1,545.4,M,\r\n",
         "53.361337", "-6.50562", "old speed"},
        {"BadChecksumIgnoredGoodOneAfterTaken",
         "$GPGGA,092751.000,5821.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*77\r\n" + std::string(DublinGga),
         "53.361337", "-6.50562", "old speed"},
        {"OnlyBadChecksums",
         "$GPRMC,092751.000,A,5321.6802,N,00630.3372,W,122.4,084.4,041226,,,A*72\r\n", "old lat", "old lon",
         "old speed"},
        {"CutAfterLatitude", "$GPGGA,092751.000,5321.6802,N,0063", "53.361337", "old lon", "old speed"},
        {"CutSentenceDoesNotReadTheNextOne",
         "$GPGGA,092751.000,5321.6802,N$GPRMC,092752.000,A,5321.6803,N,00630.3373,W,022.4,084.4,041226,,,A\r\n",
         "old lat", "old lon", "41"},
        {"TailOfASentenceFromTheLastChunk", "6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*77\r\n", "old lat",
         "old lon", "old speed"},
        {"NoFixYetGivesZero", "$GPGGA,092751.000,,,,,0,00,,,M,,M,,*70\r\n", "0", "0", "old speed"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gps.GpsLatitude = "old lat";
        gps.GpsLongitude = "old lon";
        gps.GpsSpeed = "old speed";
        decode(c.text);
        EXPECT_EQ(gps.GpsLatitude, c.latitude);
        EXPECT_EQ(gps.GpsLongitude, c.longitude);
        EXPECT_EQ(gps.GpsSpeed, c.speed);
    }
}

// The GSA fix mode colours the altitude caption; a sentence with a wrong checksum is ignored.
TEST_F(GpsFixture, FixModeColoursTheAltitudeCaption)
{
    const std::pair<const char*, Color> cases[] = {
        {"$GPGSA,A,1,,,,,,,,,,,,,,,*1E\r\n", Red},
        {"$GPGSA,A,2,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0B\r\n", Orange},
        {"$GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0A\r\n", Green},
        {"$GPGSA,A,0,,,,,,,,,,,,,,,\r\n", colors::SystemText},
        {"$GPGSA,A,,,,,,,,,,,,,,,,\r\n", colors::SystemText},
        {"$GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0B\r\n", colors::SystemText},
        {"$GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0a\r\n", Green}}; // lower-case checksum
    for (const auto& [sentence, expected] : cases) {
        view.setForeColor({"GpsAltitudeLabel"}, colors::SystemText);
        decode(sentence);
        EXPECT_EQ(labelColour(), expected) << sentence;
    }
}

TEST_F(GpsFixture, AltitudeTraceScrollsOneSegmentPerDecode)
{
    // Three chained segments of 300 twips across, level at y = 500.
    view.setLine({"GpsAltiLine", 0}, {0, 500, 300, 500});
    view.setLine({"GpsAltiLine", 1}, {300, 500, 600, 500});
    view.setLine({"GpsAltiLine", 2}, {600, 500, 900, 500});
    auto ggaAt = [](const char* altitude) {
        return std::string("$GPGGA,1,5321.6802,N,00630.3372,W,1,8,1,") + altitude + ",M,\r\n";
    };
    decode(ggaAt("61.7")); // climbing from 0
    decode(ggaAt("58.2")); // descending
    decode(ggaAt("58.2")); // level
    const Line l0 = view.line({"GpsAltiLine", 0}), l1 = view.line({"GpsAltiLine", 1}), l2 = view.line({"GpsAltiLine", 2});
    // Oldest change on the left: up 120, then down 120, then level.
    EXPECT_EQ((std::vector<double>{l0.y1, l0.y2, l1.y1, l1.y2, l2.y1, l2.y2}),
              (std::vector<double>{500, 380, 380, 500, 500, 500}));
    EXPECT_EQ(l2.x1, 600); // horizontal ends never move
    EXPECT_TRUE(view.isVisible({"GpsAltiLine", 2}));
    EXPECT_DOUBLE_EQ(gps.GpsPrevAltitude, 58.2);
}

// The main tick shows the altitude and, once six satellites gave a reference, the gain.
TEST_F(GpsFixture, TickShowsAltitudeAndElevationGain)
{
    const struct {
        const char* name;
        const char* altitude;
        std::int16_t satellites, startBefore, startAfter;
        const char *shown, *gain;
    } cases[] = {
        {"FiveSatellitesAreNotEnough", "61,7", 5, 0, 0, "61,7", "-"},
        {"SixSatellitesTakeTheReference", "61,7", 6, 0, 62, "61,7", "0"},
        {"ZeroMetresLeavesItUntaken", "0", 9, 0, 0, "0,0", "-"},
        {"GainAfterClimbing", "75,9", 3, 62, 62, "75,9", "14"},
        {"BelowTheStart", "51,2", 9, 62, 62, "51,2", "-11"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gps.GpsAltitude = c.altitude;
        gps.GpsSatellites = c.satellites;
        gps.StartAltitude = c.startBefore;
        view.props("DenivValue").text = "-";
        showGpsOnTick(gps, view, ',');
        EXPECT_EQ(gps.StartAltitude, c.startAfter);
        EXPECT_EQ(view.text({"GpsAltitudeValue"}), c.shown);
        EXPECT_EQ(view.text({"DenivValue"}), c.gain);
    }
}

TEST_F(GpsFixture, RecordedDriveFedInPortSizedChunks)
{
    // 4800 bit/s for 2050 ms is about 980 characters per GPS tick; the recording holds
    // no-fix epochs, then a 2D and a 3D fix, and two sentences hit by line noise.
    const std::string drive = readFile(std::string(VCM_TEST_DATA_DIR) + "/gps_drive.nmea");
    ASSERT_GT(drive.size(), 5000u);
    std::vector<std::string> latitudes;
    for (std::size_t at = 0; at < drive.size(); at += 980) {
        decode(std::string_view(drive).substr(at, 980));
        latitudes.push_back(gps.GpsLatitude);
        if (gps.GpsLatitude == "0") continue; // no fix yet
        EXPECT_NEAR(std::stod(gps.GpsLatitude), 53.365, 0.005) << "chunk " << at / 980;
        EXPECT_NEAR(std::stod(gps.GpsLongitude), -6.505, 0.005) << "chunk " << at / 980;
    }
    ASSERT_EQ(latitudes.size(), 7u);
    EXPECT_EQ(latitudes[0], "0");
    EXPECT_EQ(latitudes[1], "53.361762");
    EXPECT_EQ(latitudes[2], "53.362102"); // its first GGA is corrupted: the repeat after it counts
    EXPECT_EQ(gps.GpsLatitude, "53.363292");
    EXPECT_EQ(gps.GpsLongitude, "-6.509147");
    EXPECT_EQ(gps.GpsAltitude, "64,7");
    EXPECT_EQ(gps.GpsSatellites, 8);
    EXPECT_EQ(gps.GpsSpeed, "41");
    EXPECT_EQ(gps.GpsCourse, "84");
    EXPECT_EQ(labelColour(), Green);
}
