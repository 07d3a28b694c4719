#pragma once
// Hexadecimal digits of the text formats (upper case when written, either case read).
#include <string>
#include <string_view>

namespace vcm::hex {

constexpr char kDigits[] = "0123456789ABCDEF";

inline int value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

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
