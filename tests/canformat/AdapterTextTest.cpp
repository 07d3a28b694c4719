#include "link/canformat/AdapterText.h"

#include <gtest/gtest.h>

#include <vector>

namespace vcm {
namespace {

CanFrame frame(std::uint16_t id, std::vector<std::uint8_t> bytes)
{
    CanFrame f;
    f.id = id;
    f.length = static_cast<std::uint8_t>(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        f.data[i] = bytes[i];
    return f;
}

TEST(AdapterText, WritesEachAdaptersFrameLine)
{
    struct Case {
        CanFrame f;
        const char* elm;
        const char* canusb;
    };
    const std::vector<Case> cases = {
        {frame(0x3CA, {0x00, 0xA1, 0x00, 0x00, 0x7F}), "3CA 00 A1 00 00 7F\r\n", "t3CA500A100007F\r"},
        {frame(0x025, {0x0F, 0xFE, 0x00, 0x10}), "025 0F FE 00 10\r\n", "t02540FFE0010\r"},
        {frame(0x7EA, {0x10, 0x27, 0x61, 0xC3, 1, 2, 3, 4}), "7EA 10 27 61 C3 01 02 03 04\r\n", "t7EA8102761C301020304\r"},
        {frame(0x520, {}), "520\r\n", "t5200\r"},
    };
    for (const auto& c : cases) {
        std::string elm, canusb;
        appendAdapterLine(elm, c.f, AdapterForm::Elm327);
        appendAdapterLine(canusb, c.f, AdapterForm::CanUsb);
        EXPECT_EQ(elm, c.elm);
        EXPECT_EQ(canusb, c.canusb);
        // and read back as the same frame (without the line end)
        EXPECT_EQ(parseAdapterLine(elm.substr(0, elm.size() - 2), AdapterForm::Elm327), c.f);
        EXPECT_EQ(parseAdapterLine(canusb.substr(0, canusb.size() - 1), AdapterForm::CanUsb), c.f);
    }
}

TEST(ElmText, MonitorLineInEveryFormat)
{
    struct Case {
        const char* name;
        ElmFormat format;
        const char* expected;
    };
    const CanFrame single = frame(0x7E8, {0x03, 0x41, 0x0D, 0x32, 0, 0, 0, 0});
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
}

TEST(LawicelText, StampedFrameLinesAndTransmitCommands)
{
    std::string out;
    appendLawicelFrame(out, frame(0x7EA, {0x10, 0x27, 0x61, 0xC3, 0x0C, 0x00, 0xFF, 0x03}), 0xEA5F);
    appendLawicelFrame(out, frame(0x3CA, {}), 0x0012);
    EXPECT_EQ(out, "t7EA8102761C30C00FF03EA5F\rt3CA00012\r");

    EXPECT_EQ(parseLawicelTransmit("t7E280221C30000000000"), frame(0x7E2, {0x02, 0x21, 0xC3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(parseLawicelTransmit("t1230"), frame(0x123, {}));
    // A transmit command carries no time stamp: a stamped line is not one.
    for (const char* bad : {"t7E2", "t7E29", "t7E2800", "t80010", "T7E2100", "t7E2100G", "t7E21001", "t7E21001A2B"})
        EXPECT_FALSE(parseLawicelTransmit(bad)) << bad;
}

} // namespace
} // namespace vcm
