#include "link/sim/CandumpText.h"

#include "link/sim/HexText.h"

#include <cmath>
#include <cstdio>

namespace vcm::sim {

void appendCandumpLine(std::string& out, const CanFrame& frame, double epochSeconds, std::string_view interfaceName)
{
    // Whole microseconds, so the text never shows a rounding of the binary value.
    auto micros = static_cast<long long>(std::llround(epochSeconds * 1e6));
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "(%lld.%06lld) ", micros / 1000000, micros % 1000000);
    out += stamp;
    out += interfaceName;
    out.push_back(' ');
    appendHex(out, frame.id, 3);
    out.push_back('#');
    for (std::size_t k = 0; k < frame.length; ++k)
        appendHex(out, frame.data[k], 2);
    out.push_back('\n');
}

std::optional<CanFrame> parseCandumpLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    if (line.size() < 3 || line[0] != '(') return std::nullopt;
    auto close = line.find(')');
    if (close == std::string_view::npos) return std::nullopt;
    auto stamp = line.substr(1, close - 1);
    auto dot = stamp.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    long long seconds = 0, micros = 0;
    int fractionDigits = 0;
    for (char c : stamp.substr(0, dot)) {
        if (c < '0' || c > '9') return std::nullopt;
        seconds = seconds * 10 + (c - '0');
    }
    for (char c : stamp.substr(dot + 1)) {
        if (c < '0' || c > '9' || fractionDigits == 6) return std::nullopt;
        micros = micros * 10 + (c - '0');
        ++fractionDigits;
    }
    if (dot == 0 || fractionDigits == 0) return std::nullopt;
    while (fractionDigits < 6) { micros *= 10; ++fractionDigits; }

    auto rest = line.substr(close + 1);
    auto start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos) return std::nullopt;
    rest = rest.substr(start);
    auto space = rest.find(' ');
    if (space == std::string_view::npos || space == 0) return std::nullopt;
    auto body = rest.substr(space + 1);
    auto hash = body.find('#');
    if (hash != 3) return std::nullopt; // 11-bit identifiers only
    auto id = parseHex(body.substr(0, 3));
    auto data = body.substr(4);
    if (!id || *id > 0x7FF || data.size() % 2 != 0 || data.size() > 16) return std::nullopt;

    CanFrame frame;
    frame.timeMs = static_cast<double>(seconds) * 1000.0 + static_cast<double>(micros) / 1000.0;
    frame.id = static_cast<std::uint16_t>(*id);
    frame.length = static_cast<std::uint8_t>(data.size() / 2);
    for (std::size_t k = 0; k < frame.length; ++k) {
        auto byte = parseHex(data.substr(2 * k, 2));
        if (!byte) return std::nullopt;
        frame.data[k] = static_cast<std::uint8_t>(*byte);
    }
    return frame;
}

} // namespace vcm::sim
