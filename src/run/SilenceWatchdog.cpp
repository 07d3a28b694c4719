#include "run/SilenceWatchdog.h"

#include "config/MonitorSettings.h"
#include "dashboard/DashboardModel.h"
#include "decode/VehicleState.h"
#include "link/AdapterControl.h"

namespace vcm {

void SilenceWatchdog::check(DateTime now)
{
    if (DateTime::secondsBetween(vehicle_.LastFrameTime, now) <= Seconds) {
        adapter_.noteSilence(false);
        return;
    }
    dashboard_.showSilence();
    adapter_.noteSilence(true);
    // Only the ELM327 understands "ATMA"; the start-up dialogue is not interrupted.
    if (settings_.UseElm327 && !adapter_.dialogueInProgress())
        adapter_.sendCommand("ATMA", false);
}

} // namespace vcm
