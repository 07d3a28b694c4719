// GPS receiver text as it arrives every 2050 ms: single sentences with known values,
// corrupted and cut-off sentences (a recorded drive: the GPS log replayed in GoldenOutputTest).
#include "logging/GpsDecoder.h"

#include <gtest/gtest.h>

using namespace vcm;

namespace {

const char* const DublinGga = "$GPGGA,092751.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*77\r\n";

struct GpsFixture : ::testing::Test {
    GpsState gps;
    void decode(std::string_view text, char sep = '.') { decodeGpsText(text, gps, sep); }
};

} // namespace

// Only whole sentences with a matching (or no) checksum are read, and only the first of
// each kind in a chunk.
TEST_F(GpsFixture, OneChunkTakesOnlyWhatIsWholeAndValid)
{
    // Latitude, longitude and speed after the chunk; "-": as the chunks before left it.
    const struct { const char* name; std::string text; const char* shown; } cases[] = {
        {"EastLongitudeUsesThreeDegreeDigits", "$GPGGA,010203.000,3540.1234,S,13521.0000,E,1,06,1.1,40.0,M,,,,\r\n",
         "-35.668723 135.35 -"},
        {"TwoGgaTheFirstWins",
         "$GPGGA,1,5321.6802,N,00630.3372,W,1,8,1,61.7,M,\r\n$GPGGA,2,4807.0380,N,01131.0000,E,1,8,1,545.4,M,\r\n",
         "53.361337 -6.50562 -"},
        {"BadChecksumIgnoredGoodOneAfterTaken",
         "$GPGGA,092751.000,5821.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*77\r\n" + std::string(DublinGga),
         "53.361337 -6.50562 -"},
        {"OnlyBadChecksums", "$GPRMC,092751.000,A,5321.6802,N,00630.3372,W,122.4,084.4,041226,,,A*72\r\n", "- - -"},
        {"CutAfterLatitude", "$GPGGA,092751.000,5321.6802,N,0063", "53.361337 - -"},
        {"CutSentenceDoesNotReadTheNextOne",
         "$GPGGA,092751.000,5321.6802,N$GPRMC,092752.000,A,5321.6803,N,00630.3373,W,022.4,084.4,041226,,,A\r\n",
         "- - 41"},
        {"TailOfASentenceFromTheLastChunk", "6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*77\r\n", "- - -"},
        {"NoFixYetGivesZero", "$GPGGA,092751.000,,,,,0,00,,,M,,M,,*70\r\n", "0 0 -"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gps.GpsLatitude = gps.GpsLongitude = gps.GpsSpeed = "-";
        decode(c.text);
        EXPECT_EQ(gps.GpsLatitude + " " + gps.GpsLongitude + " " + gps.GpsSpeed, c.shown);
    }
}

// The GSA fix mode (2 and 3, any other positive mode 1); a sentence with a wrong checksum
// or no positive mode leaves the last one.
TEST_F(GpsFixture, FixModeIsTakenFromValidSentences)
{
    const std::pair<const char*, int> cases[] = {
        {"$GPGSA,A,1,,,,,,,,,,,,,,,*1E\r\n", 1}, {"$GPGSA,A,0,,,,,,,,,,,,,,,\r\n", 0},
        {"$GPGSA,A,,,,,,,,,,,,,,,,\r\n", 0},
        {"$GPGSA,A,2,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0B\r\n", 2},
        {"$GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0A\r\n", 3},
        {"$GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0B\r\n", 0},
        {"$GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0a\r\n", 3}}; // lower-case checksum
    for (const auto& [sentence, expected] : cases) {
        gps.fixMode = 0;
        decode(sentence);
        EXPECT_EQ(gps.fixMode, expected) << sentence;
    }
}

TEST_F(GpsFixture, AltitudeTrendMovesOnOneStepPerDecodeAndTheReferenceNeedsSixSatellites)
{
    auto ggaAt = [](const char* altitude, int satellites) {
        return "$GPGGA,1,5321.6802,N,00630.3372,W,1," + std::to_string(satellites) + ",1," + altitude + ",M,\r\n";
    };
    decode(ggaAt("61.7", 5)); // climbing from 0
    takeStartAltitude(gps);
    EXPECT_EQ(gps.StartAltitude, 0) << "five satellites are not enough";
    decode(ggaAt("58.2", 6)); // descending
    takeStartAltitude(gps);
    decode(ggaAt("58.2", 6)); // level
    takeStartAltitude(gps);
    EXPECT_EQ(gps.altitudeTrend, (std::array<int, 3>{1, -1, 0}));
    EXPECT_DOUBLE_EQ(gps.GpsPrevAltitude, 58.2);
    EXPECT_EQ(gps.StartAltitude, 58) << "taken once, whole metres";
}
