// The simulated ELM327 as a host meets it over the serial port, byte for byte.
#include "SimHost.h"

#include "link/sim/DriveBus.h"

#include <gtest/gtest.h>

using namespace vcm::sim;
using namespace vcm::sim::test;

namespace {

std::unique_ptr<VirtualAdapter> elmOnDrive(std::uint64_t seed = 1)
{
    return std::make_unique<VirtualElm327>(std::make_unique<DriveBus>(seed));
}

// Frames far enough in the future that the set-up dialogue is over when they come.
std::unique_ptr<VirtualAdapter> elmOnFrames(std::vector<CanFrame> frames)
{
    return std::make_unique<VirtualElm327>(fixedBus(std::move(frames)));
}

std::string startupSequence(SimHost& host)
{
    std::string all;
    for (const char* cmd : {"ATZ", "ATSP6", "ATE0", "ATH1", "ATL1", "ATCAF0"})
        all += host.exchange(std::string(cmd) + "\r", 1000);
    return all;
}

} // namespace

TEST(VirtualElm327, ResetPrintsBannerAfterItsStartUpTime)
{
    SimHost host(elmOnDrive());
    host.port->write("ATZ\r");
    // The echo comes at once, the banner only after the reset time.
    EXPECT_EQ(host.runFor(100), "ATZ\r");
    EXPECT_EQ(host.runFor(VirtualElm327::kResetMs), "\r\rELM327 v1.5\r\r>");
}

struct DialogueCase {
    const char* name;
    std::vector<std::string> setup; // commands sent first, replies ignored
    std::string command;
    std::string expected;
};

class ElmDialogue : public ::testing::TestWithParam<DialogueCase> {};

