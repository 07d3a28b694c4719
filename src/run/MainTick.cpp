#include "run/MainTick.h"

#include "link/AdapterControl.h"
#include "run/Elm327Restart.h"
#include "run/ReentryGuard.h"
#include "run/TickSteps.h"

namespace vcm {

MainTick::MainTick(MainTickParts parts, char decimalSeparator)
    : p_(parts), watchdog_(p_.settings, p_.vehicle, p_.adapter, p_.dashboard),
      minuteBars_(p_.link, p_.vehicle, p_.minuteClock, p_.histogram),
      rows_(p_.vehicle, p_.gps, p_.settings, p_.clock, p_.minuteClock, p_.log, decimalSeparator),
      poller_(p_.adapter, p_.vehicle)
{
}

void MainTick::onTimer()
{
    const ReentryGuard guard(inTick_);
    if (guard.entered())
        tick();
}

void MainTick::tick()
{
    shares_.countTick();
    restartAfterReport(p_.link, p_.adapter);

    const DateTime now = p_.clock.now();
    if (p_.adapter.isRunning()) {
        watchdog_.check(now);
        if (shares_.runTicks() >= MinuteStepAfterTicks)
            minuteBars_.step(now);
    }
    if (p_.link.AdapterPortOpen == 1) {
        restEngineWithoutAux(p_.settings, p_.vehicle);
        showGpsAltitude(p_.settings, p_.gps, p_.dashboard);
        rows_.write(now);
        countMovingShare(shares_, p_.vehicle, p_.dashboard);
    }
    refreshDashboard(p_.currentAverage, p_.vehicle, p_.clock, p_.dashboard, now);

    p_.pump.yieldOnce();
    if (!p_.settings.UseElm327)
        poller_.poll();
}

} // namespace vcm
