#include "link/MainTick.h"

#include "common/Format.h"
#include "dashboard/DashboardModel.h"
#include "decode/CurrentAverage.h"
#include "link/AdapterControl.h"
#include "link/ReentryGuard.h"
#include "link/TripClock.h"
#include "logging/GpsDecoder.h"
#include "logging/Histogram.h"
#include "logging/LogFormat.h"
#include "logging/RunLog.h"

#include <cmath>

namespace vcm {
MainTick::MainTick(MainTickParts parts, char decimalSeparator) : p_(parts), decimalSeparator_(decimalSeparator)
{
    row_.reserve(1024);
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

    // The ELM327 stopped monitoring on a full buffer or an error and its prompt has not
    // been read yet (the receive path restarts it on the prompt): start it again. The
    // stop dialogue keeps the report: "ATMA" would undo the stop.
    if (p_.link.AdapterErrorSeen && !p_.adapter.dialogueInProgress()) {
        p_.link.AdapterErrorSeen = false;
        p_.adapter.sendCommand("ATMA", false);
    }

    const DateTime now = p_.clock.now();

    if (p_.adapter.isRunning()) {
        watchdog(now);
        if (shares_.runTicks() >= MinuteStepAfterTicks)
            minuteStep(now);
    }

    if (p_.link.AdapterPortOpen == 1) {
        if (p_.settings.PortNumM == 0 && p_.vehicle.EngineRpm == 0) {
            p_.vehicle.Injector = 0;
            p_.vehicle.VvtiAngle = 0;
        }
        if (p_.settings.EnableGPS && p_.settings.PortNumGPS >= 1) {
            takeStartAltitude(p_.gps);
            p_.dashboard.showGpsAltitude(p_.gps);
        }
        writeRow(now);
        if (p_.vehicle.SpeedDisplay > 0)
            countShares();
    }

    p_.currentAverage.sample(p_.vehicle);
    advanceTripClock(p_.vehicle, p_.clock.now());
    p_.dashboard.refreshOnTick();
    p_.dashboard.showClock(formatDateTime(now, "hh:mm"));

    p_.pump.yieldOnce();

    if (!p_.settings.UseElm327)
        poll();
}

void MainTick::watchdog(DateTime now)
{
    if (DateTime::secondsBetween(p_.vehicle.LastFrameTime, now) <= WatchdogSeconds) {
        p_.adapter.noteSilence(false);
        return;
    }
    p_.dashboard.showSilence();
    p_.adapter.noteSilence(true);
    // Only the ELM327 understands "ATMA"; the start-up dialogue is not interrupted.
    if (p_.settings.UseElm327 && !p_.adapter.dialogueInProgress())
        p_.adapter.sendCommand("ATMA", false);
}

void MainTick::minuteStep(DateTime now)
{
    if (!p_.minuteClock.step(p_.link.RunStart, now, p_.vehicle.FuelAccumulator, p_.vehicle.DistanceAccumulator))
        return;
    p_.histogram.minuteStep(p_.minuteClock.intervalConsumption());
}

void MainTick::writeRow(DateTime now)
{
    row_.clear();
    appendLogRow(row_, LogRowInputs{p_.vehicle, p_.gps, p_.settings, now, p_.clock.tickCount(),
                                    p_.minuteClock.intervalConsumption(), decimalSeparator_});
    p_.log.writeRow(row_);
}

void MainTick::countShares()
{
    shares_.countMoving(ShareCounter::classify(p_.vehicle.Injector, p_.vehicle.BatteryCurrentAvg));
    p_.dashboard.showShares(shares_.lastPercent());
}

void MainTick::poll()
{
    // The start-up dialogue is not interleaved with polling frames.
    if (p_.adapter.dialogueInProgress())
        return;
    if (pollStep_ == 2)
        pollStep_ = 0;
    if (pollStep_ == 0) {
        p_.adapter.sendCommand(PollRequest, false);
    } else {
        p_.adapter.sendCommand(PollFlowControl, false);
        p_.vehicle.DiagReplyKind = "C3";
    }
    ++pollStep_;
}

} // namespace vcm
