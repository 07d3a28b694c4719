// The simulated CANUSB (Lawicel protocol) as a host meets it, byte for byte.
#include "SimHost.h"

#include "sources/sim/DriveBus.h"

#include <gtest/gtest.h>

using namespace vcm::sim;
using namespace vcm::sim::test;

namespace {

std::unique_ptr<VirtualAdapter> canUsbOn(std::vector<CanFrame> frames)
{
    return std::make_unique<VirtualCanUsb>(fixedBus(std::move(frames)));
}

// Sends each command in turn and returns all the replies.
std::string send(SimHost& host, std::initializer_list<const char*> commands)
{
    std::string all;
    for (const char* cmd : commands)
        all += host.exchange(std::string(cmd) + "\r", 5);
    return all;
}

} // namespace

TEST(VirtualCanUsb, SuccessIsCrAndFailureIsBel)
{
    const struct {
        const char* name;
        bool channelOpen;
        std::string command, expected;
    } cases[] = {
        {"bit rate while closed", false, "S6\r", "\r"},
        {"bit rate while open", true, "S6\r", "\a"},
        {"bit rate out of range", false, "S9\r", "\a"},
        {"open without bit rate", false, "O\r", "\a"},
        {"open twice", true, "O\r", "\a"},
        {"close while closed", false, "C\r", "\a"},
        {"time stamps off", false, "Z0\r", "\r"},
        {"time stamps bad argument", false, "Z2\r", "\a"},
        {"transmit while closed", false, "t7E280221C30000000000\r", "\a"},
        {"transmit acknowledged", true, "t1230\r", "z\r"},
        {"transmit wrong length", true, "t123211\r", "\a"},
        {"transmit not hex", true, "t12G10A\r", "\a"},
        {"status flags", true, "F\r", "F00\r"},
        {"close while open", true, "C\r", "\r"},
        {"unknown command", true, "Q\r", "\a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimHost host(canUsbOn({}));
        // Four empty commands are errors (BEL), then version, serial number and four CRs.
        if (c.channelOpen) {
            EXPECT_EQ(startAdapter(host, false), "\a\a\a\aV1011\rNA123\r\r\r\r\r");
        }
        EXPECT_EQ(host.exchange(c.command, 5), c.expected);
    }
}

TEST(VirtualCanUsb, PassesFramesOnOnlyWhileOpenAndTimeStampsThemWhenAsked)
{
    SimHost host(canUsbOn({frame(10, 0x100, {1}), frame(500, 0x3CA, {0, 1, 2, 3, 4}), frame(900, 0x102, {3})}));
    host.runFor(100);
    startAdapter(host, false);
    EXPECT_EQ(host.runFor(600), "t3CA50001020304\r");
    host.exchange("C\r", 5);
    EXPECT_EQ(host.runFor(500), "");

    SimHost stamped(canUsbOn({frame(4660, 0x3CA, {0xAA})}));
    send(stamped, {"S6", "Z1", "O"});
    EXPECT_EQ(stamped.runFor(5000), "t3CA1AA1234\r"); // 4660 ms = 0x1234
}

TEST(VirtualCanUsb, EngineUnitAnswersC3AndC4RequestsAfterTheAcknowledgement)
{
    SimHost host(std::make_unique<VirtualCanUsb>(std::make_unique<DriveBus>(1)));
    startAdapter(host, false);
    host.runFor(3000);
    host.port->readAll();

    // The engine unit's reply lines; the acknowledgement "z" + CR queues behind frame
    // lines already on their way, but comes before the first reply line.
    auto replies = [](const std::string& text) {
        std::vector<std::string> lines;
        for (std::size_t at = 0; (at = text.find("t7EA", at)) != std::string::npos;) {
            const auto end = text.find('\r', at);
            lines.push_back(text.substr(at, end - at));
            at = end;
        }
        const auto ack = text.rfind("z\r", 0) == 0 ? 0 : text.find("\rz\r");
        EXPECT_LT(ack, text.find("t7EA")) << "acknowledged before the reply";
        return lines;
    };
    // The dashboard's polling: request, then on the next tick the flow control.
    const auto head = replies(host.exchange("t7E280221C30000000000\r", 100));
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0].substr(0, 13), "t7EA8102761C3") << head[0];
    EXPECT_EQ(head[0].size(), 21u);
    const auto body = replies(host.exchange("t7E283000000000000000\r", 100));
    ASSERT_EQ(body.size(), 5u);
    for (std::size_t k = 0; k < body.size(); ++k) {
        EXPECT_EQ(body[k].substr(0, 7), "t7EA82" + std::string(1, char('1' + k))) << body[k];
        EXPECT_EQ(body[k].size(), 21u);
    }
    EXPECT_EQ(host.exchange("t7E283000000000000000\r", 100).find("t7EA"), std::string::npos)
        << "no second body without a new request";

    // Record C4: a first frame and two consecutive frames.
    EXPECT_EQ(replies(host.exchange("t7E280221C40000000000\r", 100)).at(0).substr(0, 13), "t7EA8101161C4");
    const auto c4 = replies(host.exchange("t7E283000000000000000\r", 100));
    ASSERT_EQ(c4.size(), 2u);
    EXPECT_EQ(c4[1].substr(0, 7), "t7EA822");
}

TEST(VirtualCanUsb, AutoPollOffQueuesFramesForPolling)
{
    SimHost host(canUsbOn({frame(100, 0x201, {1}), frame(101, 0x202, {2})}));
    send(host, {"S6", "X0", "O"});
    EXPECT_EQ(host.runFor(200), "");
    EXPECT_EQ(host.exchange("P\r", 5), "t201101\r");
    EXPECT_EQ(host.exchange("A\r", 5), "t202102\rA\r");
    EXPECT_EQ(host.exchange("P\r", 5), "\r");
}
