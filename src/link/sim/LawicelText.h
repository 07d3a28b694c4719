#pragma once
// Frames in the Lawicel (CANUSB) ASCII protocol, standard 11-bit identifiers:
// "t" + identifier (3 hex digits) + length (1 digit) + 2 hex digits per data byte.
//     frame 3CA with bytes 00 01 02 03 04   <->  "t3CA50001020304"
// A received frame goes to the host with a CR ("t3CA50001020304\r"), or with time
// stamps on (Z1) followed by 4 hex digits of milliseconds (0000..EA5F) before the CR:
// "t3CA500010203041A2B\r".
#include "link/sim/CanFrame.h"

#include <optional>
#include <string>
#include <string_view>

namespace vcm::sim {

// Appends the received-frame line, CR included; timestampMs < 0 means none.
void appendLawicelFrame(std::string& out, const CanFrame& frame, int timestampMs = -1);

// Reads a transmit command "tIIILDD.." (without its CR); nothing when it is not one:
// wrong length digit, missing or extra digits, identifier above 7FF.
std::optional<CanFrame> parseLawicelTransmit(std::string_view command);

} // namespace vcm::sim
