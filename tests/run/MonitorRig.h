#pragma once
// A whole session over fake ports and a manual clock: Timer1 fires every 100 ms of the
// clock, also inside a command's wait, as the Qt event loop would fire it.
#include "LinkRig.h"
#include "support/MonitorTestView.h"
#include "support/TempFolder.h"
#include "support/TextFiles.h"

#include "logging/RunLog.h"
#include "run/Monitor.h"

namespace vcm::test {

struct MonitorRig {
    explicit MonitorRig(bool elm327, bool timerDuringWaits = true)
    {
        setUpAdapter(settings, adapterPort, elm327, folder.path());
        pump.setEvents([this, timerDuringWaits] {
            adapterPort.deliver();
            if (timerDuringWaits && clock.tickCount() >= nextTimer) {
                // Like a window timer: late events do not pile up.
                nextTimer = clock.tickCount() + Monitor::MainTimerMs;
                monitor.onMainTimer();
            }
        });
    }

    // Timer1 events, one every 100 ms of the clock.
    void tick(int count = 1)
    {
        while (count-- > 0) {
            clock.advance(Monitor::MainTimerMs);
            nextTimer = clock.tickCount() + Monitor::MainTimerMs;
            monitor.onMainTimer();
        }
    }
    const Dashboard& shown() const { return monitor.dashboard(); }
    VehicleState& vehicle() { return MonitorTestView::vehicle(monitor); }

    TempFolder folder;
    MonitorSettings settings;
    NoticeList notices;
    ManualClock clock{0, DateTime::fromCivil({2026, 12, 4, 9, 10, 30})};
    ManualEventPump pump{clock, 10};
    FakePort adapterPort, auxPort, gpsPort;
    DiskFileSystem fs;
    Monitor monitor{settings, notices, clock, fs, adapterPort, auxPort, gpsPort, pump, ',', folder.path()};
    double nextTimer = Monitor::MainTimerMs;
};

} // namespace vcm::test
