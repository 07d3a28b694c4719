// The simulated port as the acquisition loop uses it: device names, settings, replays.
#include "SimHost.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace vcm::sim;
using namespace vcm::sim::test;

TEST(SimulatedPort, DeviceNames)
{
    const std::pair<const char*, SimulatedCar> valid[] = {
        {"sim:elm327", {AdapterModel::Elm327, 1, ""}},
        {"sim:canusb", {AdapterModel::CanUsb, 1, ""}},
        {"sim:canusb:seed=77", {AdapterModel::CanUsb, 77, ""}},
        {"sim:elm327:replay=/tmp/a b.log", {AdapterModel::Elm327, 1, "/tmp/a b.log"}},
    };
    for (const auto& [device, want] : valid) {
        const auto car = parseSimulatedDevice(device);
        ASSERT_TRUE(car) << device;
        EXPECT_EQ(std::tie(car->adapter, car->seed, car->replayPath), std::tie(want.adapter, want.seed, want.replayPath))
            << device;
    }
    for (const char* bad : {"sim:elm327:seed=", "sim:elm327:seed=12x", "sim:elm327:speed=3", "sim:stn1110",
                            "/dev/ttyUSB0", "COM3"})
        EXPECT_FALSE(parseSimulatedDevice(bad)) << bad;
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

TEST(SimulatedPort, ReplaysACandumpLogThroughTheAdapter)
{
    vcm::test::TempFolder folder;
    const std::string path = folder.write("replay.log", "not a frame\n(1700000000.000000) can0 3CA#1200\n"
                                                        "(1700000000.010000) can0 0B4#1200\n");

    vcm::ManualClock clock;
    std::string error;
    auto port = SimulatedPort::create("sim:canusb:replay=" + path, clock, &error);
    ASSERT_NE(port, nullptr) << error;
    ASSERT_TRUE(port->open(3, "500000,N,8,1"));
    port->write("S6\rO\r");
    clock.advance(35);
    port->pump();
    // The first frame (time 0) went by before the channel opened; the log starts over
    // one mean gap (10 ms) after its end.
    EXPECT_EQ(port->readAll(), "\r\rt0B421200\rt3CA21200\rt0B421200\r");

    EXPECT_EQ(SimulatedPort::create("sim:canusb:replay=/no/such/file.log", clock, &error), nullptr);
    EXPECT_NE(error.find("/no/such/file.log"), std::string::npos);
}
