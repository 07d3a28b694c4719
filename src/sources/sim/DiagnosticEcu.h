#pragma once
// The engine control unit as the diagnostic requests on 7E2 meet it: it answers on 7EA
// with the ISO 15765-2 transport protocol. A request for record C3
//     7E2: 02 21 C3 00 00 00 00 00
// gets a first frame announcing 39 bytes (0x27), positive reply 61 C3 and four data bytes
//     7EA: 10 27 61 C3 d1 d2 d3 d4
// and, after the host's flow control (7E2: 30 00 00 ...), consecutive frames 21 to 25,
// seven bytes each (the last padded). Record C4 (17 bytes) works the same with
// frames 21 and 22. Other requests get a negative reply (7F 21 12).
#include "sources/sim/CanFrame.h"
#include "sources/sim/DriveModel.h"

#include <vector>

namespace vcm::sim {

class DiagnosticEcu {
public:
    static constexpr std::uint16_t kRequestId = 0x7E2;
    static constexpr std::uint16_t kReplyId = 0x7EA;

    // A frame the host put on the bus at time ms; the replies it causes are appended to
    // out with their times. The car's present state fills the records.
    void onFrame(const CanFrame& frame, double ms, const DriveSnapshot* car, std::vector<CanFrame>& out);

private:
    std::vector<std::uint8_t> record(std::uint8_t id, const DriveSnapshot* car) const;

    std::vector<std::uint8_t> pending_; // reply bytes after the first frame, sent on flow control
};

} // namespace vcm::sim
