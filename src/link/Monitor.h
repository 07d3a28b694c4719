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
// Everything runs on the host's one event thread.
#include "common/Clock.h"
#include "common/FileSystem.h"
#include "common/Notices.h"
#include "dashboard/Dashboard.h"
#include "config/MonitorSettings.h"
#include "decode/VehicleState.h"
#include "link/EventPump.h"
#include "link/LinkState.h"
#include "link/SerialPort.h"

#include <functional>
#include <memory>
#include <string>

namespace vcm {

class AdapterControl;
enum class LinkProblem;
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

class Monitor {
public:
    // fallbackFolder: where logs and the trip file go while SavePath is empty.
    Monitor(MonitorSettings& settings, Notices& notices, const Clock& clock, FileSystem& fs, SerialPort& adapterPort,
            SerialPort& auxPort, SerialPort& gpsPort, EventPump& pump, char decimalSeparator = '.',
            std::string fallbackFolder = ".");
    ~Monitor();
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;

    // Start and Stop (also the window's start-up and shutdown).
    void startAcquisition();
    // After a lost adapter: starts again, going on with the same trip.
    void resumeAcquisition();
    void stopAcquisition();
    // A click on Start (0) or Stop (1).
    void onCommandClick(int index);
    // Timer1 (MainTimerMs) and GPSTimer (GpsTimerMs); both run from the window's creation.
    void onMainTimer();
    void onGpsTimer();
    static constexpr int MainTimerMs = 100;
    static constexpr int GpsTimerMs = 2050;

    // Start-up: reads the trip file of the save folder, shows the totals and the
    // histogram, and tells the user of a file that could not be read or was damaged.
    // Shutdown: adds this run's line to the trip file (false when it could not be
    // written, the reason in trips().saveError()).
    void loadTrips();
    bool saveTrips();
    // False when the run has neither fuel nor distance: saveTrips leaves the file alone.
    bool hasTripToSave() const;
    // After the save folder was changed: the trips follow it. The other folder's file
    // is left as it is (this run has not been saved to it); the new folder's file is
    // read and shown, and the user is told where the trips now are. False when the
    // folder is the same.
    bool followSaveFolder();

    // Running: started, not yet stopped, and the adapter port open.
    bool isRunning() const;

    // What the dashboard shows, and who is told when it changed: after a receive
    // event, a tick, a GPS tick, a start or stop, a trip load and a units change.
    const Dashboard& dashboard() const;
    void setDashboardChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    // The settings' units changed from these (DashboardModel::unitsChanged).
    void unitsChanged(bool wasMetric, bool wasCelsius);
    // A click on the driving time restarts the run clock: the time acquisition started.
    void restartRunClock();
    // Where the adapter link's problems are told (AdapterControl.h), one line each.
    void setLinkReport(std::function<void(LinkProblem, const std::string&)> report);

    MonitorSettings& settings() { return settings_; }
    VehicleState& vehicle() { return vehicle_; }
    const VehicleState& vehicle() const { return vehicle_; }
    const LinkState& link() const { return link_; }
    LinkState& link() { return link_; }
    FrameDecoder& decoder() { return *decoder_; }
    DashboardModel& dashboardModel() { return *dashboard_; }
    RunLog& runLog() { return *log_; }
    TripStore& trips() { return *trips_; }
    HistogramModel& histogram() { return *histogram_; }
    GpsState& gps() { return *gps_; }
    AdapterControl& adapter() { return *adapter_; }
    ReceivePath& receivePath() { return *receive_; }
    MainTick& mainTick() { return *mainTick_; }
    char decimalSeparator() const { return decimalSeparator_; }

private:
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
