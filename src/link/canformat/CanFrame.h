#pragma once
// One classic CAN data frame with an 11-bit identifier, as the car's bus carries it.
#include <array>
#include <cstdint>

namespace vcm {

struct CanFrame {
    std::uint16_t id = 0;     // 0x000..0x7FF
    std::uint8_t length = 0;  // 0..8 data bytes
    std::array<std::uint8_t, 8> data{};

    friend bool operator==(const CanFrame& a, const CanFrame& b)
    {
        if (a.id != b.id || a.length != b.length)
            return false;
        for (int i = 0; i < a.length; ++i)
            if (a.data[static_cast<std::size_t>(i)] != b.data[static_cast<std::size_t>(i)])
                return false;
        return true;
    }
};

} // namespace vcm
