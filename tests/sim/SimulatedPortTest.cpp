// The simulated port as the acquisition loop uses it: device names, settings, the
// receive notification, a closed or unplugged port.
#include "SimHost.h"

#include "link/canformat/CandumpLog.h"
#include "link/sim/DriveBus.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

using namespace vcm::sim;
using namespace vcm::sim::test;

TEST(SimulatedPort, DeviceNames)
{
    struct Case { const char* device; bool ok; AdapterModel adapter; std::uint64_t seed; const char* replay; };
    const Case cases[] = {
        {"sim:elm327", true, AdapterModel::Elm327, 1, ""},
        {"sim:canusb", true, AdapterModel::CanUsb, 1, ""},
        {"sim:canusb:seed=77", true, AdapterModel::CanUsb, 77, ""},
        {"sim:elm327:replay=/tmp/a b.log", true, AdapterModel::Elm327, 1, "/tmp/a b.log"},
        {"sim:elm327:seed=", false, {}, 0, ""},
        {"sim:elm327:seed=12x", false, {}, 0, ""},
        {"sim:elm327:speed=3", false, {}, 0, ""},
        {"sim:stn1110", false, {}, 0, ""},
        {"/dev/ttyUSB0", false, {}, 0, ""},
        {"COM3", false, {}, 0, ""},
    };
    for (const auto& c : cases) {
        auto car = parseSimulatedDevice(c.device);
        ASSERT_EQ(car.has_value(), c.ok) << c.device;
        if (!car) continue;
        EXPECT_EQ(car->adapter, c.adapter) << c.device;
        EXPECT_EQ(car->seed, c.seed) << c.device;
        EXPECT_EQ(car->replayPath, c.replay) << c.device;
    }
}

TEST(SimulatedPort, OpensOnlyWithAValidSettingsText)
{
    vcm::ManualClock clock;
    SimulatedPort port(clock, std::make_unique<VirtualElm327>(fixedBus({})));
    for (const char* bad : {"", "fast,N,8,1", "500000,E,7,2", "10,N,8,1", "500000,N,8,1x"}) {
        EXPECT_FALSE(port.open(1, bad)) << bad;
        EXPECT_FALSE(port.isOpen());
        EXPECT_NE(port.errorText(), "");
    }
    EXPECT_TRUE(port.open(1, "38400,N,8,1"));
    EXPECT_EQ(port.deviceName(), "simulated ELM327");
    EXPECT_EQ(port.errorText(), "");
}

TEST(SimulatedPort, NotifiesOnlyWhenTextWaits)
{
    SimHost host(std::make_unique<VirtualElm327>(fixedBus({})));
    host.runFor(50);
    EXPECT_EQ(host.listener.receives, 0) << "a silent adapter raises no receive event";
    host.port->write("ATI\r");
    host.clock.advance(1);
    host.port->pump();
    EXPECT_EQ(host.listener.receives, 1);
    EXPECT_EQ(host.port->readAll(), "ATI\rELM327 v1.5\r\r>");
    host.port->pump();
    EXPECT_EQ(host.listener.receives, 1);
}

TEST(SimulatedPort, TextTakesItsTimeOnTheWire)
{
    // 17 characters at 38400 bit/s take 4.4 ms; at 500000 bit/s 0.34 ms.
    SimHost slow(std::make_unique<VirtualElm327>(fixedBus({})), "38400,N,8,1");
    slow.port->write("ATI\r");
    slow.clock.advance(2);
    slow.port->pump();
    std::string part = slow.port->readAll();
    EXPECT_GT(part.size(), 3u);
    EXPECT_LT(part.size(), 17u);
    slow.clock.advance(3);
    slow.port->pump();
    EXPECT_EQ(part + slow.port->readAll(), "ATI\rELM327 v1.5\r\r>");
}

TEST(SimulatedPort, ClosedPortHearsNothingAndWritesNothing)
{
    SimHost host(std::make_unique<VirtualElm327>(fixedBus({})));
    host.port->close();
    host.port->write("ATI\r");
    EXPECT_EQ(host.runFor(20), "");
    EXPECT_EQ(host.listener.receives, 0);
    ASSERT_TRUE(host.port->open(1, "500000,N,8,1"));
    EXPECT_EQ(host.exchange("ATI\r", 20), "ATI\rELM327 v1.5\r\r>") << "the earlier write never reached the adapter";
}

