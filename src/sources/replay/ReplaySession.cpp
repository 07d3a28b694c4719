#include "sources/replay/ReplaySession.h"

#include "common/Clock.h"
#include "common/Notices.h"
#include "run/Monitor.h"
#include "sources/replay/GpsRecordingFeed.h"
#include "sources/replay/LocalTime.h"
#include "sources/replay/RecordingClock.h"
#include "sources/replay/RecordingError.h"
#include "sources/replay/ReplayPort.h"
#include "sources/replay/StagedFileSystem.h"
#include "logging/RunLog.h"
#include "logging/TripFile.h"

#include <algorithm>
#include <memory>

namespace vcm {

namespace {

constexpr std::int64_t kMainUs = static_cast<std::int64_t>(Monitor::MainTimerMs) * 1000;
constexpr std::int64_t kGpsUs = static_cast<std::int64_t>(Monitor::GpsTimerMs) * 1000;

std::int64_t floorTo(std::int64_t value, std::int64_t step)
{
    const std::int64_t q = value / step;
    return (q * step > value ? q - 1 : q) * step;
}

// The event loop of a replay: the only events are the port's answers to commands.
class ReplayPump final : public EventPump {
public:
    ReplayPump(ReplayPort& adapter, ManualClock& clock) : adapter_(adapter), clock_(clock) {}
    void yieldOnce() override { adapter_.deliverAnswers(); }
    void waitForEvents(int maxMs) override
    {
        clock_.advance(maxMs);
        adapter_.deliverAnswers();
    }

private:
    ReplayPort& adapter_;
    ManualClock& clock_;
};


} // namespace

MonitorSettings replaySettings(const MonitorSettings& user, AdapterForm form, bool withGps, const std::string& saveFolder)
{
    MonitorSettings s = user;
    s.UseElm327 = form == AdapterForm::Elm327;
    s.PortNum = 1;
    s.PortNumM = 0;
    s.EnableGPS = withGps;
    s.PortNumGPS = withGps ? 2 : 0;
    s.SuperLogFile = false; // the recording is the raw log: no copy of it
    s.SavePath = saveFolder;
    return s;
}

ReplayReport replayRecording(RecordingSource& source, const ReplayOptions& options, FileSystem& disk,
                             const std::function<void(double)>& progress,
                             const std::function<void(const Dashboard&)>& dashboardChanged)
{
    RecordedChunk chunk;
    if (!source.next(chunk))
        throw RecordingError("the recording holds no received text");

    std::unique_ptr<GpsRecordingFeed> gps;
    if (!options.gpsPath.empty())
        gps = std::make_unique<GpsRecordingFeed>(options.gpsPath, source.durationMs().value_or(0));

    MonitorSettings settings = replaySettings(options.settings, source.form(), gps != nullptr, options.outFolder);
    settings.Logfile = true; // the stop closes the log set
    StagedFileSystem files(disk, options.replaceExisting);
    NoticeList notices;

    const std::int64_t firstUs = chunk.timeUs;
    RecordingClock time(firstUs, chunk.tickMs);
    // The window "opened" at the 100 ms boundary before the first chunk.
    const std::int64_t opened = floorTo(firstUs, kMainUs);
    std::int64_t nextMain = opened + kMainUs;
    std::int64_t nextGps = opened + kGpsUs;
    std::size_t gpsTicks = 0;
    time.setAt(opened);

    ReplayPort adapterPort("replay", source.form());
    ReplayPort auxPort("replay aux", std::nullopt);
    ReplayPort gpsPort("replay GPS", std::nullopt);
    ReplayPump pump(adapterPort, time.clock());
    ReplayReport report;
    try {
        Monitor monitor(settings, notices, time.clock(), files, adapterPort, auxPort, gpsPort, pump,
                        options.decimalSeparator, options.outFolder);
        if (dashboardChanged)
            monitor.setDashboardChanged([&monitor, &dashboardChanged] { dashboardChanged(monitor.dashboard()); });
        monitor.loadTrips();
        monitor.startAcquisition();
        adapterPort.setAnswering(false);

        // Timers due before the moment given (and at it, with inclusive), in time order.
        auto fireTimersUntil = [&](std::int64_t until, bool inclusive) {
            while (std::min(nextMain, nextGps) < until + (inclusive ? 1 : 0)) {
                if (nextGps < nextMain) {
                    time.setAt(nextGps);
                    if (gps)
                        gpsPort.hold(gps->textForTick(++gpsTicks));
                    monitor.onGpsTimer();
                    nextGps += kGpsUs;
                } else {
                    time.setAt(nextMain);
                    monitor.onMainTimer();
                    ++report.rows;
                    nextMain += kMainUs;
                }
            }
        };

        constexpr std::int64_t kPauseUs = static_cast<std::int64_t>(PauseSeconds * 1e6);
        std::int64_t lastUs = firstUs;
        std::int64_t shiftUs = 0; // the time the pauses were shortened by
        do {
            std::int64_t at = chunk.timeUs - shiftUs;
            if (at - lastUs > kPauseUs) {
                ++report.pauses;
                report.longestPauseMs = std::max(report.longestPauseMs, static_cast<double>(at - lastUs) / 1000.0);
                shiftUs += at - lastUs - kPauseUs;
                at = lastUs + kPauseUs;
            }
            // Text that arrives at the same millisecond as a tick is read first, as the
            // live loop reads the port before the timer's turn.
            fireTimersUntil(at, false);
            time.setAt(at);
            adapterPort.deliver(chunk.text);
            lastUs = at;
            if (progress && (++report.chunks & 0x3FFF) == 0)
                progress(source.fractionRead());
        } while (source.next(chunk));
        fireTimersUntil(lastUs, true);

        adapterPort.setAnswering(true);
        monitor.stopAcquisition();
        monitor.closeLogs();
        if (monitor.logs().failedRowCount() > 0)
            throw ReplayError(std::to_string(monitor.logs().failedRowCount()) + " row(s) of the value log not written: " +
                              (monitor.logs().lastError().empty() ? "in " + options.outFolder
                                                                     : monitor.logs().lastError()));
        if (!monitor.saveTrips())
            throw ReplayError(monitor.saveError());
        report.recordedMs = static_cast<double>(lastUs - firstUs) / 1000.0;
        report.distanceM = monitor.currentRun().distanceM;
        report.fuelMl = monitor.currentRun().fuelMl;
    } catch (const ExistingFileError& e) {
        files.discard();
        throw ReplayError(e.what());
    } catch (...) {
        files.discard();
        throw;
    }
    report.files = files.files();
    for (const auto& m : notices.told)
        report.notes.push_back(m.text);
    if (!files.commit()) {
        files.discard();
        throw ReplayError(files.error());
    }
    if (progress)
        progress(1.0);
    return report;
}

} // namespace vcm
