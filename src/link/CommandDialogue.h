#pragma once
// Why: the adapter answers one command at a time; a command goes out and its reply is
// awaited here, and the adapters' start-up and stop sequences are data, not code.
//
// Bytes on the wire (every command ends in one CR, nothing else is added):
//   ELM327 start  "ATZ\r" "ATSP6\r" "ATE0\r" "ATH1\r" "ATL1\r" "ATCAF0\r" "ATMA\r"
//   ELM327 stop   " "  one character, no CR (it ends monitoring; the adapter answers
//                 "STOPPED" and ">"; a CR would repeat "ATMA")
//   CANUSB start  "\r\r\r\r" "V\r" "N\r" "S6\r" "Z0\r" "X1\r" "O\r"
//   CANUSB stop   "C\r"
#include "common/Clock.h"
#include "link/EventPump.h"
#include "link/LinkState.h"
#include "link/SerialPort.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace vcm {

struct DialogueStep {
    std::string_view command;
    bool wait;
};

inline constexpr std::array<DialogueStep, 7> Elm327Start{{
    {"ATZ", true}, {"ATSP6", true}, {"ATE0", true}, {"ATH1", true}, {"ATL1", true}, {"ATCAF0", true}, {"ATMA", false},
}};

// Three CRs plus the one every command ends in empty the adapter's command buffer.
inline constexpr std::array<DialogueStep, 7> CanUsbStart{{
    {"\r\r\r", false}, {"V", true}, {"N", false}, {"S6", true}, {"Z0", true}, {"X1", true}, {"O", false},
}};

// Any character ends monitoring and is itself discarded; the adapter finishes its line,
// reports "STOPPED" and shows its prompt. Nothing may follow: a CR on its own repeats
// the last command, which is "ATMA". A space is harmless if the adapter was already at
// its prompt, since commands ignore spaces.
inline constexpr std::string_view Elm327Stop = " ";
inline constexpr std::string_view CanUsbStop = "C";

class CommandDialogue {
public:
    CommandDialogue(LinkState& link, const Clock& clock, EventPump& pump, SerialPort& adapter)
        : link_(link), clock_(clock), pump_(pump), adapter_(adapter)
    {
    }

    // Writes bytes as they are (LastCommand becomes command). With wait, runs the event
    // loop until the receive path recognises the reply or timeoutMs pass. Returns
    // reply::Answered (or no wait asked), reply::Failed (error reply or time-out), or
    // 0 when the adapter port is not open.
    std::int16_t send(std::string_view command, std::string_view bytes, bool wait, double timeoutMs);
    // The last failed wait ended on its time-out, not on an error reply.
    bool lastWaitTimedOut() const { return lastWaitTimedOut_; }
    // The host is ending: every wait ends at once.
    void abandon() { abandoned_ = true; }
    bool abandoned() const { return abandoned_; }

private:
    LinkState& link_;
    const Clock& clock_;
    EventPump& pump_;
    SerialPort& adapter_;
    bool abandoned_ = false;
    bool lastWaitTimedOut_ = false;
};

} // namespace vcm
