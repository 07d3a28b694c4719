#pragma once
// What each host needs of the run, one narrow interface per need. Monitor implements
// them all; a host part that needs only one takes only that one.
#include "dashboard/Dashboard.h"
#include "decode/VehicleState.h"
#include "link/AdapterControl.h"
#include "logging/TripFile.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vcm {

class HistogramModel;
class RunLog;

// Start, Stop and what a host watches of the adapter link.
class RunControl {
public:
    virtual void startAcquisition() = 0;
    // After a lost adapter: starts again, going on with the same trip.
    virtual void resumeAcquisition() = 0;
    virtual void stopAcquisition() = 0;
    // A click on Start (0) or Stop (1).
    virtual void onCommandClick(int index) = 0;
    // Started, not yet stopped, and the adapter port open.
    virtual bool isRunning() const = 0;
    virtual RunState runState() const = 0;
    // The adapter's input ended (a candump pipe closed) since the last start.
    virtual bool inputEnded() const = 0;
    virtual bool dialogueInProgress() const = 0;
    // The host is ending: every wait ends at once and no start-up dialogue begins.
    virtual void abandonDialogues() = 0;
    // Where the adapter link's problems are told (AdapterControl.h), one line each.
    virtual void setLinkReport(LinkReport report) = 0;
    // The silence watchdog counts from now (the window is on screen).
    virtual void restartSilenceWatch() = 0;
    // Frames decoded since the session began.
    virtual std::uint64_t framesDecoded() const = 0;
    // What the car last reported (a host's status line).
    virtual const VehicleState& liveValues() const = 0;

protected:
    ~RunControl() = default;
};

// The trip file of the save folder.
class TripKeeping {
public:
    // Start-up: reads the trip file, shows the totals and the histogram, and tells the
    // user of a file that could not be read or was damaged.
    virtual void loadTrips() = 0;
    // Shutdown: adds this run's line to the trip file; false when it could not be written.
    virtual bool saveTrips() = 0;
    // False when the run has neither fuel nor distance: saveTrips leaves the file alone.
    virtual bool hasTripToSave() const = 0;
    // After the save folder was changed: the trips follow it (false: same folder).
    virtual bool followSaveFolder() = 0;
    virtual const std::string& saveError() const = 0;
    virtual std::string tripFilePath() const = 0;
    // This run as the trip file would store it now.
    virtual TripRun currentRun() const = 0;

protected:
    ~TripKeeping() = default;
};

// The log set of the run: closed by a host that ends or changes folder.
class LogKeeping {
public:
    virtual void closeLogs() = 0;
    virtual const RunLog& logs() const = 0;

protected:
    ~LogKeeping() = default;
};

// What the dashboard shows and who is told when it changed.
class DashboardFeed {
public:
    virtual const Dashboard& dashboard() const = 0;
    // Told after a receive event, a tick, a GPS tick, a start or stop, a trip load and
    // a units change.
    virtual void setDashboardChanged(std::function<void()> changed) = 0;
    // The settings' units changed from these.
    virtual void unitsChanged(bool wasMetric, bool wasCelsius) = 0;
    // A click on the driving time restarts the run clock: the time acquisition started.
    virtual void restartRunClock() = 0;
    // The dials were zoomed: needles are recomputed at this scale.
    virtual void setDialZoom(double zoom) = 0;
    // The drawn histogram (its layout and view are the window's).
    virtual HistogramModel& histogram() = 0;

protected:
    ~DashboardFeed() = default;
};

// The two timers that drive the run.
class Ticks {
public:
    // Timer1 (every 100 ms) and GPSTimer (every 2050 ms); both run from the window's creation.
    virtual void onMainTimer() = 0;
    virtual void onGpsTimer() = 0;
    static constexpr int MainTimerMs = 100;
    static constexpr int GpsTimerMs = 2050;

protected:
    ~Ticks() = default;
};

} // namespace vcm
