#include "logging/RawMarker.h"

#include "common/Format.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace vcm {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool digitsOnly(std::string_view s)
{
    if (s.empty() || s.size() > 15)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// At most 15 digits (digitsOnly): summed as an integer, which is exact and, unlike a
// floating-point sum, does not wait on each digit's multiply-add.
double toNumber(std::string_view digits)
{
    std::uint64_t v = 0;
    for (char c : digits)
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    return static_cast<double>(v);
}

// Reads "dd/mm/yyyy", "yyyy-mm-dd" at text[at]; advances at.
std::optional<CivilTime> readDate(std::string_view text, std::size_t& at)
{
    auto num = [&](std::size_t pos, std::size_t n) -> int {
        if (pos + n > text.size())
            return -1;
        const std::string_view d = text.substr(pos, n);
        return digitsOnly(d) ? static_cast<int>(toNumber(d)) : -1;
    };
    CivilTime c;
    if (at + 10 <= text.size() && text[at + 2] == '/' && text[at + 5] == '/') {
        c.day = num(at, 2), c.month = num(at + 3, 2), c.year = num(at + 6, 4);
    } else if (at + 10 <= text.size() && text[at + 4] == '-' && text[at + 7] == '-') {
        c.year = num(at, 4), c.month = num(at + 5, 2), c.day = num(at + 8, 2);
    } else {
        return std::nullopt;
    }
    if (c.year < 1970 || c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31)
        return std::nullopt;
    at += 10;
    return c;
}

} // namespace

void appendRawChunk(std::string& out, std::string_view chunk, DateTime now, double tickMs)
{
    const std::size_t crlf = chunk.find(kLineEnd);
    const std::size_t head = crlf == std::string_view::npos ? 1 : crlf + 2;
    out.append(chunk.substr(0, head));
    out += '#';
    out += formatDateTime(now, "dd/mm/yyyy");
    out += ' ';
    out += formatDateTime(now, "hh:mm:ss");
    out += '_';
    appendNumber(out, tickMs, NumberPattern::Whole, '.');
    out += '_';
    out += std::to_string(chunk.size());
    out += '#';
    out += kLineEnd;
    out.append(chunk.substr(head));
}

std::optional<RawMarker> parseRawMarker(std::string_view line)
{
    if (line.size() < 5 || line.front() != '#' || line.back() != '#')
        return std::nullopt;
    const std::string_view inner = line.substr(1, line.size() - 2);
    const std::size_t lenSep = inner.rfind('_');
    if (lenSep == std::string_view::npos)
        return std::nullopt;
    const std::size_t tickSep = inner.rfind('_', lenSep == 0 ? 0 : lenSep - 1);
    if (tickSep == std::string_view::npos || tickSep >= lenSep)
        return std::nullopt;
    const std::string_view tick = inner.substr(tickSep + 1, lenSep - tickSep - 1);
    const std::string_view length = inner.substr(lenSep + 1);
    if (!digitsOnly(tick) || !digitsOnly(length) || length.size() > 9)
        return std::nullopt;
    RawMarker m;
    m.stamp = inner.substr(0, tickSep);
    m.tick = toNumber(tick);
    m.length = static_cast<std::size_t>(toNumber(length));
    if (m.length == 0)
        return std::nullopt;
    return m;
}

std::optional<MarkerTime> parseMarkerStamp(std::string_view stamp)
{
    MarkerTime t;
    std::size_t at = 0;
    while (at < stamp.size() && stamp[at] == ' ')
        ++at;
    if (auto d = readDate(stamp, at)) {
        t.date = d;
        while (at < stamp.size() && (stamp[at] == ' ' || stamp[at] == 'T'))
            ++at;
    }
    if (at + 8 > stamp.size() || stamp[at + 2] != ':' || stamp[at + 5] != ':')
        return std::nullopt;
    const std::string_view h = stamp.substr(at, 2), m = stamp.substr(at + 3, 2), s = stamp.substr(at + 6, 2);
    if (!digitsOnly(h) || !digitsOnly(m) || !digitsOnly(s))
        return std::nullopt;
    t.hour = static_cast<int>(toNumber(h));
    t.minute = static_cast<int>(toNumber(m));
    t.second = static_cast<int>(toNumber(s));
    if (t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    return t;
}

std::optional<std::size_t> rawPrefixLength(std::string_view text, std::size_t& markerLength, RawMarker* marker)
{
    auto markerAt = [&](std::size_t pos) -> bool {
        if (pos >= text.size() || text[pos] != '#')
            return false;
        const std::size_t end = text.substr(pos, kLongestRawMarker).find("\r\n");
        if (end == std::string_view::npos)
            return false;
        const auto parsed = parseRawMarker(text.substr(pos, end));
        if (!parsed)
            return false;
        markerLength = end + 2;
        if (marker)
            *marker = *parsed;
        return true;
    };
    if (markerAt(1))
        return 1;
    const std::size_t crlf = text.find("\r\n");
    if (crlf != std::string_view::npos && markerAt(crlf + 2))
        return crlf + 2;
    return std::nullopt;
}

std::string withoutRawMarkers(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        std::size_t markerLength = 0;
        RawMarker marker;
        const auto prefix = rawPrefixLength(text, markerLength, &marker);
        if (!prefix || marker.length < *prefix) {
            out.append(text);
            break;
        }
        const std::size_t rest = std::min(marker.length - *prefix, text.size() - *prefix - markerLength);
        out.append(text.substr(0, *prefix));
        out.append(text.substr(*prefix + markerLength, rest));
        text.remove_prefix(*prefix + markerLength + rest);
    }
    return out;
}

std::optional<CivilTime> logSetDate(const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename().string();
    const std::size_t at = name.find("CAN_");
    if (at == std::string::npos || name.size() < at + 12)
        return std::nullopt;
    const std::string_view d = std::string_view(name).substr(at + 4, 8);
    if (!digitsOnly(d))
        return std::nullopt;
    CivilTime c;
    c.day = static_cast<int>(toNumber(d.substr(0, 2)));
    c.month = static_cast<int>(toNumber(d.substr(2, 2)));
    c.year = static_cast<int>(toNumber(d.substr(4, 4)));
    if (c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31)
        return std::nullopt;
    return c;
}

} // namespace vcm
