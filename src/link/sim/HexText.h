#pragma once
// Hexadecimal digits as the adapters and candump write them: upper case.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vcm::sim {

inline void appendHex(std::string& out, unsigned value, int digits)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.push_back(kDigits[(value >> shift) & 0xF]);
}

inline int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The value of a run of hex digits; nothing when empty or when a character is not one.
inline std::optional<std::uint32_t> parseHex(std::string_view text)
{
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (char c : text) {
        int d = hexDigitValue(c);
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return v;
}

} // namespace vcm::sim
