#include "decode/AdapterLine.h"

#include "common/Hex.h"

namespace vcm {
namespace {

inline int hexDigit(char c) { return hex::value(c); }

} // namespace

std::size_t AdapterLineSplitter::endOfFirstLine(std::string_view text, AdapterForm form, bool afterCr)
{
    if (form == AdapterForm::Elm327) {
        if (afterCr && !text.empty() && text.front() == '\n') return 1;
        const auto p = text.find("\r\n");
        return p == std::string_view::npos ? p : p + 2;
    }
    const auto p = text.find_first_of("\r\a");
    return p == std::string_view::npos ? p : p + 1;
}

// Keeps the newest kMaxPending characters of the pending text (with `append`) and text,
// without ever holding more.
void AdapterLineSplitter::keepNewest(std::string_view text, bool append)
{
    if (!append) pending_.clear();
    if (text.size() >= kMaxPending) {
        pending_.assign(text.substr(text.size() - kMaxPending));
        return;
    }
    const std::size_t total = pending_.size() + text.size();
    if (total > kMaxPending) pending_.erase(0, total - kMaxPending);
    pending_.append(text);
}

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

namespace {

// The decoder's reading, and nothing it lets pass: a header of exactly three digits
// followed by whole two-digit bytes, as the sizes 3 + 3 x count and the space at 3 show.
bool readWholeElm327Line(std::string_view line, FrameLine& out)
{
    if (line.size() == 3) {
        const long long id = hex::number(line);
        out.id = static_cast<std::uint32_t>(id);
        out.count = 0;
        return id >= 0 && id <= 0x7FF;
    }
    if (line.size() < 6 || line[0] == '>' || line[3] != ' ' || !readElm327Line(line, out) || out.count > 8 ||
        line.size() != 3 + 3 * static_cast<std::size_t>(out.count) || out.id > 0x7FF)
        return false;
    for (int k = 1; k <= out.count; ++k)
        if (!out.valid(k)) return false;
    return true;
}

bool readWholeCanUsbLine(std::string_view line, FrameLine& out, bool allowStamp)
{
    if (line.size() < 5 || line[0] != 't') return false;
    const int length = hexDigit(line[4]);
    if (length < 0 || length > 8) return false;
    const std::size_t plain = 5 + 2 * static_cast<std::size_t>(length);
    if (line.size() != plain && !(allowStamp && line.size() == plain + 4)) return false;
    for (char c : line.substr(1))
        if (hexDigit(c) < 0) return false;
    out.id = static_cast<std::uint32_t>(hex::number(line.substr(1, 3)));
    out.count = length;
    for (int k = 1; k <= length; ++k)
        out.byte[static_cast<std::size_t>(k)] =
            static_cast<std::int16_t>(hex::number(line.substr(3 + 2 * static_cast<std::size_t>(k), 2)));
    return out.id <= 0x7FF;
}

} // namespace

bool readWholeFrame(std::string_view line, AdapterForm form, FrameLine& out)
{
    return form == AdapterForm::Elm327 ? readWholeElm327Line(line, out) : readWholeCanUsbLine(line, out, true);
}

bool readCanUsbTransmit(std::string_view command, FrameLine& out)
{
    return readWholeCanUsbLine(command, out, false);
}

} // namespace vcm
