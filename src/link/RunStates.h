#pragma once
// Why: the run's state changes in one place, and the trip clock follows them: the trip
// counts only the time acquisition runs.
#include "common/RunState.h"
#include "decode/VehicleState.h"
#include "link/LinkState.h"

namespace vcm {

class RunStates {
public:
    RunStates(VehicleState& vehicle, const LinkState& link) : vehicle_(vehicle), link_(link) {}

    RunState state() const { return state_; }
    // Started (and not yet stopped) with the adapter port open.
    bool isRunning() const
    {
        const bool started = state_ == RunState::Starting || state_ == RunState::Running || state_ == RunState::Stopping;
        return started && link_.AdapterPortOpen == 1;
    }

    void starting() { state_ = RunState::Starting; }
    void running()
    {
        vehicle_.TripClockRunning = true;
        state_ = RunState::Running;
    }
    void stopping()
    {
        if (state_ == RunState::Running)
            state_ = RunState::Stopping;
    }
    // Stopped or Lost.
    void stopped(RunState state = RunState::Stopped)
    {
        vehicle_.TripClockRunning = false;
        state_ = state;
    }

private:
    VehicleState& vehicle_;
    const LinkState& link_;
    RunState state_ = RunState::Stopped;
};

} // namespace vcm
