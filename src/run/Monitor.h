#pragma once
// One acquisition session: the object a host (the dashboard window, headless logging,
// the replay of a recording, a test) creates. It owns the live values, the decoder, the
// dashboard model, the log set, the trip store and histogram, the GPS values and the adapter
// link, and wires the three ports' notifications to them.
//
// A host supplies the ports, a clock, an event pump and where notices go, then:
//   Monitor m(settings, notices, clock, fs, adapterPort, auxPort, gpsPort, pump, ',', folder);
//   m.setDashboardChanged([&] { draw(m.dashboard()); });   // a window only
//   m.loadTrips();          // totals and last histogram (start-up)
//   m.startAcquisition();   // opens the ports, sends the adapter's start-up dialogue
//   every 100 ms m.onMainTimer(), every 2050 ms m.onGpsTimer()
//   m.stopAcquisition();  m.saveTrips();   // shutdown (settings are the host's)
// A part of a host takes only the interface it needs (RunInterfaces.h). Everything runs
// on the host's one event thread.
#include "common/Clock.h"
#include "common/FileSystem.h"
#include "common/Notices.h"
#include "dashboard/Dashboard.h"
#include "config/MonitorSettings.h"
#include "decode/VehicleState.h"
#include "link/EventPump.h"
#include "link/LinkState.h"
#include "link/SerialPort.h"
#include "run/RunInterfaces.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vcm {

class AdapterControl;
class FrameDecoder;
class GpsTick;
class HistogramModel;
class MainTick;
class MinuteClock;
class CurrentAverage;
class DashboardModel;
class DecoderEvents;
class ReceivePath;
class RunLog;
class TripStore;
struct GpsState;

class Monitor final : public RunControl, public TripKeeping, public LogKeeping, public DashboardFeed, public Ticks {
public:
    // fallbackFolder: where logs and the trip file go while SavePath is empty.
    Monitor(MonitorSettings& settings, Notices& notices, const Clock& clock, FileSystem& fs, SerialPort& adapterPort,
            SerialPort& auxPort, SerialPort& gpsPort, EventPump& pump, char decimalSeparator = '.',
            std::string fallbackFolder = ".");
    ~Monitor();
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;

    // RunControl (Start and Stop are also the window's start-up and shutdown)
    void startAcquisition() override;
    void resumeAcquisition() override;
    void stopAcquisition() override;
    void onCommandClick(int index) override;
    bool isRunning() const override;
    RunState runState() const override;
    bool inputEnded() const override;
    bool dialogueInProgress() const override;
    void abandonDialogues() override;
    void setLinkReport(LinkReport report) override;
    void restartSilenceWatch() override;
    std::uint64_t framesDecoded() const override;
    const VehicleState& liveValues() const override { return vehicle_; }

    // TripKeeping (the other folder's file is left as it is when the folder changes)
    void loadTrips() override;
    bool saveTrips() override;
    bool hasTripToSave() const override;
    bool followSaveFolder() override;
    const std::string& saveError() const override;
    std::string tripFilePath() const override;
    TripRun currentRun() const override;

    // LogKeeping
    void closeLogs() override;
    const RunLog& logs() const override;

    // DashboardFeed
    const Dashboard& dashboard() const override;
    void setDashboardChanged(std::function<void()> changed) override { changed_ = std::move(changed); }
    void unitsChanged(bool wasMetric, bool wasCelsius) override;
    void restartRunClock() override;
    void setDialZoom(double zoom) override;
    HistogramModel& histogram() override;

    // Ticks
    void onMainTimer() override;
    void onGpsTimer() override;

private:
    // Tests reach the parts behind the interfaces through this (tests/run/MonitorTestView.h).
    friend struct MonitorTestView;
    class AdapterListener;
    class AuxListener;
    class GpsListener;

    // Brings the snapshot's run controls and histogram up to date and tells the host.
    void publish();

    MonitorSettings& settings_;
    Notices& notices_;
    const Clock& clock_;
    FileSystem& fs_;
    SerialPort& adapterPort_;
    SerialPort& auxPort_;
    SerialPort& gpsPort_;
    EventPump& pump_;
    char decimalSeparator_;
    std::string fallbackFolder_;
    bool tripsLoaded_ = false;

    VehicleState vehicle_;
    LinkState link_;
    std::unique_ptr<GpsState> gps_;
    std::unique_ptr<CurrentAverage> currentAverage_;
    std::unique_ptr<DashboardModel> dashboard_;
    std::unique_ptr<DecoderEvents> decoderEvents_;
    std::unique_ptr<FrameDecoder> decoder_;
    std::unique_ptr<RunLog> log_;
    std::unique_ptr<TripStore> trips_;
    std::unique_ptr<HistogramModel> histogram_;
    std::unique_ptr<MinuteClock> minuteClock_;
    std::unique_ptr<ReceivePath> receive_;
    std::unique_ptr<AdapterControl> adapter_;
    std::unique_ptr<MainTick> mainTick_;
    std::unique_ptr<GpsTick> gpsTick_;
    std::unique_ptr<AdapterListener> adapterListener_;
    std::unique_ptr<AuxListener> auxListener_;
    std::unique_ptr<GpsListener> gpsListener_;
    std::function<void()> changed_;
};

} // namespace vcm
