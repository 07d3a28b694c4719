#pragma once
// The event loop as the adapter dialogue sees it. SendCommand lets other handlers (the
// receive event, the main tick, user input) run while it waits for a reply; the main and
// GPS ticks yield once. Qt hosts run a nested event loop, tests and replay move a
// ManualClock (ManualEventPump.h).
#include "common/Clock.h"

#include <functional>

namespace vcm {

class EventPump {
public:
    virtual ~EventPump() = default;
    // Runs the events already pending, once, without blocking.
    virtual void yieldOnce() = 0;
    // Runs events, sleeping until one arrives or maxMs have passed. The Clock the
    // waiter reads must have moved on by the time this returns without an event.
    virtual void waitForEvents(int maxMs) = 0;
};

// Runs the pump until done() holds or timeoutMs of clock ticks have passed, sleeping in
// the event loop between events instead of spinning. Returns done() at the end.
bool waitUntil(EventPump& pump, const Clock& clock, const std::function<bool()>& done, double timeoutMs);

} // namespace vcm
