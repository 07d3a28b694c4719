#pragma once
// The receive event of the adapter port and of the auxiliary port.
//
// Adapter port, one chunk s as read (serial reads split text anywhere):
//   raw log   <- s, with a marker line after its first line (RunLog::writeRaw)
//   ELM327    ">" after an "AT" command (or the blank stop command) -> ReplyState 1,
//             "?" -> ReplyState 2; decoder <- s; a report that ended monitoring
//             ("BUFFER FULL", "CAN ERROR": Elm327Reports.h) -> AdapterErrorSeen, kept
//             until monitoring restarts: at once when the prompt after it is read
//   CANUSB    any CR -> ReplyState 1, BEL while a reply is awaited -> 2; decoder <- s
//   every 11th chunk: the activity callback (the host blinks the activity lamp and,
//   while the tank is low, the tank figure).
// Auxiliary port: lines of four comma-separated numbers ending CR LF, e.g.
//   "120,80,5,3\r\n" -> auxValues {120, 80, 5, 3}; with US units the second is
//   converted km -> miles and the third litres -> US gallons.
#include "config/MonitorSettings.h"
#include "link/Elm327Reports.h"
#include "link/LinkState.h"
#include "link/SerialPort.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vcm {

class RunLog;

class ReceivePath {
public:
    using Decode = std::function<void(std::string_view received)>;
    using Activity = std::function<void()>;

    ReceivePath(LinkState& link, const MonitorSettings& settings, RunLog& log, SerialPort& adapter, SerialPort& aux,
                Decode decode, Activity activity);

    void onAdapterReceive();
    // A communication error (not a lost device): what has arrived is dropped.
    void onAdapterError(PortError error);
    void onAuxReceive();
    void onAuxError(PortError error);

    // Empties the receive buffers when acquisition starts.
    void clearBuffers();

    // Starts monitoring again once the ELM327 is back at its prompt after a report
    // (AdapterControl::restartMonitoring); clears AdapterErrorSeen when it sends.
    void setMonitorRestart(std::function<void()> restart) { restartMonitoring_ = std::move(restart); }

    const std::array<std::int32_t, 4>& auxValues() const { return auxValues_; }

    static constexpr int BlinkEvery = 11;

private:
    void recogniseElm327Reply(std::string_view chunk);
    void recogniseCanUsbReply(std::string_view chunk);
    void takeAuxLine(std::string_view line);

    LinkState& link_;
    const MonitorSettings& settings_;
    RunLog& log_;
    SerialPort& adapter_;
    SerialPort& aux_;
    Decode decode_;
    Activity activity_;

    std::function<void()> restartMonitoring_;
    Elm327Reports reports_;
    std::string auxLineBuffer_;
    std::array<std::int32_t, 4> auxValues_{};
    int rxEventCount_ = 0;
};

} // namespace vcm
