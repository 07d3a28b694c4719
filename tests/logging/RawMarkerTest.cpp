// The raw log's marker lines, written as the run log writes them and read back as the
// replay reads them.
#include "logging/RawMarker.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vcm {
namespace {

TEST(RawMarker, EveryChunkWrittenWithItsMarkerComesBackAsReceived)
{
    // The marker ("{M}") goes after the chunk's first CR LF, or after its first character.
    const struct { std::string chunk, written; } cases[] = {
        {"7E8 03 41 0D 00 \r\n3CA 10 00 07 00 1A \r\n", "7E8 03 41 0D 00 \r\n{M}3CA 10 00 07 00 1A \r\n"},
        {"OK\r\n", "OK\r\n{M}"}, {">", ">{M}"}}; // the CANUSB form's chunks: golden record.canusb
    std::string log, received;
    for (const auto& c : cases) {
        const std::string marker = "#04/12/2026 09:10:07_987654_" + std::to_string(c.chunk.size()) + "#";
        std::string out;
        appendRawChunk(out, c.chunk, DateTime::fromCivil({2026, 12, 4, 9, 10, 7}), 987654);
        std::string expected = c.written;
        EXPECT_EQ(out, expected.replace(expected.find("{M}"), 3, marker + "\r\n"));

        std::size_t markerLength = 0;
        RawMarker m;
        ASSERT_EQ(rawPrefixLength(out, markerLength, &m), c.written.find("{M}")) << c.chunk;
        EXPECT_EQ(markerLength, marker.size() + 2);
        EXPECT_EQ(std::tuple(m.stamp, m.tick, m.length), std::tuple("04/12/2026 09:10:07", 987654.0, c.chunk.size()));
        log += out;
        received += c.chunk;
    }
    EXPECT_EQ(withoutRawMarkers(log), received);
}

TEST(RawMarker, StampsWithAndWithoutDateAndDamagedMarkers)
{
    struct Case { const char* stamp; bool ok; int year, hour, minute, second; };
    const Case cases[] = {{"04/12/2026 09:10:05", true, 2026, 9, 10, 5}, {"2026-12-04 23:59:58", true, 2026, 23, 59, 58},
                          {"2026-12-04T00:00:01", true, 2026, 0, 0, 1},  {"09:10:05", true, 0, 9, 10, 5},
                          {"9:10", false, 0, 0, 0, 0},                   {"24:00:00", false, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        const auto t = parseMarkerStamp(c.stamp);
        ASSERT_EQ(t.has_value(), c.ok) << c.stamp;
        if (!c.ok) continue;
        EXPECT_EQ(std::tuple(t->date ? t->date->year : 0, t->hour, t->minute, t->second),
                  std::tuple(c.year, c.hour, c.minute, c.second)) << c.stamp;
    }
    for (const char* bad : {"#04/12/2026_123456#", "#x_12_a#", "#x_12_0#", "04/12_1_2#", "#x_1_2"})
        EXPECT_FALSE(parseRawMarker(bad)) << bad;
    const auto day = logSetDate("/logs/CAN_04122026_0910.txt");
    ASSERT_TRUE(day);
    EXPECT_EQ(std::tuple(day->year, day->month, day->day), std::tuple(2026, 12, 4));
    EXPECT_FALSE(logSetDate("/logs/CAN_41122026_0910.txt"));
}

} // namespace
} // namespace vcm
