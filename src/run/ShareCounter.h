#pragma once
// The driving shares: every tick counts, and every tick the car moves counts for one of
// thermal, electric, glide or regeneration. The percentages (whole, truncated) are taken
// on moving ticks only; the trip file stores the last ones taken.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace vcm {

enum class DriveShare { Thermal, Electric, Glide, Regen };

// Below this average (tenths of an ampere) the battery drives the car on its own.
inline constexpr std::int16_t ElectricBelowCurrent = -60;

class ShareCounter {
public:
    // Which share a moving tick counts for (BatteryCurrentAvg in tenths of an ampere).
    static DriveShare classify(double injector, std::int16_t batteryCurrentAvg)
    {
        if (injector != 0) return DriveShare::Thermal;
        if (batteryCurrentAvg < ElectricBelowCurrent) return DriveShare::Electric;
        if (batteryCurrentAvg > 0) return DriveShare::Regen;
        return DriveShare::Glide;
    }

    void countTick() { runTicks_ += 1; }
    void countMoving(DriveShare share)
    {
        shareTicks_[static_cast<std::size_t>(share)] += 1;
        for (std::size_t i = 0; i < shareTicks_.size(); ++i)
            lastPercent_[i] = static_cast<int>(std::trunc(shareTicks_[i] * 100 / runTicks_));
    }

    double runTicks() const { return runTicks_; }
    double ticks(DriveShare share) const { return shareTicks_[static_cast<std::size_t>(share)]; }
    // In DriveShare order; zero before the first moving tick.
    const std::array<int, 4>& lastPercent() const { return lastPercent_; }
    int lastPercent(DriveShare share) const { return lastPercent_[static_cast<std::size_t>(share)]; }

private:
    double runTicks_ = 0;
    std::array<double, 4> shareTicks_{};
    std::array<int, 4> lastPercent_{};
};

} // namespace vcm
