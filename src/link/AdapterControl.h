#pragma once
// The adapter link's conductor: opens the ports (PortOpening), runs the adapters'
// start-up and stop dialogues (CommandDialogue), keeps the run state (RunStates) and
// tells the user and the host's report what went wrong (LinkNotices, LinkReport).
// adapterError() is a failed adapter command or a lost adapter.
#include "common/Clock.h"
#include "common/Notices.h"
#include "config/MonitorSettings.h"
#include "decode/VehicleState.h"
#include "link/EventPump.h"
#include "link/CommandDialogue.h"
#include "link/LinkState.h"
#include "link/RunStates.h"
#include "link/SerialPort.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vcm {

class RunLog;
class ReceivePath;

enum class PortRole { Adapter, Aux, Gps };

struct LinkPorts {
    SerialPort& adapter;
    SerialPort& aux;
    SerialPort& gps;
};

// Problems of the adapter link, each told once as it happens (a host without a window
// prints them): the line names the device and, where the system gives one, the reason.
enum class LinkProblem { OpenFailed, NoAnswer, Refused, Silent, DeviceLost };
using LinkReport = std::function<void(LinkProblem problem, const std::string& line)>;

class AdapterControl {
public:
    // Long enough for the slowest reply: "ATZ" resets the ELM327 in about a second.
    static constexpr double ReplyTimeoutMs = 2000;
    // The stop is answered within a line's time; a silent adapter does not hold up the end.
    static constexpr double StopTimeoutMs = 500;
    static constexpr int SilenceSeconds = 5;

    AdapterControl(LinkState& link, const MonitorSettings& settings, Notices& notices, const Clock& clock, EventPump& pump,
                   LinkPorts ports, VehicleState& vehicle, RunLog& log, ReceivePath& receive);

    // Opens the GPS, adapter and auxiliary ports; the outcome is LinkState::AdapterPortOpen.
    void openPorts();
    // Sends command + CR on the adapter port and, with wait, awaits the reply for up to
    // ReplyTimeoutMs (CommandDialogue::send).
    std::int16_t sendCommand(std::string_view command, bool wait);
    void startAcquisition();
    // Starts again after a lost adapter without starting a new trip: distance, fuel and
    // the run's start stay; the time without the adapter counts for neither.
    void resumeAcquisition();
    void stopAcquisition();
    // The ELM327 left monitoring on a report and is at its prompt: "ATMA" goes out at
    // once, without a wait or a yield (it is called from the receive event).
    void restartMonitoring();
    // A click on Start (0) or Stop (any other index).
    void onCommandClick(int index);
    // A port's device went away (USB unplugged, Bluetooth dropped).
    void onDeviceLost(PortRole role);
    // The adapter's input ended (a candump pipe closed): stopped as by Stop.
    void onInputEnded();
    // True from then until the next start.
    bool inputEnded() const { return inputEnded_; }

    // The main tick's watchdog: true while no frame has come for SilenceSeconds (told
    // once per silence), false once frames flow.
    void noteSilence(bool silent);
    // The host is ending: every wait ends at once and no start-up dialogue begins.
    void abandonDialogues();
    void setReport(LinkReport report) { report_ = std::move(report); }

    // The main tick's test: started (and not yet stopped) with the adapter port open.
    bool isRunning() const { return runStates_.isRunning(); }
    RunState runState() const { return runStates_.state(); }
    bool adapterError() const { return adapterError_; }
    // True while the start-up or stop dialogue is being sent: the main tick then sends
    // nothing of its own, so that no command lands in the middle of the dialogue.
    bool dialogueInProgress() const { return inDialogue_; }
    // The stopped state (the trip clock stops with it).
    void showStopped(RunState state = RunState::Stopped) { runStates_.stopped(state); }

private:
    void start(bool newTrip);
    void report(LinkProblem problem, const std::string& line);
    // Told again only after the problem has gone away (a successful open, frames).
    void reportOnce(LinkProblem problem, const std::string& line);
    void sendStartSequence();
    void showErrorIfFailed(std::int16_t result);
    void closeAllPorts();

    LinkState& link_;
    const MonitorSettings& settings_;
    Notices& notices_;
    const Clock& clock_;
    EventPump& pump_;
    LinkPorts ports_;
    VehicleState& vehicle_;
    RunLog& log_;
    ReceivePath& receive_;
    CommandDialogue dialogue_;
    RunStates runStates_;
    bool adapterError_ = false;
    bool inDialogue_ = false;
    bool inputEnded_ = false;
    LinkReport report_;
    std::array<bool, 5> reported_{};
};

} // namespace vcm
