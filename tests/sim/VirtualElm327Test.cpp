// The simulated ELM327 as a host meets it over the serial port, byte for byte (its
// replies to the program's start-up dialogue: also the golden record.elm327 raw log).
#include "SimHost.h"

#include <gtest/gtest.h>

using namespace vcm::sim;
using namespace vcm::sim::test;

TEST(VirtualElm327, MonitorsTheBusInHeaderLineFeedRawForm)
{
    // A frame during the set-up dialogue, never shown, and three after it is over.
    const std::vector<CanFrame> frames{frame(0, 0x100, {1}), frame(3000, 0x3CA, {0, 0, 0, 0, 0}),
                                       frame(3001, 0x0B4, {0x00, 0x00, 0x00, 0x00, 0x8D, 0x1F, 0x40, 0xB2}),
                                       frame(3002, 0x7E8, {0x03, 0x41, 0x0D, 0x32, 0, 0, 0, 0})};
    SimHost host(std::make_unique<VirtualElm327>(fixedBus(frames)));
    EXPECT_EQ(startAdapter(host, true), "ATZ\r\r\rELM327 v1.5\r\r>ATSP6\rOK\r\r>ATE0\rOK\r\r>OK\r\r>OK\r\n\r\n>OK\r\n\r\n>");
    host.port->write("ATMA\r"); // the host's sequence asks for no wait here
    EXPECT_EQ(host.runFor(3000), "3CA 00 00 00 00 00\r\n0B4 00 00 00 00 8D 1F 40 B2\r\n7E8 03 41 0D 32 00 00 00 00\r\n");
}

TEST(VirtualElm327, AnyCharacterStopsMonitoringAndIsDiscarded)
{
    SimHost host(makeVirtualAdapter({AdapterModel::Elm327, 1, ""}));
    startAdapter(host, true);
    host.port->write("ATMA\r");
    ASSERT_GT(host.runFor(200).size(), 3000u); // ~1500 frames a second
    host.port->write("X");
    const std::string after = host.runFor(100);
    const auto stopped = after.find("STOPPED\r\n\r\n>");
    ASSERT_NE(stopped, std::string::npos) << after.substr(0, 200);
    EXPECT_EQ(after.size(), stopped + 12) << "nothing may follow the prompt";
    EXPECT_TRUE(stopped == 0 || after.substr(stopped - 2, 2) == "\r\n") << "whole monitor lines before STOPPED";
    EXPECT_EQ(host.exchange("ATI\r", 100), "ELM327 v1.5\r\n\r\n>") << "the X was dropped, not taken as a command";

    // The dashboard's stop, two spaces and CR: the first space stops and is dropped, the
    // rest is an empty command, which repeats the last one (ATMA), as the datasheet says.
    host.exchange("ATMA\r", 100);
    EXPECT_NE(host.exchange("  \r", 100).find("STOPPED\r\n\r\n>"), std::string::npos);
    EXPECT_TRUE(dynamic_cast<VirtualElm327&>(host.port->adapter()).monitoring());
}

TEST(VirtualElm327, KeepsUpAt500000ButReportsBufferFullAt38400)
{
    for (const bool slow : {false, true}) {
        SCOPED_TRACE(slow ? "38400" : "500000");
        SimHost host(makeVirtualAdapter({AdapterModel::Elm327, 3, ""}), slow ? "38400,N,8,1" : "500000,N,8,1");
        startAdapter(host, true);
        host.port->write("ATMA\r");
        const std::string text = host.runFor(5000);
        const auto full = text.find("BUFFER FULL\r\n\r\n>");
        if (!slow) {
            EXPECT_EQ(full, std::string::npos);
            EXPECT_GT(text.size(), 100000u); // it streams all along
            continue;
        }
        ASSERT_NE(full, std::string::npos);
        EXPECT_EQ(text.size(), full + 16) << "monitoring stops after the report";
        EXPECT_EQ(text.substr(full - 2, 2), "\r\n") << "the buffer's whole lines before it";
        // The dashboard's recovery, ATMA again, streams again.
        const std::string again = host.exchange("ATMA\r", 20);
        EXPECT_NE(again.find("\r\n"), std::string::npos);
        EXPECT_EQ(again.find("BUFFER FULL"), std::string::npos);
    }
}
