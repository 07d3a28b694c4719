#pragma once
// One classic CAN frame as the simulated car puts it on the bus: an 11-bit identifier,
// up to eight data bytes and the time (milliseconds of simulated time) at which the
// frame finished on the bus.
#include <array>
#include <cstdint>

namespace vcm::sim {

struct CanFrame {
    double timeMs = 0;
    std::uint16_t id = 0;     // 0x000..0x7FF
    std::uint8_t length = 0;  // 0..8
    std::array<std::uint8_t, 8> data{};

    friend bool operator==(const CanFrame&, const CanFrame&) = default;
};

} // namespace vcm::sim
