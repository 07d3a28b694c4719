#pragma once
// The adapter hand-shake shared by the command sender, the receive path and the main
// tick. Everything runs on one thread; ReplyState is the only signal between a waiting
// command and the receive event that recognises its reply.
#include "common/DateTime.h"

#include <cstdint>
#include <string>

namespace vcm {

namespace reply {
constexpr std::int16_t Awaited = 0;  // a reply to the last command is awaited
constexpr std::int16_t Answered = 1; // reply received, or no wait was asked
constexpr std::int16_t Failed = 2;   // error reply or time-out
} // namespace reply

struct LinkState {
    std::int16_t ReplyState = reply::Failed;
    std::int16_t AdapterPortOpen = 0; // 1 while the adapter port is open
    std::string LastCommand;          // without its CR
    bool AdapterErrorSeen = false;    // ELM327 reported "FULL" or "ERROR"
    DateTime RunStart;                // when acquisition last started
};

} // namespace vcm
