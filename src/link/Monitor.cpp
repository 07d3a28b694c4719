#include "link/Monitor.h"

#include "dashboard/Panels.h"
#include "decode/FrameDecoder.h"
#include "link/AdapterControl.h"
#include "link/GpsTick.h"
#include "link/MainTick.h"
#include "link/ReceivePath.h"
#include "logging/GpsState.h"
#include "logging/Histogram.h"
#include "logging/RunLog.h"
#include "logging/SaveFolder.h"
#include "logging/TripFile.h"

namespace vcm {

class Monitor::AdapterListener final : public PortListener {
public:
    explicit AdapterListener(Monitor& m) : m_(m) {}
    void onReceive() override { m_.receive_->onAdapterReceive(); }
    void onError(PortError error) override
    {
        if (error == PortError::DeviceLost)
            m_.adapter_->onDeviceLost(PortRole::Adapter);
        else if (error == PortError::EndOfInput)
            m_.adapter_->onInputEnded();
        else
            m_.receive_->onAdapterError(error);
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

Monitor::Monitor(MonitorSettings& settings, View& view, const Clock& clock, FileSystem& fs, SerialPort& adapterPort,
                 SerialPort& auxPort, SerialPort& gpsPort, EventPump& pump, char decimalSeparator,
                 std::string fallbackFolder)
    : settings_(settings), view_(view), clock_(clock), fs_(fs), adapterPort_(adapterPort), auxPort_(auxPort),
      gpsPort_(gpsPort), pump_(pump), decimalSeparator_(decimalSeparator), fallbackFolder_(std::move(fallbackFolder))
{
    gps_ = std::make_unique<GpsState>();
    panels_ = std::make_unique<Panels>(vehicle_, settings_, view_, clock_, decimalSeparator_);
    decoder_ = std::make_unique<FrameDecoder>(vehicle_, settings_, clock_, panels_->decoderSink(), decimalSeparator_);
    log_ = std::make_unique<RunLog>(fs_, clock_, settings_, fallbackFolder_);
    trips_ = std::make_unique<TripStore>(fs_, resolveSaveFolder(settings_.SavePath, fallbackFolder_), decimalSeparator_);
    histogram_ = std::make_unique<HistogramModel>(decimalSeparator_);
    minuteClock_ = std::make_unique<MinuteClock>();
    receive_ = std::make_unique<ReceivePath>(link_, settings_, view_, vehicle_, *log_, adapterPort_, auxPort_,
                                             [this](std::string_view text) { decoder_->decodeFrames(text); });
    adapter_ = std::make_unique<AdapterControl>(link_, settings_, view_, clock_, pump_,
                                                LinkPorts{adapterPort_, auxPort_, gpsPort_}, vehicle_, *log_, *receive_);
    mainTick_ = std::make_unique<MainTick>(MainTickParts{link_, settings_, view_, clock_, pump_, vehicle_, *adapter_,
                                                         *panels_, *log_, *gps_, *histogram_, *minuteClock_},
                                           decimalSeparator_);
    gpsTick_ = std::make_unique<GpsTick>(settings_, view_, pump_, gpsPort_, *log_, *gps_, decimalSeparator_);

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
}

void Monitor::resumeAcquisition() { adapter_->resumeAcquisition(); }

void Monitor::stopAcquisition() { adapter_->stopAcquisition(); }

bool Monitor::hasTripToSave() const
{
    const TripRun run = makeTripRun(vehicle_, *gps_, view_, clock_.now());
    return run.fuelMl != 0 || run.distanceM != 0;
}

void Monitor::onCommandClick(int index)
{
    if (index == 0)
        startAcquisition();
    else
        adapter_->onCommandClick(index);
}
void Monitor::onMainTimer() { mainTick_->onTimer(); }
void Monitor::onGpsTimer() { gpsTick_->onTimer(); }
bool Monitor::isRunning() const { return adapter_->isRunning(); }
void Monitor::setLinkReport(std::function<void(LinkProblem, const std::string&)> report)
{
    adapter_->setReport(std::move(report));
}

void Monitor::loadTrips()
{
    // The save folder may have changed since construction.
    trips_ = std::make_unique<TripStore>(fs_, resolveSaveFolder(settings_.SavePath, fallbackFolder_), decimalSeparator_);
    const TripFileContent& content = trips_->load();
    tripsLoaded_ = true;
    histogram_->loadFromTripFile(content);
    showHistogram(*histogram_, view_);
    showTripTotals(content.totals, view_, decimalSeparator_);
    if (!trips_->problem().empty())
        view_.showMessage("PROBLEME!", trips_->problem(), MessageIcon::Exclamation);
}

bool Monitor::followSaveFolder()
{
    if (joinPath(resolveSaveFolder(settings_.SavePath, fallbackFolder_), "TRAJETS.CSV") == trips_->path())
        return false;
    loadTrips();
    view_.showMessage("Trajets", "Les trajets sont enregistrés dans " + trips_->path(), MessageIcon::Information);
    return true;
}

bool Monitor::saveTrips()
{
    // Never rewrite the trip file from an empty store: the stored trips would be lost.
    if (!tripsLoaded_) {
        trips_->load();
        tripsLoaded_ = true;
    }
    const TripRun run = makeTripRun(vehicle_, *gps_, view_, clock_.now());
    return trips_->save(histogram_->minuteBarValues(), run);
}

} // namespace vcm