TEST_P(ElmDialogue, RepliesByteForByte)
{
    const auto& c = GetParam();
    SimHost host(elmOnDrive());
    for (const auto& s : c.setup) host.exchange(s + "\r", 1000);
    EXPECT_EQ(host.exchange(c.command, 200), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Commands, ElmDialogue, ::testing::Values(
    DialogueCase{"EchoOnOk", {}, "ATSP6\r", "ATSP6\rOK\r\r>"},
    DialogueCase{"EchoOff", {}, "ATE0\r", "ATE0\rOK\r\r>"},
    DialogueCase{"NoEchoAfterE0", {"ATE0"}, "ATH1\r", "OK\r\r>"},
    DialogueCase{"LineFeeds", {"ATE0"}, "ATL1\r", "OK\r\n\r\n>"},
    DialogueCase{"EchoWithLineFeeds", {"ATL1"}, "ATH1\r", "ATH1\r\nOK\r\n\r\n>"},
    DialogueCase{"UnknownCommand", {"ATE0"}, "ATXYZ\r", "?\r\r>"},
    DialogueCase{"NotACommandAtAll", {"ATE0"}, "HELLO\r", "?\r\r>"},
    DialogueCase{"CaseAndSpacesIgnored", {"ATE0"}, "at sp 6\r", "OK\r\r>"},
    DialogueCase{"Identify", {"ATE0"}, "ATI\r", "ELM327 v1.5\r\r>"},
    DialogueCase{"DescribeProtocol", {"ATE0", "ATSP6"}, "ATDP\r", "ISO 15765-4 (CAN 11/500)\r\r>"},
    DialogueCase{"AutomaticFormattingOff", {"ATE0"}, "ATCAF0\r", "OK\r\r>"},
    DialogueCase{"BadProtocolNumber", {"ATE0"}, "ATSPX\r", "?\r\r>"},
    DialogueCase{"LoneCrRepeatsLastCommand", {"ATE0", "ATI"}, "\r", "ELM327 v1.5\r\r>"},
    DialogueCase{"ObdRequestGetsNoData", {"ATE0", "ATSP6"}, "0100\r", "NO DATA\r\r>"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(VirtualElm327, MonitorsTheBusInHeaderLineFeedRawForm)
{
    SimHost host(elmOnFrames({frame(8000, 0x3CA, {0, 0, 0, 0, 0}),
                              frame(8001, 0x0B4, {0x00, 0x00, 0x00, 0x00, 0x8D, 0x1F, 0x40, 0xB2}),
                              frame(8002, 0x7E8, {0x03, 0x41, 0x0D, 0x32, 0, 0, 0, 0})}));
    std::string setup = startupSequence(host);
    EXPECT_EQ(setup, "ATZ\r\r\rELM327 v1.5\r\r>"
                     "ATSP6\rOK\r\r>"
                     "ATE0\rOK\r\r>"
                     "OK\r\r>"
                     "OK\r\n\r\n>"
                     "OK\r\n\r\n>");
    host.port->write("ATMA\r"); // the host's sequence asks for no wait here
    std::string lines = host.runFor(3000);
    EXPECT_EQ(lines, "3CA 00 00 00 00 00\r\n"
                     "0B4 00 00 00 00 8D 1F 40 B2\r\n"
                     "7E8 03 41 0D 32 00 00 00 00\r\n");
}

TEST(VirtualElm327, DefaultFormattingHidesHeadersAndTheLengthByte)
{
    SimHost host(elmOnFrames({frame(3000, 0x7E8, {0x03, 0x41, 0x0D, 0x32, 0, 0, 0, 0})}));
    host.exchange("ATE0\r", 1000);
    host.port->write("ATMA\r");
    EXPECT_EQ(host.runFor(2500), "41 0D 32\r");
}

TEST(VirtualElm327, AnyCharacterStopsMonitoringAndIsDiscarded)
{
    SimHost host(elmOnDrive());
    startupSequence(host);
    host.port->write("ATMA\r");
    std::string streamed = host.runFor(200);
    ASSERT_GT(streamed.size(), 3000u); // ~1500 frames a second
    // The two spaces and CR of a stop: the first space stops and is dropped, the rest
    // is an empty command, which repeats the last one, as the datasheet says.
    host.port->write("X");
    std::string after = host.runFor(100);
    auto stopped = after.find("STOPPED\r\n\r\n>");
    ASSERT_NE(stopped, std::string::npos) << after.substr(0, 200);
    EXPECT_EQ(after.size(), stopped + 12) << "nothing may follow the prompt";
    // Whatever came before STOPPED is whole monitor lines.
    EXPECT_TRUE(stopped == 0 || after.substr(stopped - 2, 2) == "\r\n");
    auto* elm = dynamic_cast<VirtualElm327*>(&host.port->adapter());
    ASSERT_NE(elm, nullptr);
    EXPECT_FALSE(elm->monitoring());
    EXPECT_EQ(host.exchange("ATI\r", 100), "ELM327 v1.5\r\n\r\n>");
}

TEST(VirtualElm327, StopWithTwoSpacesRestartsMonitoringThroughTheRepeat)
{
    SimHost host(elmOnDrive());
    startupSequence(host);
    host.exchange("ATMA\r", 100);
    std::string after = host.exchange("  \r", 100);
    EXPECT_NE(after.find("STOPPED\r\n\r\n>"), std::string::npos);
    auto* elm = dynamic_cast<VirtualElm327*>(&host.port->adapter());
    EXPECT_TRUE(elm->monitoring()) << "the lone CR after the space repeats ATMA";
}

TEST(VirtualElm327, KeepsUpAt500000ButReportsBufferFullAt38400)
{
    struct Case { const char* settings; bool full; };
    for (const Case c : {Case{"500000,N,8,1", false}, Case{"38400,N,8,1", true}}) {
        SCOPED_TRACE(c.settings);
        SimHost host(elmOnDrive(3), c.settings);
        startupSequence(host);
        host.port->write("ATMA\r");
        std::string text = host.runFor(5000);
        auto full = text.find("BUFFER FULL\r\n\r\n>");
        auto* elm = dynamic_cast<VirtualElm327*>(&host.port->adapter());
        if (c.full) {
            ASSERT_NE(full, std::string::npos);
            EXPECT_EQ(text.size(), full + 16) << "monitoring stops after the report";
            EXPECT_FALSE(elm->monitoring());
            // Everything before it is the buffer's whole lines.
            EXPECT_EQ(text.substr(full - 2, 2), "\r\n");
            // The dashboard's recovery, ATMA again, streams again.
            std::string again = host.exchange("ATMA\r", 20);
            EXPECT_NE(again.find("\r\n"), std::string::npos);
            EXPECT_EQ(again.find("BUFFER FULL"), std::string::npos);
        } else {
            EXPECT_EQ(full, std::string::npos);
            EXPECT_TRUE(elm->monitoring());
            // Five seconds of a ~1500 frame/s bus.
            std::size_t lines = 0;
            for (char ch : text) lines += ch == '\n';
            EXPECT_GT(lines, 7000u);
            EXPECT_LT(lines, 8000u);
        }
    }
}
