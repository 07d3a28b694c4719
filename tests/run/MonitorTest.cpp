// A whole session in memory when the adapter or the GPS receiver goes away. (Frames to
// rows: SessionFilesTest; over Qt's ports: QtSessionTest.)
#include "MonitorRig.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

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
}

} // namespace
} // namespace vcm::test
