// The bus text formats of the simulated car: candump logs, Lawicel frames, ELM327
// monitor lines. Golden lines and round trips.
#include "SimHost.h"

#include "link/sim/CandumpText.h"
#include "link/sim/ElmText.h"
#include "link/sim/LawicelText.h"

#include <gtest/gtest.h>

using namespace vcm::sim;

using vcm::sim::test::frame;

TEST(CandumpText, WritesTheCanUtilsLogLine)
{
    std::string out;
    appendCandumpLine(out, frame(0, 0x3CA, {0, 0, 0, 0, 0}), 1700000000.123456);
    appendCandumpLine(out, frame(0, 0x0B4, {0x00, 0xAB, 0x10}), 1700000000.5, "vcan0");
    appendCandumpLine(out, frame(0, 0x7FF, {}), 1700000001);
    EXPECT_EQ(out, "(1700000000.123456) can0 3CA#0000000000\n"
                   "(1700000000.500000) vcan0 0B4#00AB10\n"
                   "(1700000001.000000) can0 7FF#\n");
}

TEST(CandumpText, ReadsBackWhatItWrites)
{
    const CanFrame frames[] = {frame(0, 0x025, {0x0F, 0xFF, 0x00, 0x12, 0x78, 0, 0, 0x44}), frame(0, 0x5A4, {0x00, 0x0B}),
                               frame(0, 0x001, {})};
    double stamp = 1700000123.000250;
    for (const auto& f : frames) {
        std::string line;
        appendCandumpLine(line, f, stamp);
        line.pop_back();
        auto back = parseCandumpLine(line);
        ASSERT_TRUE(back) << line;
        EXPECT_EQ(back->id, f.id);
        EXPECT_EQ(back->length, f.length);
        EXPECT_EQ(back->data, f.data);
        EXPECT_NEAR(back->timeMs, stamp * 1000, 1e-3);
    }
}

TEST(CandumpText, RefusesLinesItCannotCarry)
{
    for (const char* line : {"", "garbage", "(1700000000.1) can0", "(1700000000.000000) can0 12345678#00",
                             "(1700000000.000000) can0 3CA#R", "(1700000000.000000) can0 3CA##1AA",
                             "(1700000000.000000) can0 3CA#0", "(1700000000.000000) can0 3CA#001122334455667788",
                             "(17000x0000.000000) can0 3CA#00", "(1700000000.000000) can0 800#00"}) {
        EXPECT_FALSE(parseCandumpLine(line)) << line;
    }
    auto withCr = parseCandumpLine("(1700000000.000001) can0 123#AB\r");
    ASSERT_TRUE(withCr);
    EXPECT_EQ(withCr->data[0], 0xAB);
}

TEST(LawicelText, FrameLinesAndTransmitCommands)
{
    std::string out;
    appendLawicelFrame(out, frame(0, 0x3CA, {0, 1, 2, 3, 4}));
    appendLawicelFrame(out, frame(0, 0x7EA, {0x10, 0x27, 0x61, 0xC3, 0x0C, 0x00, 0xFF, 0x03}), 0xEA5F);
    EXPECT_EQ(out, "t3CA50001020304\rt7EA8102761C30C00FF03EA5F\r");

    auto request = parseLawicelTransmit("t7E280221C30000000000");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->id, 0x7E2);
    EXPECT_EQ(request->length, 8);
    EXPECT_EQ(request->data[1], 0x21);
    EXPECT_EQ(request->data[2], 0xC3);
    for (const char* bad : {"t7E2", "t7E29", "t7E2800", "t80010", "T7E2100", "t7E2100G", "t7E21001"})
        EXPECT_FALSE(parseLawicelTransmit(bad)) << bad;
    EXPECT_TRUE(parseLawicelTransmit("t1230"));
}

TEST(ElmText, MonitorLineInEveryFormat)
{
    struct Case { const char* name; ElmFormat format; const char* expected; };
    const CanFrame single = frame(0, 0x7E8, {0x03, 0x41, 0x0D, 0x32, 0, 0, 0, 0});
    const Case cases[] = {
        {"raw with headers", {true, true, true, false, false}, "7E8 03 41 0D 32 00 00 00 00\r\n"},
        {"no spaces", {true, false, true, false, false}, "7E803410D3200000000\r\n"},
        {"no headers", {false, true, true, false, false}, "03 41 0D 32 00 00 00 00\r\n"},
        {"no line feed", {true, true, false, false, false}, "7E8 03 41 0D 32 00 00 00 00\r"},
        {"length shown", {true, true, true, true, false}, "7E8 8 03 41 0D 32 00 00 00 00\r\n"},
        {"auto formatting", {true, true, true, false, true}, "7E8 41 0D 32\r\n"},
    };
    for (const auto& c : cases) {
        std::string out;
        appendElmMonitorLine(out, single, c.format);
        EXPECT_EQ(out, c.expected) << c.name;
    }
    std::string out;
    appendElmMonitorLine(out, frame(0, 0x3CA, {0, 0, 0, 0, 0}), {true, true, true, false, false});
    EXPECT_EQ(out, "3CA 00 00 00 00 00\r\n");
}
