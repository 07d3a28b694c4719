#pragma once
// Assembles the engine unit's diagnostic replies on identifier 7EA (CANUSB only) into
// the texts the value log appends to each row. Each reply is an ISO 15765-2 first frame
// followed by consecutive frames 21, 22, ... ; every byte is written as a decimal number.
//
//   t7EA8102761C30C00FF03   first frame of record C3: C3Head = "12;0;255;3", kind "C3"
//   t7EA82101020304050607   consecutive frame 21:     DiagPart[0] = ";1;2;3;4;5;6;7"
//
// C3 takes frames 21..25 (4 + 35 values), C4 frames 21..22 (4 + 14 values). The body of a
// reply is the join of the last frame of each number received for that reply, so it
// always holds the right number of values in order, even when a frame was lost or
// repeated (a lost 21 would otherwise glue frames of two replies together, and repeated
// frames would grow the body and the log row without limit).
#include "decode/VehicleState.h"

#include <array>
#include <cstdint>
#include <string>

namespace vcm {

class DiagReplyAssembler {
public:
    // dataByte: the data bytes 1..8 of the 7EA frame (index 0 unused), of which the
    // frame carried `count`; bytes above it keep the previous frame's values.
    void onFrame(VehicleState& state, const std::array<std::int16_t, 9>& dataByte, int count);

private:
    std::array<std::string, 5> c3Parts_;
    std::array<std::string, 2> c4Parts_;
};

} // namespace vcm
