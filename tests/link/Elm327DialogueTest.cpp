// The session's ELM327 dialogue against the simulated adapter, which behaves as the
// datasheet says (any character ends monitoring, a lone CR repeats the last command):
// what the adapter does with the bytes, which AdapterControl checks byte for byte. (The
// recovery from "BUFFER FULL" at 38400 bit/s is measured by tools/record/vcm-linkrate.)
#include "FakePort.h"
#include "support/TempFolder.h"

#include "common/Clock.h"
#include "common/FileSystem.h"
#include "common/Notices.h"
#include "decode/FrameDecoder.h"
#include "link/ManualEventPump.h"
#include "link/Monitor.h"
#include "sources/sim/SimulatedPort.h"
#include "sources/sim/VirtualElm327.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

struct SimulatedElmSession {
    explicit SimulatedElmSession(std::int32_t bps)
    {
        settings.UseElm327 = true;
        settings.PortNum = 1;
        settings.BPS = bps;
        settings.SavePath = folder.path();
        pump.setEvents([this] {
            car.pump();
            if (clock.tickCount() >= nextTick) {
                nextTick += Monitor::MainTimerMs;
                monitor.onMainTimer();
            }
        });
    }
    void runFor(double ms)
    {
        for (const double end = clock.tickCount() + ms; clock.tickCount() < end;)
            pump.waitForEvents(1);
    }
    sim::VirtualElm327& elm() { return dynamic_cast<sim::VirtualElm327&>(car.adapter()); }

    TempFolder folder;
    MonitorSettings settings;
    ManualClock clock{1000};
    ManualEventPump pump{clock, 1};
    double nextTick = 1100;
    sim::SimulatedPort car{clock, sim::makeVirtualAdapter(sim::SimulatedCar{})};
    FakePort aux, gps;
    NoticeList notices;
    DiskFileSystem fs;
    Monitor monitor{settings, notices, clock, fs, car, aux, gps, pump, '.', folder.path()};
};

TEST(Elm327Dialogue, StopLeavesTheAdapterAtItsPromptAndTheNextStartIsClean)
{
    SimulatedElmSession s(500000);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        s.monitor.startAcquisition();
        EXPECT_FALSE(s.monitor.dashboard().adapterError.value) << "every command answered, ATZ included";
        s.runFor(500);
        EXPECT_TRUE(s.elm().monitoring());
        EXPECT_GT(s.monitor.decoder().framesDecoded(), 100u);

        s.monitor.stopAcquisition();
        EXPECT_FALSE(s.monitor.dashboard().adapterError.value) << "STOPPED and the prompt answered the stop";
        EXPECT_FALSE(s.elm().monitoring()) << "nothing after the stop character restarted monitoring";
    }
}

} // namespace
} // namespace vcm::test
