#include "link/AdapterControl.h"

#include "common/Format.h"
#include "link/ReceivePath.h"
#include "logging/RunLog.h"

#include <array>

namespace vcm {
namespace {

constexpr std::string_view AuxSettings = "38400,N,8,1";
constexpr std::string_view GpsSettings = "4800,N,8,1";

struct Step {
    std::string_view command;
    bool wait;
};

constexpr std::array<Step, 7> Elm327Start{{
    {"ATZ", true}, {"ATSP6", true}, {"ATE0", true}, {"ATH1", true}, {"ATL1", true}, {"ATCAF0", true}, {"ATMA", false},
}};

// Three CRs plus the one SendCommand appends empty the adapter's command buffer.
constexpr std::array<Step, 7> CanUsbStart{{
    {"\r\r\r", false}, {"V", true}, {"N", false}, {"S6", true}, {"Z0", true}, {"X1", true}, {"O", false},
}};

// Any character ends monitoring and is itself discarded; the adapter finishes its line,
// reports "STOPPED" and shows its prompt. Nothing may follow: a CR on its own repeats
// the last command, which is "ATMA". A space is harmless if the adapter was already at
// its prompt, since commands ignore spaces.
constexpr std::string_view Elm327Stop = " ";
constexpr std::string_view CanUsbStop = "C";

} // namespace

AdapterControl::AdapterControl(LinkState& link, const MonitorSettings& settings, Notices& notices, const Clock& clock,
                               EventPump& pump, LinkPorts ports, VehicleState& vehicle, RunLog& log,
                               ReceivePath& receive)
    : link_(link), settings_(settings), notices_(notices), clock_(clock), pump_(pump), ports_(ports), vehicle_(vehicle),
      log_(log), receive_(receive)
{
    receive_.setMonitorRestart([this] { restartMonitoring(); });
}

std::string AdapterControl::adapterSettingsText(std::int32_t bps)
{
    return formatNumber(bps, NumberPattern::Whole, '.') + ",N,8,1";
}

bool AdapterControl::openOne(SerialPort& port, int number, std::string_view settings)
{
    // A port left open (an earlier failed start) is reopened, not refused as busy.
    if (port.isOpen())
        port.close();
    if (!port.open(number, settings))
        return false;
    port.discardInput();
    return true;
}

void AdapterControl::openPorts()
{
    // GPS first. A receiver that cannot be opened does not keep the car's data from
    // being logged: the user is told which port failed and acquisition goes on without it.
    if (settings_.EnableGPS && settings_.PortNumGPS >= 1) {
        if (!openOne(ports_.gps, settings_.PortNumGPS, GpsSettings)) {
            notices_.tell("PROBLEME!",
                              "Ne peut ouvrir le port GPS COM [" + std::to_string(settings_.PortNumGPS) + "] (" +
                                  ports_.gps.deviceName() + "). L'acquisition continue sans GPS.",
                              MessageIcon::Exclamation);
        }
    }

    if (link_.AdapterPortOpen == 1)
        ports_.adapter.close();
    if (!openOne(ports_.adapter, settings_.PortNum, adapterSettingsText(settings_.BPS))) {
        link_.AdapterPortOpen = 0;
        ports_.gps.close();
        const std::string why = deviceAndReason(ports_.adapter);
        notices_.tell("PROBLEME!",
                          "Ne peut ouvrir le port COM [" + std::to_string(settings_.PortNum) +
                              "] Essayez un autre port.\n" + why,
                          MessageIcon::Critical);
        reportOnce(LinkProblem::OpenFailed, "cannot open the adapter port " + why);
        return;
    }
    link_.AdapterPortOpen = 1;
    reported_[static_cast<std::size_t>(LinkProblem::OpenFailed)] = false;

    // The auxiliary input is optional; without it acquisition goes on.
    if (settings_.PortNumM >= 1 && settings_.PortNumM != settings_.PortNum)
        openOne(ports_.aux, settings_.PortNumM, AuxSettings);
}

std::int16_t AdapterControl::sendCommand(std::string_view command, bool wait)
{
    std::string line(command);
    line += '\r';
    return send(command, line, wait, ReplyTimeoutMs);
}

std::int16_t AdapterControl::send(std::string_view command, std::string_view bytes, bool wait, double timeoutMs)
{
    if (link_.AdapterPortOpen == 0)
        return 0;
    link_.ReplyState = reply::Awaited;
    link_.LastCommand = std::string(command);
    lastWaitTimedOut_ = false;
    ports_.adapter.write(bytes);
    if (!wait)
        link_.ReplyState = reply::Answered;

    pump_.yieldOnce();
    if (link_.ReplyState == reply::Awaited) {
        // Ends on the reply, on a no-wait command sent from inside the wait (the main
        // tick's), on a stop or lost device, or on the time-out.
        const bool ended = waitUntil(
            pump_, clock_,
            [this] { return link_.ReplyState != reply::Awaited || link_.AdapterPortOpen == 0 || abandoned_; },
            abandoned_ ? 0 : timeoutMs);
        if (!ended || link_.ReplyState == reply::Awaited) {
            link_.ReplyState = reply::Failed;
            lastWaitTimedOut_ = !ended;
        }
    }
    const std::int16_t result = link_.ReplyState;
    pump_.yieldOnce();
    return result;
}

void AdapterControl::showErrorIfFailed(std::int16_t result)
{
    adapterError_ = result == reply::Failed;
}

void AdapterControl::startAcquisition() { start(true); }

void AdapterControl::resumeAcquisition() { start(false); }

void AdapterControl::start(bool newTrip)
{
    if (abandoned_)
        return;
    inputEnded_ = false;
    adapterError_ = false;
    receive_.clearBuffers();
    link_.ReplyState = reply::Failed;
    if (newTrip) {
        link_.RunStart = clock_.now();
        resetTrip(vehicle_, clock_.tickCount());
    } else {
        // The time without an adapter is not driven at the last known speed or flow.
        vehicle_.LastDistanceTick = vehicle_.LastFuelTick = clock_.tickCount();
        vehicle_.FuelFlowRate = 0;
    }
    link_.AdapterErrorSeen = false;
    // The silence watchdog counts from the start, not from the last frame of an earlier run.
    vehicle_.LastFrameTime = clock_.now();
    if (settings_.Logfile)
        log_.close();

    openPorts();
    if (link_.AdapterPortOpen != 1) {
        showStopped();
        return;
    }
    enter(RunState::Starting);
    sendStartSequence();

    // A Stop click or a lost device during the dialogue has already shown the stopped state.
    if (link_.AdapterPortOpen != 1)
        return;
    // The trip counts the time acquisition runs.
    vehicle_.TripClockRunning = true;
    enter(RunState::Running);
}

void AdapterControl::sendStartSequence()
{
    inDialogue_ = true;
    bool toldNoAnswer = false, toldRefused = false;
    const auto& steps = settings_.UseElm327 ? Elm327Start : CanUsbStart;
    for (std::size_t i = 0; i < steps.size() && link_.AdapterPortOpen == 1 && !abandoned_; ++i) {
        const auto result = sendCommand(steps[i].command, steps[i].wait);
        // The CANUSB's results are not looked at; a stop or the host's end is no failure.
        if (link_.AdapterPortOpen != 1 || !settings_.UseElm327 || abandoned_)
            continue;
        // The reset's reply is not looked at; every later step shows its outcome.
        if (i > 0)
            showErrorIfFailed(result);
        if (result != reply::Failed)
            continue;
        if (lastWaitTimedOut_ && !toldNoAnswer) {
            toldNoAnswer = true;
            report(LinkProblem::NoAnswer, "the adapter on " + ports_.adapter.deviceName() + " does not answer (no reply to " +
                                              std::string(steps[i].command) + ")");
        } else if (!lastWaitTimedOut_ && !toldRefused) {
            toldRefused = true;
            report(LinkProblem::Refused, "the adapter on " + ports_.adapter.deviceName() + " refused " +
                                             std::string(steps[i].command) + " (\"?\")");
        }
    }
    inDialogue_ = false;
}

void AdapterControl::stopAcquisition()
{
    if (link_.AdapterPortOpen == 1) {
        inDialogue_ = true;
        if (state_ == RunState::Running) enter(RunState::Stopping);
        const auto result = settings_.UseElm327 ? send(Elm327Stop, Elm327Stop, true, StopTimeoutMs)
                                                : send(CanUsbStop, std::string(CanUsbStop) + '\r', true, StopTimeoutMs);
        inDialogue_ = false;
        link_.AdapterErrorSeen = false;
        showErrorIfFailed(result);
        link_.AdapterPortOpen = 0;
        showStopped();
        closeAllPorts();
    }
    if (settings_.Logfile)
        log_.close();
}

void AdapterControl::noteSilence(bool silent)
{
    if (!silent) {
        reported_[static_cast<std::size_t>(LinkProblem::Silent)] = false;
        return;
    }
    reportOnce(LinkProblem::Silent, "no frame from the adapter on " + ports_.adapter.deviceName() + " for " +
                                        std::to_string(SilenceSeconds) + " s");
}

void AdapterControl::abandonDialogues() { abandoned_ = true; }

void AdapterControl::report(LinkProblem problem, const std::string& line)
{
    reported_[static_cast<std::size_t>(problem)] = true;
    if (report_)
        report_(problem, line);
}

void AdapterControl::reportOnce(LinkProblem problem, const std::string& line)
{
    if (!reported_[static_cast<std::size_t>(problem)])
        report(problem, line);
}

std::string AdapterControl::deviceAndReason(const SerialPort& port)
{
    const std::string reason = port.errorText();
    return port.deviceName() + ": " + (reason.empty() ? std::string("no reason given") : reason);
}

void AdapterControl::restartMonitoring()
{
    // Not inside the start-up or stop dialogue, which decide the adapter's state themselves.
    if (!settings_.UseElm327 || link_.AdapterPortOpen != 1 || inDialogue_)
        return;
    link_.AdapterErrorSeen = false;
    link_.ReplyState = reply::Answered;
    link_.LastCommand = "ATMA";
    ports_.adapter.write("ATMA\r");
}

void AdapterControl::onCommandClick(int index)
{
    if (index == 0) {
        startAcquisition();
    } else {
        stopAcquisition();
    }
}

void AdapterControl::onDeviceLost(PortRole role)
{
    switch (role) {
    case PortRole::Adapter:
        if (link_.AdapterPortOpen == 1 || ports_.adapter.isOpen()) {
            // Nothing can be sent to a device that is gone: stop without the stop command,
            // keep what was logged and show why acquisition ended.
            link_.AdapterPortOpen = 0;
            link_.ReplyState = reply::Failed;
            report(LinkProblem::DeviceLost, "lost the adapter " + deviceAndReason(ports_.adapter));
            closeAllPorts();
            log_.close();
            adapterError_ = true;
            showStopped(RunState::Lost);
        }
        break;
    case PortRole::Gps:
        ports_.gps.close();
        notices_.tell("PROBLEME!",
                          "Le port GPS COM [" + std::to_string(settings_.PortNumGPS) + "] (" + ports_.gps.deviceName() +
                              ") ne répond plus. L'acquisition continue sans GPS.",
                          MessageIcon::Exclamation);
        break;
    case PortRole::Aux:
        ports_.aux.close();
        break;
    }
}

void AdapterControl::onInputEnded()
{
    inputEnded_ = true;
    if (link_.AdapterPortOpen == 1)
        stopAcquisition();
}

bool AdapterControl::isRunning() const
{
    const bool started = state_ == RunState::Starting || state_ == RunState::Running || state_ == RunState::Stopping;
    return started && link_.AdapterPortOpen == 1;
}

void AdapterControl::showStopped(RunState state)
{
    vehicle_.TripClockRunning = false; // the trip counts the time acquisition ran
    enter(state);
}

void AdapterControl::enter(RunState state) { state_ = state; }

void AdapterControl::closeAllPorts()
{
    ports_.adapter.close();
    ports_.aux.close();
    ports_.gps.close();
}

} // namespace vcm
