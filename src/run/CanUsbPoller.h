#pragma once
// Why: the CANUSB only listens; the diagnostic record C3 comes only when asked, one
// frame per tick: "t7E280221C30000000000" (request), then "t7E283000000000000000"
// (flow control).
#include <cstdint>

namespace vcm {

struct VehicleState;
class AdapterControl;

class CanUsbPoller {
public:
    static constexpr const char* Request = "t7E280221C30000000000";
    static constexpr const char* FlowControl = "t7E283000000000000000";

    CanUsbPoller(AdapterControl& adapter, VehicleState& vehicle) : adapter_(adapter), vehicle_(vehicle) {}

    // The start-up dialogue is not interleaved with polling frames.
    void poll();

private:
    AdapterControl& adapter_;
    VehicleState& vehicle_;
    std::int16_t step_ = 0;
};

} // namespace vcm
