#pragma once
// Hexadecimal digits of the text formats (upper case when written, either case read).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vcm::hex {

constexpr char kDigits[] = "0123456789ABCDEF";

namespace detail {
constexpr std::array<std::int8_t, 256> makeValues()
{
    std::array<std::int8_t, 256> t{};
    for (auto& v : t) v = -1;
    for (int c = 0; c < 16; ++c) {
        t[static_cast<unsigned char>(kDigits[c])] = static_cast<std::int8_t>(c);
        t[static_cast<unsigned char>("0123456789abcdef"[c])] = static_cast<std::int8_t>(c);
    }
    return t;
}
inline constexpr auto kValues = makeValues();
} // namespace detail

// Value of a hexadecimal digit, -1 for any other character (a table: the decoder reads
// every byte of the bus through it).
inline int value(char c) { return detail::kValues[static_cast<unsigned char>(c)]; }

// Value of an all-hex text (at most 8 digits), -1 when a character is not a digit.
inline long long number(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return -1;
    long long v = 0;
    for (char c : text) {
        const int d = value(c);
        if (d < 0)
            return -1;
        v = v * 16 + d;
    }
    return v;
}

inline void appendByte(std::string& out, unsigned byte)
{
    out.push_back(kDigits[(byte >> 4) & 15]);
    out.push_back(kDigits[byte & 15]);
}

inline void appendId(std::string& out, unsigned id)
{
    out.push_back(kDigits[(id >> 8) & 15]);
    appendByte(out, id & 0xFF);
}

} // namespace vcm::hex
