#pragma once
// The log format of can-utils' candump (-l), one frame a line:
//     "(1700000000.123456) can0 3CA#0000000000"
// time stamp in seconds with six decimals, interface name, identifier in 3 hex digits,
// "#", data bytes as hex digits without separators. The reader turns the time stamp
// into milliseconds; it refuses extended (8-digit) identifiers, remote frames and
// CAN FD lines ("##"), which the simulated adapters never carry.
#include "link/sim/CanFrame.h"

#include <optional>
#include <string>
#include <string_view>

namespace vcm::sim {

// Appends the line for a frame at epochSeconds (its own timeMs is not used), with "\n".
void appendCandumpLine(std::string& out, const CanFrame& frame, double epochSeconds,
                       std::string_view interfaceName = "can0");

// The frame of one line (without its line end), timeMs = time stamp x 1000.
std::optional<CanFrame> parseCandumpLine(std::string_view line);

} // namespace vcm::sim
