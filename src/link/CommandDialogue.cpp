#include "link/CommandDialogue.h"

#include <string>

namespace vcm {

std::int16_t CommandDialogue::send(std::string_view command, std::string_view bytes, bool wait, double timeoutMs)
{
    if (link_.AdapterPortOpen == 0)
        return 0;
    link_.ReplyState = reply::Awaited;
    link_.LastCommand = std::string(command);
    lastWaitTimedOut_ = false;
    adapter_.write(bytes);
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

} // namespace vcm
