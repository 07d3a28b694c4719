#include "decode/FrameLine.h"

namespace vcm {
namespace {

// Value of a hexadecimal digit, -1 for any other character.
constexpr std::array<std::int8_t, 256> makeHexTable()
{
    std::array<std::int8_t, 256> t{};
    for (auto& v : t) v = -1;
    for (int c = '0'; c <= '9'; ++c) t[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) t[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) t[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'a' + 10);
    return t;
}
constexpr auto kHex = makeHexTable();

inline int hexDigit(char c) { return kHex[static_cast<unsigned char>(c)]; }

// Value of a run of hexadecimal digits, -1 when empty, too long or not hexadecimal.
long long hexValue(std::string_view s, std::size_t maxDigits)
{
    if (s.empty() || s.size() > maxDigits) return -1;
    long long v = 0;
    for (char c : s) {
        const int d = hexDigit(c);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

} // namespace

bool readElm327Line(std::string_view line, FrameLine& out)
{
    if (line.size() < 3 || hexDigit(line[0]) < 0 || hexDigit(line[1]) < 0 || hexDigit(line[2]) < 0)
        return false;
    std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return false; // no data token
    // 29-bit headers read as up to eight digits; they have no handler but are frames.
    const long long id = hexValue(line.substr(0, space), 8);
    if (id < 0) return false;
    out.id = static_cast<std::uint32_t>(id);

    int count = 0;
    std::size_t start = space + 1;
    while (true) {
        const std::size_t end = line.find(' ', start);
        const std::string_view token = line.substr(start, end == std::string_view::npos ? line.size() - start : end - start);
        ++count;
        if (count <= 8) {
            const long long v = hexValue(token, 2);
            out.byte[static_cast<std::size_t>(count)] = v < 0 ? FrameLine::kInvalid : static_cast<std::int16_t>(v);
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    out.count = count;
    return true;
}

bool readCanUsbLine(std::string_view line, FrameLine& out)
{
    while (!line.empty() && line.front() == '\a') line.remove_prefix(1);
    if (!line.empty() && line.front() == 't') line.remove_prefix(1);
    if (line.size() < 7) return false;
    const int d = hexDigit(line[3]);
    if (d < 1 || d > 8 || line.size() != static_cast<std::size_t>(2 * d + 4)) return false;
    const int i0 = hexDigit(line[0]), i1 = hexDigit(line[1]), i2 = hexDigit(line[2]);
    if (i0 < 0 || i1 < 0 || i2 < 0) return false;
    out.id = static_cast<std::uint32_t>(i0 << 8 | i1 << 4 | i2);
    out.count = d;
    for (int k = 1; k <= d; ++k) {
        const int hi = hexDigit(line[static_cast<std::size_t>(2 * k + 2)]);
        const int lo = hexDigit(line[static_cast<std::size_t>(2 * k + 3)]);
        if (hi < 0 || lo < 0) return false;
        out.byte[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(hi << 4 | lo);
    }
    return true;
}

} // namespace vcm
