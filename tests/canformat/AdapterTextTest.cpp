// The adapters' frame lines as the simulated car and the exports write them, read back (the
// live formats over whole drives: the raw logs and replays of GoldenOutputTest).
#include "link/canformat/AdapterText.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vcm {
namespace {

// The lines the simulated adapters write in the modes the program sets, read back (a
// frame with no data: the edge the recorded drives do not reach).
TEST(AdapterText, EachAdaptersLineWrittenAndReadBack)
{
    const CanFrame empty{0x520, 0, {}};
    std::string elm, canusb;
    appendElmMonitorLine(elm, empty, {});
    appendLawicelFrame(canusb, empty, -1);
    EXPECT_EQ(std::tuple(elm, canusb), std::tuple("520\r\n", "t5200\r"));
    EXPECT_EQ(parseAdapterLine("520", AdapterForm::Elm327), empty);
    EXPECT_EQ(parseAdapterLine("t5200", AdapterForm::CanUsb), empty);
}

TEST(LawicelText, TransmitCommands)
{
    EXPECT_EQ(parseLawicelTransmit("t7E280221C30000000000"), (CanFrame{0x7E2, 8, {0x02, 0x21, 0xC3}}));
    EXPECT_EQ(parseLawicelTransmit("t1230"), (CanFrame{0x123, 0, {}}));
    // A transmit command carries no time stamp: a stamped line is not one.
    for (const char* bad : {"t7E2", "t7E29", "t7E2800", "t80010", "T7E2100", "t7E2100G", "t7E21001", "t7E21001A2B"})
        EXPECT_FALSE(parseLawicelTransmit(bad)) << bad;
}

} // namespace
} // namespace vcm
