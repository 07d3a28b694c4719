// The 100 ms tick over a whole session: polling, watchdog, shares, panels, and recovery
// when the adapter or the GPS receiver goes away. (Frames to rows: SessionFilesTest; over
// Qt's ports: QtSessionTest.)
#include "MonitorRig.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vcm::test {
namespace {

const char* const kSpeedFrame = "0B4 00 00 00 00 13 88 5C\r\n";

TEST(MainTick, StoppedSessionRefreshesTheWindowAndSendsNothing)
{
    for (bool elm : {true, false}) {
        MonitorRig rig(elm);
        EXPECT_EQ(rig.shown().run.value, RunState::Stopped) << "the window opens stopped";
        rig.vehicle().SpeedDisplay = 50;
        rig.vehicle().EngineRpm = 1500;
        rig.vehicle().Injector = 300;
        rig.clock.setNow(DateTime::fromCivil({2026, 12, 4, 17, 42, 0}));
        rig.tick(20);
        EXPECT_EQ(rig.adapterPort.written, "");
        EXPECT_EQ(rig.shown().clock.value + " " + rig.shown().speed.value, "17:42 50") << "panels run while stopped";
        EXPECT_EQ(rig.shown().shares[0].revision, 0u) << "no shares while the port is closed";
    }
}

TEST(MainTick, SilentElm327GetsAtmaOnEveryTickAfterFiveSeconds)
{
    MonitorRig rig(true);
    rig.monitor.startAcquisition();
    rig.adapterPort.writes.clear();
    rig.adapterPort.receive(kSpeedFrame); // a frame at the start, then silence
    rig.tick(50);                         // 5 s: not yet more than five whole seconds
    EXPECT_TRUE(rig.adapterPort.writes.empty());
    EXPECT_NE(rig.shown().lamp.value, Lamp::Silent);

    rig.tick(20);
    const std::size_t sent = rig.adapterPort.writes.size();
    EXPECT_EQ(rig.adapterPort.writes, std::vector<std::string>(sent, "ATMA\r"));
    EXPECT_TRUE(sent >= 9u && sent <= 11u) << sent;
    EXPECT_EQ(rig.shown().lamp.value, Lamp::Silent);

    rig.adapterPort.writes.clear(); // frames again: the watchdog rests
    rig.adapterPort.receive(kSpeedFrame);
    rig.tick(10);
    EXPECT_TRUE(rig.adapterPort.writes.empty());
}

// Record C3 is polled one frame a tick, after the dialogue; a silent CANUSB turns the lamp
// blue but gets no ELM327 commands.
TEST(MainTick, CanUsbPollsRecordC3OneFramePerTickAndSilenceTurnsTheLampBlue)
{
    MonitorRig rig(false);
    rig.monitor.startAcquisition();
    ASSERT_EQ(rig.adapterPort.written, "\r\r\r\rV\rN\rS6\rZ0\rX1\rO\r") << "no polling inside the dialogue";
    rig.adapterPort.writes.clear();
    rig.adapterPort.script = nullptr; // not even acknowledgements
    rig.tick();
    EXPECT_EQ(rig.vehicle().DiagReplyKind, "");
    rig.tick();
    EXPECT_EQ(rig.vehicle().DiagReplyKind, "C3");
    rig.tick(68);
    EXPECT_EQ(rig.shown().lamp.value, Lamp::Silent);
    ASSERT_EQ(rig.adapterPort.writes.size(), 70u) << "only polling goes out";
    for (std::size_t i = 0; i < 70; ++i) // record C3's request, then the flow control
        EXPECT_EQ(rig.adapterPort.writes[i], i % 2 ? "t7E283000000000000000\r" : "t7E280221C30000000000\r");
}

TEST(MainTick, DriveShareBoundaries)
{
    using enum DriveShare;
    const std::tuple<double, std::int16_t, DriveShare> cases[] = {
        {300, -200, Thermal}, {300, 50, Thermal}, {0, -61, Electric}, {0, -60, Glide}, {0, 0, Glide}, {0, 1, Regen}};
    for (const auto& [injector, current, share] : cases)
        EXPECT_EQ(ShareCounter::classify(injector, current), share) << injector << " " << current;
}

TEST(MainTick, SharesArePercentOfEveryTickSinceTheWindowOpenedAndHoldWhileStanding)
{
    MonitorRig rig(true, false);
    rig.tick(10); // stopped: counted in the divisor only
    rig.monitor.startAcquisition();
    rig.vehicle().EngineRpm = 1200;
    rig.vehicle().Injector = 250;
    rig.adapterPort.receive("0B4 00 00 00 00 00 0F A0\r\n"); // 40 km/h
    rig.tick(30);
    auto shares = [&rig] {
        std::string all;
        for (const auto& s : rig.shown().shares) all += s.value + " ";
        return all;
    };
    EXPECT_EQ(shares(), "75 0 0 0 25 ");
    EXPECT_EQ(rig.monitor.currentRun().shares[0], 75) << "what the trip file stores";

    rig.adapterPort.receive("0B4 00 00 00 00 00 00 00\r\n"); // standing
    rig.tick(10);
    EXPECT_EQ(shares(), "75 0 0 0 25 ");
}

TEST(MainTick, EngineStoppedClearsInjectorAndValveTiming)
{
    MonitorRig rig(true);
    rig.monitor.startAcquisition();
    auto& v = rig.vehicle(); // the engine stands: rpm 0
    v.Injector = 120;
    v.VvtiAngle = 12.5;
    rig.tick();
    EXPECT_EQ(std::pair(v.Injector, v.VvtiAngle), std::pair(0.0, 0.0));
}

TEST(MainTick, TickNeverRunsInsideItself)
{
    MonitorRig rig(true, false);
    int nested = 0;
    rig.pump.setEvents([&] {
        ++nested;
        rig.monitor.onMainTimer(); // Timer1 fires again while the tick yields
    });
    rig.tick();
    EXPECT_GE(nested, 1);
    EXPECT_EQ(MonitorTestView::shares(rig.monitor).runTicks(), 1);
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
    rig.tick(5);

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
