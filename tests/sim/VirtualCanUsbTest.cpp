// The simulated CANUSB (Lawicel protocol) as a host meets it, byte for byte.
#include "SimHost.h"

#include "link/sim/DriveBus.h"

#include <gtest/gtest.h>

using namespace vcm::sim;
using namespace vcm::sim::test;

namespace {

std::unique_ptr<VirtualAdapter> canUsbOn(std::vector<CanFrame> frames)
{
    return std::make_unique<VirtualCanUsb>(fixedBus(std::move(frames)));
}

// The dashboard's start-up: four CRs, V, N, S6, Z0, X1, O.
std::string startCanUsb(SimHost& host)
{
    std::string all = host.exchange("\r\r\r\r", 5);
    for (const char* cmd : {"V", "N", "S6", "Z0", "X1", "O"}) all += host.exchange(std::string(cmd) + "\r", 5);
    return all;
}

} // namespace

TEST(VirtualCanUsb, StartUpRepliesByteForByte)
{
    SimHost host(canUsbOn({}));
    // Four empty commands are errors (BEL), then version, serial number and four CRs.
    EXPECT_EQ(startCanUsb(host), "\a\a\a\aV1011\rNA123\r\r\r\r\r");
    auto* canusb = dynamic_cast<VirtualCanUsb*>(&host.port->adapter());
    ASSERT_NE(canusb, nullptr);
    EXPECT_TRUE(canusb->channelOpen());
    EXPECT_EQ(host.exchange("C\r", 5), "\r");
    EXPECT_FALSE(canusb->channelOpen());
}

struct ReplyCase {
    const char* name;
    bool channelOpen;
    std::string command;
    std::string expected;
};

class CanUsbReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(CanUsbReply, SuccessIsCrAndFailureIsBel)
{
    const auto& c = GetParam();
    SimHost host(canUsbOn({}));
    if (c.channelOpen) startCanUsb(host);
    EXPECT_EQ(host.exchange(c.command, 5), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Commands, CanUsbReply, ::testing::Values(
    ReplyCase{"BitRateWhileClosed", false, "S6\r", "\r"},
    ReplyCase{"BitRateWhileOpen", true, "S6\r", "\a"},
    ReplyCase{"BitRateOutOfRange", false, "S9\r", "\a"},
    ReplyCase{"OpenWithoutBitRate", false, "O\r", "\a"},
    ReplyCase{"OpenTwice", true, "O\r", "\a"},
    ReplyCase{"CloseWhileClosed", false, "C\r", "\a"},
    ReplyCase{"TimeStampsOff", false, "Z0\r", "\r"},
    ReplyCase{"TimeStampsBadArgument", false, "Z2\r", "\a"},
    ReplyCase{"TransmitWhileClosed", false, "t7E280221C30000000000\r", "\a"},
    ReplyCase{"TransmitAcknowledged", true, "t1230\r", "z\r"},
    ReplyCase{"TransmitWrongLength", true, "t123211\r", "\a"},
    ReplyCase{"TransmitNotHex", true, "t12G10A\r", "\a"},
    ReplyCase{"StatusFlags", true, "F\r", "F00\r"},
    ReplyCase{"UnknownCommand", true, "Q\r", "\a"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(VirtualCanUsb, PassesBusFramesOnWithoutTimeStamps)
{
    SimHost host(canUsbOn({frame(100, 0x3CA, {0, 1, 2, 3, 4}), frame(101, 0x03B, {0x0F, 0xF5, 0x00, 0xD2})}));
    startCanUsb(host);
    EXPECT_EQ(host.runFor(200), "t3CA50001020304\rt03B40FF500D2\r");
}

TEST(VirtualCanUsb, TimeStampsAddMillisecondsWhenAsked)
{
    SimHost host(canUsbOn({frame(4660, 0x3CA, {0xAA})}));
    host.exchange("S6\r", 5);
    host.exchange("Z1\r", 5);
    host.exchange("O\r", 5);
    EXPECT_EQ(host.runFor(5000), "t3CA1AA1234\r"); // 4660 ms = 0x1234
}

TEST(VirtualCanUsb, FramesBeforeOpenOrAfterCloseAreNotPassedOn)
{
    SimHost host(canUsbOn({frame(10, 0x100, {1}), frame(500, 0x101, {2}), frame(900, 0x102, {3})}));
    host.runFor(100);
    startCanUsb(host);
    EXPECT_EQ(host.runFor(600), "t101102\r");
    host.exchange("C\r", 5);
    EXPECT_EQ(host.runFor(500), "");
}

TEST(VirtualCanUsb, EngineUnitAnswersTheC3RequestAndFlowControl)
{
    SimHost host(std::make_unique<VirtualCanUsb>(std::make_unique<DriveBus>(1)));
    startCanUsb(host);
    host.runFor(3000);
    host.port->readAll();

    auto onlyReplies = [](const std::string& text) {
        std::vector<std::string> lines;
        std::size_t at = 0;
        while ((at = text.find("t7EA", at)) != std::string::npos) {
            auto end = text.find('\r', at);
            lines.push_back(text.substr(at, end - at));
            at = end;
        }
        return lines;
    };
    // The dashboard's polling: request, then on the next tick the flow control.
    // The acknowledgement "z" + CR queues behind frame lines already on their way.
    auto ackAt = [](const std::string& text) {
        if (text.substr(0, 2) == "z\r") return std::size_t{0};
        auto at = text.find("\rz\r");
        return at == std::string::npos ? at : at + 1;
    };
    std::string first = host.exchange("t7E280221C30000000000\r", 100);
    ASSERT_NE(ackAt(first), std::string::npos);
    EXPECT_LT(ackAt(first), first.find("t7EA"));
    auto head = onlyReplies(first);
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0].substr(0, 13), "t7EA8102761C3") << head[0];
    EXPECT_EQ(head[0].size(), 21u);

    std::string rest = host.exchange("t7E283000000000000000\r", 100);
    ASSERT_NE(ackAt(rest), std::string::npos);
    EXPECT_LT(ackAt(rest), rest.find("t7EA"));
    auto body = onlyReplies(rest);
    ASSERT_EQ(body.size(), 5u);
    for (std::size_t k = 0; k < body.size(); ++k) {
        EXPECT_EQ(body[k].substr(0, 5), "t7EA8");
        EXPECT_EQ(body[k].substr(5, 2), std::string("2") + char('1' + k)) << body[k];
        EXPECT_EQ(body[k].size(), 21u);
    }
    // No second body without a new request.
    EXPECT_TRUE(onlyReplies(host.exchange("t7E283000000000000000\r", 100)).empty());
}

TEST(VirtualCanUsb, C4RecordHasTwoConsecutiveFrames)
{
    SimHost host(canUsbOn({}));
    startCanUsb(host);
    std::string first = host.exchange("t7E280221C40000000000\r", 50);
    EXPECT_NE(first.find("t7EA8101161C4"), std::string::npos) << first;
    std::string rest = host.exchange("t7E283000000000000000\r", 50);
    EXPECT_NE(rest.find("t7EA821"), std::string::npos);
    EXPECT_NE(rest.find("t7EA822"), std::string::npos);
    EXPECT_EQ(rest.find("t7EA823"), std::string::npos);
}

TEST(VirtualCanUsb, AutoPollOffQueuesFramesForPolling)
{
    SimHost host(canUsbOn({frame(100, 0x201, {1}), frame(101, 0x202, {2})}));
    host.exchange("S6\r", 5);
    host.exchange("X0\r", 5);
    host.exchange("O\r", 5);
    EXPECT_EQ(host.runFor(200), "");
    EXPECT_EQ(host.exchange("P\r", 5), "t201101\r");
    EXPECT_EQ(host.exchange("A\r", 5), "t202102\rA\r");
    EXPECT_EQ(host.exchange("P\r", 5), "\r");
}
