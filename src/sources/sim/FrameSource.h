#pragma once
// Where the bus traffic of the simulated car comes from: the drive model or a
// recording. Time only moves forward.
#include "sources/sim/CanFrame.h"
#include "sources/sim/DriveModel.h"

#include <vector>

namespace vcm::sim {

class FrameSource {
public:
    virtual ~FrameSource() = default;
    // Appends to out, in time order, every frame due after the previous call and up
    // to untilMs (inclusive). untilMs never decreases from call to call.
    virtual void framesUntil(double untilMs, std::vector<CanFrame>& out) = 0;
    // The car's present state when a model drives the bus (the engine unit's records
    // use it); nothing for a recording.
    virtual const DriveSnapshot* car() const { return nullptr; }
};

} // namespace vcm::sim
