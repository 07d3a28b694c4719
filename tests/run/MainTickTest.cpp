// The 100 ms tick over a whole session: polling, watchdog, recovery, shares, panels.
#include "MonitorRig.h"

#include "link/MainTick.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

const char* const kSpeedFrame = "0B4 00 00 00 00 13 88 5C\r\n";
// Record C3's request and, on the next tick, the flow control.
const std::string kPoll = "t7E280221C30000000000\rt7E283000000000000000\r";

std::string times(const std::string& text, std::size_t n)
{
    std::string all;
    while (n-- > 0)
        all += text;
    return all;
}

TEST(MainTick, StoppedSessionRefreshesTheWindowAndSendsNothing)
{
    for (bool elm : {true, false}) {
        MonitorRig rig(elm);
        EXPECT_EQ(rig.shown().run.value, RunState::Stopped) << "the window opens stopped";
        rig.monitor.vehicle().SpeedDisplay = 50;
        rig.monitor.vehicle().EngineRpm = 1500;
        rig.monitor.vehicle().Injector = 300;
        rig.clock.setNow(DateTime::fromCivil({2026, 12, 4, 17, 42, 0}));
        rig.ticks(20);
        EXPECT_EQ(rig.adapterPort.written, "");
        EXPECT_EQ(rig.shown().clock.value, "17:42");
        EXPECT_EQ(rig.shown().speed.value, "50") << "panels run while stopped";
        EXPECT_EQ(rig.shown().shares[0].revision, 0u) << "no shares while the port is closed";
    }
}

TEST(MainTick, SilentElm327GetsAtmaOnEveryTickAfterFiveSeconds)
{
    MonitorRig rig(true);
    rig.monitor.startAcquisition();
    rig.adapterPort.written.clear();

    rig.adapterPort.receive(kSpeedFrame); // a frame at the start, then silence
    rig.ticks(50); // 5 s: not yet more than five whole seconds
    EXPECT_EQ(rig.adapterPort.written, "");
    EXPECT_NE(rig.shown().lamp.value, Lamp::Silent);

    rig.ticks(20);
    const std::size_t sent = rig.adapterPort.written.size() / 5;
    EXPECT_EQ(rig.adapterPort.written, times("ATMA\r", sent));
    EXPECT_GE(sent, 9u);
    EXPECT_LE(sent, 11u);
    EXPECT_EQ(rig.shown().lamp.value, Lamp::Silent);

    rig.adapterPort.written.clear(); // frames again: the watchdog rests
    rig.adapterPort.receive(kSpeedFrame);
    rig.ticks(10);
    EXPECT_EQ(rig.adapterPort.written, "");
}

// Record C3 is polled one frame a tick, after the dialogue; a silent CANUSB turns the lamp
// blue but gets no ELM327 commands.
TEST(MainTick, CanUsbPollsRecordC3OneFramePerTickAndSilenceTurnsTheLampBlue)
{
    MonitorRig rig(false);
    rig.monitor.startAcquisition();
    ASSERT_EQ(rig.adapterPort.written, "\r\r\r\rV\rN\rS6\rZ0\rX1\rO\r") << "no polling inside the dialogue";
    rig.adapterPort.written.clear();
    rig.adapterPort.script = nullptr; // not even acknowledgements
    rig.tick();
    EXPECT_EQ(rig.monitor.vehicle().DiagReplyKind, "");
    rig.tick();
    EXPECT_EQ(rig.monitor.vehicle().DiagReplyKind, "C3");
    rig.ticks(68);
    EXPECT_EQ(rig.shown().lamp.value, Lamp::Silent);
    EXPECT_EQ(rig.adapterPort.written, times(kPoll, 35)) << "only polling goes out";
}

TEST(MainTick, DriveShareBoundaries)
{
    const struct {
        double injector;
        std::int16_t current;
        DriveShare share;
    } cases[] = {
        {300, -200, DriveShare::Thermal}, {300, 50, DriveShare::Thermal}, {0, -61, DriveShare::Electric},
        {0, -60, DriveShare::Glide},      {0, 0, DriveShare::Glide},      {0, 1, DriveShare::Regen},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShareCounter::classify(c.injector, c.current), c.share) << c.injector << " " << c.current;
}

TEST(MainTick, SharesArePercentOfEveryTickSinceTheWindowOpenedAndHoldWhileStanding)
{
    MonitorRig rig(true, false);
    rig.ticks(10); // stopped: counted in the divisor only
    rig.monitor.startAcquisition();
    auto& v = rig.monitor.vehicle();
    v.EngineRpm = 1200;
    v.Injector = 250;
    rig.adapterPort.receive("0B4 00 00 00 00 00 0F A0\r\n"); // 40 km/h
    rig.ticks(30);
    auto shares = [&rig] {
        std::string all;
        for (const auto& s : rig.shown().shares) all += s.value + " ";
        return all;
    };
    EXPECT_EQ(shares(), "75 0 0 0 25 ");
    EXPECT_EQ(rig.monitor.mainTick().shares().lastPercent(DriveShare::Thermal), 75) << "what the trip file stores";

    rig.adapterPort.receive("0B4 00 00 00 00 00 00 00\r\n"); // standing
    rig.ticks(10);
    EXPECT_EQ(shares(), "75 0 0 0 25 ");
}

TEST(MainTick, EngineStoppedClearsInjectorAndValveTiming)
{
    MonitorRig rig(true);
    rig.monitor.startAcquisition();
    auto& v = rig.monitor.vehicle();
    v.EngineRpm = 0;
    v.Injector = 120;
    v.VvtiAngle = 12.5;
    rig.tick();
    EXPECT_EQ(v.Injector, 0);
    EXPECT_EQ(v.VvtiAngle, 0);
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
    EXPECT_EQ(rig.monitor.mainTick().shares().runTicks(), 1);
}

} // namespace
} // namespace vcm::test
