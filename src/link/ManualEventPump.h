#pragma once
// An event pump over a ManualClock: every wait moves the clock on by a fixed step and
// then lets the host's "events" run (a fake adapter answering, a simulated port
// pumping its traffic). Tests and the replay host use it; nothing sleeps.
#include "common/Clock.h"
#include "link/EventPump.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace vcm {

class ManualEventPump final : public EventPump {
public:
    explicit ManualEventPump(ManualClock& clock, double stepMs = 10) : clock_(clock), stepMs_(stepMs) {}

    // What runs on every yield and after every wait step.
    void setEvents(std::function<void()> events) { events_ = std::move(events); }

    void yieldOnce() override
    {
        ++yields_;
        if (events_)
            events_();
    }
    void waitForEvents(int maxMs) override
    {
        ++waits_;
        clock_.advance(std::min(stepMs_, static_cast<double>(maxMs)));
        if (events_)
            events_();
    }

    int yields() const { return yields_; }
    int waits() const { return waits_; }

private:
    ManualClock& clock_;
    double stepMs_;
    std::function<void()> events_;
    int yields_ = 0;
    int waits_ = 0;
};

} // namespace vcm
