#pragma once
// The two clocks every routine reads: the millisecond tick count of the system
// (GetTickCount's role: integration of fuel and distance, log "Timer" column) and
// the local date and time ("Now"). Hosts pass the system clock, tests and replay a
// clock they drive themselves.
#include "DateTime.h"

namespace vcm {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary origin; never decreases.
    virtual double tickCount() const = 0;
    virtual DateTime now() const = 0;
};

// The machine's clocks: a steady millisecond counter and the local wall time.
class SystemClock final : public Clock {
public:
    double tickCount() const override;
    DateTime now() const override;
};

// A clock moved by hand: tests and the replay of recordings.
class ManualClock final : public Clock {
public:
    ManualClock(double tick = 0, DateTime now = DateTime::fromCivil({2026, 12, 4, 9, 10, 0}))
        : tick_(tick), now_(now) {}
    double tickCount() const override { return tick_; }
    DateTime now() const override { return now_; }
    void setTick(double tick) { tick_ = tick; }
    void setNow(DateTime now) { now_ = now; }
    // Moves both clocks on by the given milliseconds, keeping their fractions in step.
    void advance(double ms);

private:
    double tick_;
    DateTime now_;
    double msRemainder_ = 0;
};

} // namespace vcm
