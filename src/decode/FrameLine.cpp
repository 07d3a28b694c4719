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

} // namespace

bool readElm327Line(std::string_view line, FrameLine& out)
{
    // The prompt that ends "STOPPED" or "BUFFER FULL" has no line end of its own: the
    // first frame after monitoring restarts follows it on the same line.
    while (!line.empty() && line.front() == '>') line.remove_prefix(1);
    // "<RX ERROR", "<DATA ERROR": the adapter says the frame came in damaged.
    if (line.find('<') != std::string_view::npos) return false;
    if (line.size() < 3 || hexDigit(line[0]) < 0 || hexDigit(line[1]) < 0 || hexDigit(line[2]) < 0)
        return false;
    const std::size_t n = line.size();
    // The usual line: three-digit header and up to eight two-digit bytes, one space apart.
    if (n >= 6 && n <= 27 && n % 3 == 0 && line[3] == ' ') {
        const int count = static_cast<int>(n / 3 - 1);
        int bad = 0;
        for (int k = 1; k <= count; ++k) {
            const std::size_t p = static_cast<std::size_t>(3 * k);
            const int hi = hexDigit(line[p + 1]), lo = hexDigit(line[p + 2]);
            bad |= (line[p] != ' ' ? 0x100 : 0) | hi | lo; // a non-digit (-1) sets every bit
            out.byte[static_cast<std::size_t>(k)] = static_cast<std::int16_t>((hi << 4 | lo) & 0xFF);
        }
        if ((bad & ~0xF) == 0) {
            out.id = static_cast<std::uint32_t>(hexDigit(line[0]) << 8 | hexDigit(line[1]) << 4 | hexDigit(line[2]));
            out.count = count;
            return true;
        }
    }
    // Header token; 29-bit headers read as up to eight digits: no handler, but frames.
    std::size_t i = 0;
    std::uint32_t id = 0;
    for (; i < n && line[i] != ' '; ++i) {
        const int d = hexDigit(line[i]);
        if (d < 0 || i >= 8) return false;
        id = id << 4 | static_cast<std::uint32_t>(d);
    }
    if (i == n) return false; // no data token
    out.id = id;

    // Data tokens, each after one space: valid when one or two hexadecimal digits.
    int count = 0;
    while (i < n) {
        ++i; // the space
        if (i + 2 <= n && (i + 2 == n || line[i + 2] == ' ')) { // the usual two digits
            const int hi = hexDigit(line[i]), lo = hexDigit(line[i + 1]);
            if (hi >= 0 && lo >= 0) {
                if (++count <= 8) out.byte[static_cast<std::size_t>(count)] = static_cast<std::int16_t>(hi << 4 | lo);
                i += 2;
                continue;
            }
        }
        int value = 0, digits = 0;
        bool hex = true;
        for (; i < n && line[i] != ' '; ++i, ++digits) {
            const int d = hexDigit(line[i]);
            hex = hex && d >= 0;
            value = (value << 4 | (d & 15)) & 0xFFF;
        }
        if (++count <= 8)
            out.byte[static_cast<std::size_t>(count)] =
                hex && digits >= 1 && digits <= 2 ? static_cast<std::int16_t>(value) : FrameLine::kInvalid;
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
    int bad = 0;
    for (int k = 1; k <= d; ++k) {
        const int hi = hexDigit(line[static_cast<std::size_t>(2 * k + 2)]);
        const int lo = hexDigit(line[static_cast<std::size_t>(2 * k + 3)]);
        bad |= hi | lo; // a non-digit (-1) sets every bit
        out.byte[static_cast<std::size_t>(k)] = static_cast<std::int16_t>((hi << 4 | lo) & 0xFF);
    }
    return (bad & ~0xF) == 0;
}

} // namespace vcm