TEST(SimulatedPort, UnpluggedDeviceIsReportedAndCannotBeOpenedUntilBack)
{
    SimHost host(std::make_unique<VirtualCanUsb>(fixedBus({})));
    host.port->unplug();
    EXPECT_FALSE(host.port->isOpen());
    ASSERT_EQ(host.listener.errors.size(), 1u);
    EXPECT_EQ(host.listener.errors[0], vcm::PortError::DeviceLost);
    EXPECT_FALSE(host.port->open(1, "500000,N,8,1"));
    host.port->plugIn();
    EXPECT_TRUE(host.port->open(1, "500000,N,8,1"));
    EXPECT_EQ(host.exchange("V\r", 5), "V1011\r");
}

TEST(SimulatedPort, ReplaysACandumpLogThroughTheAdapter)
{
    std::string log;
    CanFrame f;
    f.id = 0x3CA;
    f.length = 2;
    f.data[0] = 0x12;
    vcm::appendCandumpLine(log, 1700000000000000, "can0", f);
    f.id = 0x0B4;
    vcm::appendCandumpLine(log, 1700000000010000, "can0", f);
    std::string path = ::testing::TempDir() + "replay_test.log";
    std::ofstream(path) << "not a frame\n" << log;

    vcm::ManualClock clock;
    std::string error;
    auto port = SimulatedPort::create("sim:canusb:replay=" + path, clock, &error);
    ASSERT_NE(port, nullptr) << error;
    ASSERT_TRUE(port->open(3, "500000,N,8,1"));
    for (const char* cmd : {"S6\r", "O\r"}) port->write(cmd);
    clock.advance(35);
    port->pump();
    // The first frame (time 0) went by before the channel opened; the log starts over
    // one mean gap (10 ms) after its end.
    EXPECT_EQ(port->readAll(), "\r\rt0B421200\rt3CA21200\rt0B421200\r");

    EXPECT_EQ(SimulatedPort::create("sim:canusb:replay=/no/such/file.log", clock, &error), nullptr);
    EXPECT_NE(error.find("/no/such/file.log"), std::string::npos);
    std::remove(path.c_str());
}

TEST(SimulatedPort, HostThatStopsReadingLosesTextAndHearsOfIt)
{
    SimHost host(std::make_unique<VirtualCanUsb>(std::make_unique<DriveBus>(1)));
    host.exchange("S6\r", 5);
    host.exchange("O\r", 5);
    // About 30 kB a second: a minute unread overflows the 1 MiB receive buffer.
    for (int s = 0; s < 60; ++s) {
        host.clock.advance(1000);
        host.port->pump();
    }
    EXPECT_EQ(host.port->bytesWaiting(), SimulatedPort::kReceiveBuffer);
    ASSERT_FALSE(host.listener.errors.empty());
    EXPECT_EQ(host.listener.errors.back(), vcm::PortError::RxOverflow);
    // Once read, the text flows again.
    host.port->readAll();
    host.clock.advance(10);
    host.port->pump();
    EXPECT_GT(host.port->readAll().size(), 100u);
}

TEST(SimulatedPort, OverlongCommandsAreRefusedWithoutHarm)
{
    struct Case { bool elm; std::string reply; };
    for (const Case& c : {Case{true, "?\r\r>"}, Case{false, "\a"}}) {
        std::unique_ptr<VirtualAdapter> adapter;
        if (c.elm) adapter = std::make_unique<VirtualElm327>(fixedBus({}));
        else adapter = std::make_unique<VirtualCanUsb>(fixedBus({}));
        SimHost host(std::move(adapter));
        if (c.elm) host.exchange("ATE0\r", 20);
        EXPECT_EQ(host.exchange(std::string(100000, 'A') + "\r", 20), c.reply);
        EXPECT_EQ(host.exchange(c.elm ? "ATI\r" : "V\r", 20), c.elm ? "ELM327 v1.5\r\r>" : "V1011\r");
    }
}
