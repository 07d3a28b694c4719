// A whole session in memory: the adapter's real text in, what the window shows out, and
// what happens when the adapter or the GPS receiver goes away.
#include "MonitorRig.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

TEST(Monitor, FramesFromTheAdapterReachTheWindowHoweverReadsCutThem)
{
    const struct {
        const char* name;
        bool elm327;
        std::vector<std::string> chunks; // as serial reads deliver them
    } cases[] = { // (reads cut anywhere: LineSplitting; every chunk reaches the decoder: ReceivePath)
        {"ELM327", true, {"0B4 00 00 00 00 00 13 88\r\n3C8 00 00 30 00 00\r", "\n03B 0F F5 00 D2\r\n"}},
        {"CANUSB with acks", false, {"t0B4700000000001388\rz\r\r", "t3C85000030000", "0\rt03B40FF500D2\r"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MonitorRig rig(c.elm327);
        rig.monitor.onCommandClick(0);
        ASSERT_TRUE(rig.monitor.isRunning());
        for (const auto& chunk : c.chunks)
            rig.adapterPort.receive(chunk);
        rig.tick();
        const auto& v = rig.vehicle();
        EXPECT_DOUBLE_EQ(v.SpeedKmh, 50.0);    // 0B4 bytes 6-7 = 0x1388
        EXPECT_DOUBLE_EQ(v.EngineRpm, 1536.0); // 3C8 byte 3 = 0x30
        EXPECT_EQ(v.BatteryCurrent, 11);       // 03B 0F F5: 1.1 A
        EXPECT_EQ(v.BatteryVoltage, 210);
        EXPECT_EQ(rig.shown().speed.value, "50");
    }
}

TEST(Monitor, LostAdapterStopsCleanlyIsNoLongerPolledAndStartsAgainWhenBack)
{
    MonitorRig rig(false);
    rig.settings.Logfile = false;
    rig.monitor.startAcquisition();
    rig.tick(); // opens the log set
    ASSERT_TRUE(rig.monitor.logs().isOpen());
    rig.adapterPort.written.clear();

    rig.adapterPort.raise(PortError::DeviceLost);
    rig.ticks(5);

    EXPECT_FALSE(rig.monitor.isRunning());
    EXPECT_EQ(rig.shown().run.value, RunState::Lost);
    EXPECT_TRUE(rig.shown().adapterError.value);
    EXPECT_FALSE(rig.adapterPort.isOpen());
    EXPECT_FALSE(rig.monitor.logs().isOpen()) << "the log set is closed even with Logfile off";
    EXPECT_EQ(rig.adapterPort.written, "") << "nothing is sent or polled on a device that is gone";

    rig.monitor.onCommandClick(0);
    EXPECT_TRUE(rig.monitor.isRunning());
    EXPECT_FALSE(rig.shown().adapterError.value);
    EXPECT_EQ(rig.adapterPort.written, "\r\r\r\rV\rN\rS6\rZ0\rX1\rO\r");
}

TEST(Monitor, LostGpsReceiverIsReportedAndAcquisitionGoesOn)
{
    MonitorRig rig(true);
    rig.settings.EnableGPS = true;
    rig.settings.PortNumGPS = 6;
    rig.monitor.startAcquisition();
    ASSERT_TRUE(rig.gpsPort.isOpen());

    rig.gpsPort.raise(PortError::DeviceLost);

    EXPECT_FALSE(rig.gpsPort.isOpen());
    ASSERT_EQ(rig.notices.told.size(), 1u);
    EXPECT_NE(rig.notices.told[0].text.find("GPS COM [6]"), std::string::npos);
    EXPECT_TRUE(rig.monitor.isRunning());
    rig.monitor.onGpsTimer(); // a closed receiver reads as no text
    EXPECT_TRUE(rig.monitor.isRunning());
}

} // namespace
} // namespace vcm::test
