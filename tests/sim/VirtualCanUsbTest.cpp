// The simulated CANUSB (Lawicel protocol) as a host meets it, byte for byte.
#include "SimHost.h"

#include <gtest/gtest.h>

using namespace vcm::sim;
using namespace vcm::sim::test;

TEST(VirtualCanUsb, SuccessIsCrAndFailureIsBel)
{
    const struct {
        const char* name;
        bool channelOpen;
        std::string command, expected;
    } cases[] = {
        {"bit rate while open", true, "S6\r", "\a"},
        {"open twice", true, "O\r", "\a"},
        {"close while closed", false, "C\r", "\a"},
        {"transmit while closed", false, "t7E280221C30000000000\r", "\a"},
        {"transmit acknowledged", true, "t1230\r", "z\r"},
        {"close while open", true, "C\r", "\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimHost host(std::make_unique<VirtualCanUsb>(fixedBus({})));
        // Four empty commands are errors (BEL), then version, serial number and the CRs
        // of S6, Z0, X1 and O.
        if (c.channelOpen) {
            EXPECT_EQ(startAdapter(host, false), "\a\a\a\aV1011\rNA123\r\r\r\r\r");
        }
        EXPECT_EQ(host.exchange(c.command, 5), c.expected);
    }
}

TEST(VirtualCanUsb, PassesFramesOnOnlyWhileOpen)
{
    // On the bus at 0, 490 and 890 ms.
    SimHost host(std::make_unique<VirtualCanUsb>(
        fixedBus({frame(10, 0x100, {1}), frame(500, 0x3CA, {0, 1, 2, 3, 4}), frame(900, 0x102, {3})})));
    host.runFor(100);
    startAdapter(host, false);
    EXPECT_EQ(host.runFor(600), "t3CA50001020304\r");
    host.exchange("C\r", 5);
    EXPECT_EQ(host.runFor(500), "");
}
