#pragma once
// For tests only: the live values behind Monitor's interfaces, to set up a scene that
// frames would take long to build.
#include "decode/VehicleState.h"
#include "run/MainTick.h"
#include "run/Monitor.h"

namespace vcm {

struct MonitorTestView {
    static VehicleState& vehicle(Monitor& m) { return m.vehicle_; }
    static const LinkState& link(const Monitor& m) { return m.link_; }
    static const ShareCounter& shares(const Monitor& m) { return m.mainTick_->shares(); }
};

} // namespace vcm
