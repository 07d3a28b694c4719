#pragma once
// The event pump of a Qt host: a yield runs the pending events once; a wait sleeps in
// the event loop until an event arrives (a serial arrival, a timer, input) or the time
// is up, so a command waiting for its reply costs no processor time.
#include "link/EventPump.h"

namespace vcm {

class QtEventPump final : public EventPump {
public:
    void yieldOnce() override;
    void waitForEvents(int maxMs) override;
};

} // namespace vcm
