#pragma once
// A port's settings text as the settings store and the adapter dialogue write it:
//   "500000,N,8,1"  -> 500000 bit/s, no parity, 8 data bits, 1 stop bit
//   "4800,E,7,2"    -> parity even (N, E, O, M mark, S space), 7 data bits, 2 stop bits
#include <optional>
#include <string_view>

namespace vcm {

struct SerialSettings {
    int baud = 0;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;
};

// Nothing when the text is not of that form (a missing or zero speed, an unknown parity,
// data bits outside 5..8, stop bits other than 1 or 2).
std::optional<SerialSettings> parseSerialSettings(std::string_view text);

} // namespace vcm
