#pragma once
// Colour numbers in the 0x00BBGGRR layout of the window design: red 255, green 65280,
// blue 16711680. Only the window draws in colours; the core speaks of meanings.
#include <cstdint>

namespace vcm {

using Color = std::uint32_t;
constexpr Color rgb(unsigned r, unsigned g, unsigned b) { return (b << 16) | (g << 8) | r; }

namespace colors {
constexpr Color Red = 255;
constexpr Color Green = 65280;
constexpr Color Blue = 16711680;
constexpr Color White = 0xFFFFFF;
constexpr Color LightGrey = 0xC0C0C0;
constexpr Color LampDark = 3154206;        // 0x30211E, the lamp when the window opens
constexpr Color SystemText = 0x8000000A;   // "system colour": the window's normal text colour
} // namespace colors

} // namespace vcm
