#pragma once
// The battery current's moving average over the last 50 samples (BatteryCurrentAvg),
// which the current gauge, the battery power, the driving shares and the value log read.
// A sample is taken after every battery frame and once per main tick.
#include "common/Format.h"
#include "decode/VehicleState.h"

#include <array>
#include <cstdint>
#include <numeric>

namespace vcm {

class CurrentAverage {
public:
    static constexpr int Samples = 50;

    void sample(VehicleState& v)
    {
        // The sum is recomputed once per lap of the ring so it cannot drift.
        sum_ += v.BatteryCurrent - ring_[slot_];
        ring_[slot_] = v.BatteryCurrent;
        if (++slot_ >= Samples) {
            sum_ = std::accumulate(ring_.begin(), ring_.end(), std::int32_t{0});
            slot_ = 0;
        }
        v.BatteryCurrentAvg = static_cast<std::int16_t>(roundHalfEven(sum_ / double(Samples)));
    }

private:
    std::array<std::int16_t, Samples> ring_{};
    std::int32_t sum_ = 0;
    int slot_ = 0;
};

} // namespace vcm
