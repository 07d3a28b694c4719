#include "link/AdapterControl.h"

#include "link/LinkNotices.h"
#include "link/PortOpening.h"
#include "link/ReceivePath.h"
#include "logging/RunLog.h"

namespace vcm {

AdapterControl::AdapterControl(LinkState& link, const MonitorSettings& settings, Notices& notices, const Clock& clock,
                               EventPump& pump, LinkPorts ports, VehicleState& vehicle, RunLog& log,
                               ReceivePath& receive)
    : link_(link), settings_(settings), notices_(notices), clock_(clock), pump_(pump), ports_(ports), vehicle_(vehicle),
      log_(log), receive_(receive), dialogue_(link, clock, pump, ports.adapter), runStates_(vehicle, link)
{
    receive_.setMonitorRestart([this] { restartMonitoring(); });
}

void AdapterControl::openPorts()
{
    // GPS first. A receiver that cannot be opened does not keep the car's data from
    // being logged: the user is told which port failed and acquisition goes on without it.
    if (settings_.EnableGPS && settings_.PortNumGPS >= 1) {
        if (!reopenPort(ports_.gps, settings_.PortNumGPS, GpsSettings))
            tellGpsOpenFailed(notices_, settings_.PortNumGPS, ports_.gps.deviceName());
    }

    if (link_.AdapterPortOpen == 1)
        ports_.adapter.close();
    if (!reopenPort(ports_.adapter, settings_.PortNum, adapterSettingsText(settings_.BPS))) {
        link_.AdapterPortOpen = 0;
        ports_.gps.close();
        const std::string why = deviceAndReason(ports_.adapter);
        tellAdapterOpenFailed(notices_, settings_.PortNum, why);
        reportOnce(LinkProblem::OpenFailed, "cannot open the adapter port " + why);
        return;
    }
    link_.AdapterPortOpen = 1;
    reported_[static_cast<std::size_t>(LinkProblem::OpenFailed)] = false;

    // The auxiliary input is optional; without it acquisition goes on.
    if (settings_.PortNumM >= 1 && settings_.PortNumM != settings_.PortNum)
        reopenPort(ports_.aux, settings_.PortNumM, AuxSettings);
}

std::int16_t AdapterControl::sendCommand(std::string_view command, bool wait)
{
    std::string line(command);
    line += '\r';
    return dialogue_.send(command, line, wait, ReplyTimeoutMs);
}

void AdapterControl::showErrorIfFailed(std::int16_t result)
{
    adapterError_ = result == reply::Failed;
}

void AdapterControl::startAcquisition() { start(true); }

void AdapterControl::resumeAcquisition() { start(false); }

void AdapterControl::start(bool newTrip)
{
    if (dialogue_.abandoned())
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
        runStates_.stopped();
        return;
    }
    runStates_.starting();
    sendStartSequence();

    // A Stop click or a lost device during the dialogue has already shown the stopped state.
    if (link_.AdapterPortOpen != 1)
        return;
    runStates_.running();
}

void AdapterControl::sendStartSequence()
{
    inDialogue_ = true;
    bool toldNoAnswer = false, toldRefused = false;
    const auto& steps = settings_.UseElm327 ? Elm327Start : CanUsbStart;
    for (std::size_t i = 0; i < steps.size() && link_.AdapterPortOpen == 1 && !dialogue_.abandoned(); ++i) {
        const auto result = sendCommand(steps[i].command, steps[i].wait);
        // The CANUSB's results are not looked at; a stop or the host's end is no failure.
        if (link_.AdapterPortOpen != 1 || !settings_.UseElm327 || dialogue_.abandoned())
            continue;
        // The reset's reply is not looked at; every later step shows its outcome.
        if (i > 0)
            showErrorIfFailed(result);
        if (result != reply::Failed)
            continue;
        if (dialogue_.lastWaitTimedOut() && !toldNoAnswer) {
            toldNoAnswer = true;
            report(LinkProblem::NoAnswer, "the adapter on " + ports_.adapter.deviceName() + " does not answer (no reply to " +
                                              std::string(steps[i].command) + ")");
        } else if (!dialogue_.lastWaitTimedOut() && !toldRefused) {
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
        runStates_.stopping();
        const auto result = settings_.UseElm327
                                ? dialogue_.send(Elm327Stop, Elm327Stop, true, StopTimeoutMs)
                                : dialogue_.send(CanUsbStop, std::string(CanUsbStop) + '\r', true, StopTimeoutMs);
        inDialogue_ = false;
        link_.AdapterErrorSeen = false;
        showErrorIfFailed(result);
        link_.AdapterPortOpen = 0;
        runStates_.stopped();
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

void AdapterControl::abandonDialogues() { dialogue_.abandon(); }

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
            runStates_.stopped(RunState::Lost);
        }
        break;
    case PortRole::Gps:
        ports_.gps.close();
        tellGpsLost(notices_, settings_.PortNumGPS, ports_.gps.deviceName());
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

void AdapterControl::closeAllPorts()
{
    ports_.adapter.close();
    ports_.aux.close();
    ports_.gps.close();
}

} // namespace vcm
