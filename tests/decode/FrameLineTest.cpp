// The two line readers: which lines are frames, and what they carry.
#include "decode/FrameLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vcm {
namespace {

struct LineCase {
    const char* line;
    std::uint32_t id;
    int count;
    std::vector<int> bytes; // bytes 1..count (up to 8), -1 for invalid
};

void check(bool (*read)(std::string_view, FrameLine&), const std::vector<LineCase>& frames,
           const std::vector<std::string>& notFrames)
{
    for (const LineCase& c : frames) {
        SCOPED_TRACE(std::string("line \"") + c.line + "\"");
        FrameLine f;
        ASSERT_TRUE(read(c.line, f));
        EXPECT_EQ(f.id, c.id);
        EXPECT_EQ(f.count, c.count);
        for (std::size_t k = 0; k < c.bytes.size(); ++k) EXPECT_EQ(f.at(static_cast<int>(k + 1)), c.bytes[k]) << "byte " << k + 1;
    }
    FrameLine f;
    for (const std::string& line : notFrames) EXPECT_FALSE(read(line, f)) << "line \"" << line << "\"";
}

TEST(FrameLine, Elm327MonitorLines)
{
    check(readElm327Line,
          {{"3CA 00 1A 00 2C 00", 0x3CA, 5, {0, 0x1A, 0, 0x2C, 0}},
           {"0b4 00 00 00 00 00 2e e0 00", 0x0B4, 8, {0, 0, 0, 0, 0, 0x2E, 0xE0, 0}},
           {"3CA 00 1A ", 0x3CA, 3, {0, 0x1A, -1}}, // trailing space
           {"3CA 00  1A", 0x3CA, 3, {0, -1, 0x1A}}, // double space
           {">03B 00 1F 00 E2 3D", 0x03B, 5, {0, 0x1F, 0, 0xE2, 0x3D}}, // after the prompt of a restart
           {"3CA 000 1", 0x3CA, 2, {-1, 1}},
           {"18DAF110 03 41 0D", 0x18DAF110, 3, {3, 0x41, 0x0D}}, // 29-bit header
           {"3CA 00 01 02 03 04 05 06 07 08 09", 0x3CA, 10, {0, 1, 2, 3, 4, 5, 6, 7}}},
          {"3CA", "3CA00", "3C 00", " 3CA 00", "3CAX 00", "BUFFER FULL", "CAN ERROR", "STOPPED", ">", "", "ABC",
           "7E8 03 41 0D 00 <DATA ERROR", "3C8 00 00 32 00 00 <RX ERROR", "3C8 00 00 <RX"}); // damaged
}

TEST(FrameLine, CanUsbFrameLines)
{
    check(readCanUsbLine,
          {{"t3CA5001A002C00", 0x3CA, 5, {0, 0x1A, 0, 0x2C, 0}},
           {"t0B4800000000002ee000", 0x0B4, 8, {0, 0, 0, 0, 0, 0x2E, 0xE0, 0}},
           {"t7FF2FF01", 0x7FF, 2, {0xFF, 1}},
           {"3CA5001A002C00", 0x3CA, 5, {0, 0x1A, 0, 0x2C, 0}},    // "t" already gone
           {"\at3CA5001A002C00", 0x3CA, 5, {0, 0x1A, 0, 0x2C, 0}}}, // refused-command BEL glued on
          {"t7FF1FF",             // under seven characters: one-byte frames
           "t3CA5001A002C0",      // one digit short
           "t3CA5001A002C0000",   // text after the data
           "t3CA5001A002C001234", // timestamp on
           "t3CA0", "t3CA9001A002C000000000000", "t3CA5001A0G2C00",
           "T1234567820011", // extended frame
           "r3CA5",          // remote frame
           "z", "Z", "V1013", "F00", "t3CA5001A002C00\n", "", "\a"});
}

} // namespace
} // namespace vcm
