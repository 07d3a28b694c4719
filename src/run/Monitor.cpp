#include "run/Monitor.h"

#include "dashboard/DashboardModel.h"
#include "dashboard/DecoderEvents.h"
#include "decode/CurrentAverage.h"
#include "decode/FrameDecoder.h"
#include "link/AdapterControl.h"
#include "run/GpsTick.h"
#include "run/MainTick.h"
#include "link/ReceivePath.h"
#include "logging/GpsState.h"
#include "logging/Histogram.h"
#include "logging/RunLog.h"
#include "logging/SaveFolder.h"
#include "logging/TripFile.h"

#include <utility>

namespace vcm {

class Monitor::AdapterListener final : public PortListener {
public:
    explicit AdapterListener(Monitor& m) : m_(m) {}
    void onReceive() override
    {
        m_.receive_->onAdapterReceive();
        m_.publish();
    }
    void onError(PortError error) override
    {
        if (error == PortError::DeviceLost)
            m_.adapter_->onDeviceLost(PortRole::Adapter);
        else if (error == PortError::EndOfInput)
            m_.adapter_->onInputEnded();
        else
            m_.receive_->onAdapterError(error);
        m_.publish();
    }

private:
    Monitor& m_;
};

class Monitor::AuxListener final : public PortListener {
public:
    explicit AuxListener(Monitor& m) : m_(m) {}
    void onReceive() override { m_.receive_->onAuxReceive(); }
    void onError(PortError error) override
    {
        if (error == PortError::DeviceLost)
            m_.adapter_->onDeviceLost(PortRole::Aux);
        else
            m_.receive_->onAuxError(error);
    }

private:
    Monitor& m_;
};

// The GPS port is read by its timer; only a lost receiver needs handling here.
class Monitor::GpsListener final : public PortListener {
public:
    explicit GpsListener(Monitor& m) : m_(m) {}
    void onReceive() override {}
    void onError(PortError error) override
    {
        if (error == PortError::DeviceLost)
            m_.adapter_->onDeviceLost(PortRole::Gps);
    }

private:
    Monitor& m_;
};

Monitor::Monitor(MonitorSettings& settings, Notices& notices, const Clock& clock, FileSystem& fs, SerialPort& adapterPort,
                 SerialPort& auxPort, SerialPort& gpsPort, EventPump& pump, char decimalSeparator,
                 std::string fallbackFolder)
    : settings_(settings), notices_(notices), clock_(clock), fs_(fs), adapterPort_(adapterPort), auxPort_(auxPort),
      gpsPort_(gpsPort), pump_(pump), decimalSeparator_(decimalSeparator), fallbackFolder_(std::move(fallbackFolder))
{
    gps_ = std::make_unique<GpsState>();
    currentAverage_ = std::make_unique<CurrentAverage>();
    dashboard_ = std::make_unique<DashboardModel>(vehicle_, settings_, decimalSeparator_);
    decoderEvents_ = std::make_unique<DecoderEvents>(*dashboard_, *currentAverage_, vehicle_);
    decoder_ = std::make_unique<FrameDecoder>(vehicle_, settings_, clock_, *decoderEvents_, decimalSeparator_);
    log_ = std::make_unique<RunLog>(fs_, clock_, settings_, fallbackFolder_);
    trips_ = std::make_unique<TripStore>(fs_, resolveSaveFolder(settings_.SavePath, fallbackFolder_), decimalSeparator_);
    histogram_ = std::make_unique<HistogramModel>(decimalSeparator_);
    minuteClock_ = std::make_unique<MinuteClock>();
    receive_ = std::make_unique<ReceivePath>(
        link_, settings_, *log_, adapterPort_, auxPort_, [this](std::string_view text) { decoder_->decodeFrames(text); },
        [this] { dashboard_->blinkActivity(); });
    adapter_ = std::make_unique<AdapterControl>(link_, settings_, notices_, clock_, pump_,
                                                LinkPorts{adapterPort_, auxPort_, gpsPort_}, vehicle_, *log_, *receive_);
    mainTick_ = std::make_unique<MainTick>(MainTickParts{link_, settings_, clock_, pump_, vehicle_, *adapter_, *dashboard_,
                                                         *currentAverage_, *log_, *gps_, *histogram_, *minuteClock_},
                                           decimalSeparator_);
    gpsTick_ = std::make_unique<GpsTick>(settings_, pump_, gpsPort_, *log_, *gps_, decimalSeparator_);

    adapterListener_ = std::make_unique<AdapterListener>(*this);
    auxListener_ = std::make_unique<AuxListener>(*this);
    gpsListener_ = std::make_unique<GpsListener>(*this);
    adapterPort_.setListener(adapterListener_.get());
    auxPort_.setListener(auxListener_.get());
    gpsPort_.setListener(gpsListener_.get());

    // The window opens stopped, with no frame seen yet: the watchdog counts from now.
    link_.RunStart = clock_.now();
    vehicle_.LastFrameTime = link_.RunStart;
    adapter_->showStopped();
    publish();
}

Monitor::~Monitor()
{
    adapterPort_.setListener(nullptr);
    auxPort_.setListener(nullptr);
    gpsPort_.setListener(nullptr);
}

void Monitor::startAcquisition()
{
    // The trip integrators restart at zero, and so does the histogram's minute interval.
    minuteClock_->restartInterval();
    adapter_->startAcquisition();
    publish();
}

void Monitor::resumeAcquisition()
{
    adapter_->resumeAcquisition();
    publish();
}

void Monitor::stopAcquisition()
{
    adapter_->stopAcquisition();
    publish();
}

const Dashboard& Monitor::dashboard() const { return dashboard_->dashboard(); }

void Monitor::publish()
{
    dashboard_->showRun(adapter_->runState(), adapter_->adapterError());
    dashboard_->showHistogramRevision(histogram_->revision());
    if (changed_)
        changed_();
}

void Monitor::unitsChanged(bool wasMetric, bool wasCelsius)
{
    dashboard_->unitsChanged(vehicle_, wasMetric, wasCelsius);
    publish();
}

void Monitor::restartRunClock() { link_.RunStart = clock_.now(); }

TripRun Monitor::currentRun() const
{
    return makeTripRun(vehicle_, *gps_, mainTick_->shares().lastPercent(), clock_.now());
}

bool Monitor::hasTripToSave() const
{
    const TripRun run = currentRun();
    return run.fuelMl != 0 || run.distanceM != 0;
}

const std::string& Monitor::saveError() const { return trips_->saveError(); }
std::string Monitor::tripFilePath() const { return trips_->path(); }

void Monitor::onCommandClick(int index)
{
    if (index == 0) {
        startAcquisition();
        return;
    }
    adapter_->onCommandClick(index);
    publish();
}

void Monitor::onMainTimer()
{
    mainTick_->onTimer();
    publish();
}

void Monitor::onGpsTimer()
{
    gpsTick_->onTimer();
    if (settings_.EnableGPS)
        dashboard_->showGpsTrend(*gps_);
    publish();
}

bool Monitor::isRunning() const { return adapter_->isRunning(); }
RunState Monitor::runState() const { return adapter_->runState(); }
bool Monitor::inputEnded() const { return adapter_->inputEnded(); }
bool Monitor::dialogueInProgress() const { return adapter_->dialogueInProgress(); }
void Monitor::abandonDialogues() { adapter_->abandonDialogues(); }
void Monitor::setLinkReport(LinkReport report) { adapter_->setReport(std::move(report)); }
void Monitor::restartSilenceWatch() { vehicle_.LastFrameTime = clock_.now(); }
std::uint64_t Monitor::framesDecoded() const { return decoder_->framesDecoded(); }

void Monitor::closeLogs() { log_->close(); }
const RunLog& Monitor::logs() const { return *log_; }
HistogramModel& Monitor::histogram() { return *histogram_; }

void Monitor::setDialZoom(double zoom)
{
    dashboard_->setDialScale(zoom);
    dashboard_->redrawNeedles();
}

void Monitor::loadTrips()
{
    // The save folder may have changed since construction.
    trips_ = std::make_unique<TripStore>(fs_, resolveSaveFolder(settings_.SavePath, fallbackFolder_), decimalSeparator_);
    const TripFileContent& content = trips_->load();
    tripsLoaded_ = true;
    histogram_->loadFromTripFile(content);
    dashboard_->showTripTotals(content.totals);
    publish();
    if (!trips_->problem().empty())
        notices_.tell("PROBLEME!", trips_->problem(), MessageIcon::Exclamation);
}

bool Monitor::followSaveFolder()
{
    if (joinPath(resolveSaveFolder(settings_.SavePath, fallbackFolder_), "TRAJETS.CSV") == trips_->path())
        return false;
    loadTrips();
    notices_.tell("Trajets", "Les trajets sont enregistrés dans " + trips_->path(), MessageIcon::Information);
    return true;
}

bool Monitor::saveTrips()
{
    // Never rewrite the trip file from an empty store: the stored trips would be lost.
    if (!tripsLoaded_) {
        trips_->load();
        tripsLoaded_ = true;
    }
    return trips_->save(histogram_->minuteBarValues(), currentRun());
}

} // namespace vcm
