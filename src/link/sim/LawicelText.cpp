#include "link/sim/LawicelText.h"

#include "link/sim/HexText.h"

namespace vcm::sim {

void appendLawicelFrame(std::string& out, const CanFrame& frame, int timestampMs)
{
    out.push_back('t');
    appendHex(out, frame.id, 3);
    appendHex(out, frame.length, 1);
    for (std::size_t k = 0; k < frame.length; ++k)
        appendHex(out, frame.data[k], 2);
    if (timestampMs >= 0) appendHex(out, static_cast<unsigned>(timestampMs), 4);
    out.push_back('\r');
}

std::optional<CanFrame> parseLawicelTransmit(std::string_view command)
{
    if (command.size() < 5 || command[0] != 't') return std::nullopt;
    auto id = parseHex(command.substr(1, 3));
    int length = hexDigitValue(command[4]);
    if (!id || *id > 0x7FF || length < 0 || length > 8) return std::nullopt;
    if (command.size() != 5 + 2 * static_cast<std::size_t>(length)) return std::nullopt;
    CanFrame frame;
    frame.id = static_cast<std::uint16_t>(*id);
    frame.length = static_cast<std::uint8_t>(length);
    for (int k = 0; k < length; ++k) {
        auto byte = parseHex(command.substr(5 + 2 * static_cast<std::size_t>(k), 2));
        if (!byte) return std::nullopt;
        frame.data[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(*byte);
    }
    return frame;
}

} // namespace vcm::sim
