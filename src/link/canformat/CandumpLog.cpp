#include "link/canformat/CandumpLog.h"

#include "common/Hex.h"

#include <cstdio>

namespace vcm {

namespace {

bool allDigits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

CandumpLine malformed(std::string_view why)
{
    CandumpLine r;
    r.kind = CandumpLine::Kind::Malformed;
    r.reason = why;
    return r;
}

} // namespace

CandumpLine parseCandumpLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    std::size_t p = 0;
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t'))
        ++p;
    line.remove_prefix(p);
    if (line.empty() || line[0] == '#')
        return {};

    // "(seconds.micro)"
    if (line[0] != '(')
        return malformed("expected a time stamp \"(seconds.microseconds)\"");
    const std::size_t close = line.find(')');
    if (close == std::string_view::npos)
        return malformed("time stamp not closed by ')'");
    const std::string_view stamp = line.substr(1, close - 1);
    const std::size_t dot = stamp.find('.');
    const std::string_view secs = stamp.substr(0, dot);
    std::string_view frac = dot == std::string_view::npos ? std::string_view() : stamp.substr(dot + 1);
    if (!allDigits(secs) || secs.size() > 12 || (dot != std::string_view::npos && !allDigits(frac)))
        return malformed("time stamp is not \"(seconds.microseconds)\"");
    std::int64_t seconds = 0;
    for (char c : secs)
        seconds = seconds * 10 + (c - '0');
    std::int64_t micros = 0;
    for (std::size_t i = 0; i < 6; ++i)
        micros = micros * 10 + (i < frac.size() ? frac[i] - '0' : 0);

    // " can0 "
    std::string_view rest = line.substr(close + 1);
    const std::size_t ifStart = rest.find_first_not_of(" \t");
    if (ifStart == std::string_view::npos)
        return malformed("interface name and frame missing");
    rest.remove_prefix(ifStart);
    const std::size_t ifEnd = rest.find_first_of(" \t");
    if (ifEnd == std::string_view::npos)
        return malformed("frame missing after the interface name");
    CandumpLine r;
    r.timeUs = seconds * 1000000 + micros;
    r.interface = rest.substr(0, ifEnd);
    rest.remove_prefix(ifEnd);
    rest.remove_prefix(rest.find_first_not_of(" \t"));
    // Newer can-utils may add a direction flag (" R" / " T") after the frame: ignore it.
    const std::string_view frameText = rest.substr(0, rest.find_first_of(" \t"));

    const std::size_t hash = frameText.find('#');
    if (hash == std::string_view::npos)
        return malformed("frame has no '#' between identifier and data");
    const std::string_view idText = frameText.substr(0, hash);
    std::string_view data = frameText.substr(hash + 1);
    const long long id = hex::number(idText);
    if (id < 0 || (idText.size() != 3 && idText.size() != 8))
        return malformed("identifier is not 3 or 8 hexadecimal digits");

    r.kind = CandumpLine::Kind::Skipped;
    if (!data.empty() && data[0] == '#') {
        r.reason = data.size() > 1 && data[1] == '#' ? "CAN XL frame" : "CAN FD frame";
        return r;
    }
    if (idText.size() == 8) {
        r.reason = (id & 0x20000000) ? "error frame" : "extended identifier";
        return r;
    }
    if (!data.empty() && (data[0] == 'R' || data[0] == 'r')) {
        r.reason = "remote request";
        return r;
    }
    if (const std::size_t dlc = data.find('_'); dlc != std::string_view::npos) {
        const int code = data.size() == dlc + 2 ? hex::value(data[dlc + 1]) : -1;
        if (code < 9)
            return malformed("data length code after '_' is not 9..F");
        data = data.substr(0, dlc);
    }
    if (id > 0x7FF)
        return malformed("standard identifier above 7FF");
    if (data.size() % 2 != 0)
        return malformed("data has an odd number of hexadecimal digits");
    if (data.size() > 16)
        return malformed("more than 8 data bytes in a classic frame");
    for (std::size_t i = 0; i < data.size() / 2; ++i) {
        const long long b = hex::number(data.substr(2 * i, 2));
        if (b < 0)
            return malformed("data is not hexadecimal");
        r.frame.data[i] = static_cast<std::uint8_t>(b);
    }
    r.kind = CandumpLine::Kind::Frame;
    r.frame.id = static_cast<std::uint16_t>(id);
    r.frame.length = static_cast<std::uint8_t>(data.size() / 2);
    return r;
}

void appendCandumpLine(std::string& out, std::int64_t timeUs, std::string_view interface, const CanFrame& frame)
{
    char stamp[40];
    const std::int64_t seconds = timeUs / 1000000;
    const std::int64_t micros = timeUs % 1000000;
    const int n = std::snprintf(stamp, sizeof stamp, "(%010lld.%06lld) ", static_cast<long long>(seconds),
                                static_cast<long long>(micros));
    out.append(stamp, static_cast<std::size_t>(n));
    out += interface;
    out.push_back(' ');
    hex::appendId(out, frame.id);
    out.push_back('#');
    for (int i = 0; i < frame.length; ++i)
        hex::appendByte(out, frame.data[static_cast<std::size_t>(i)]);
    out.push_back('\n');
}

} // namespace vcm
