#pragma once
// One classic CAN frame as the simulated car puts it on the bus, with the time
// (milliseconds of simulated time) at which the frame finished on the bus.
#include "link/canformat/CanFrame.h"

namespace vcm::sim {

struct CanFrame : vcm::CanFrame {
    double timeMs = 0;

    friend bool operator==(const CanFrame&, const CanFrame&) = default;
};

} // namespace vcm::sim
