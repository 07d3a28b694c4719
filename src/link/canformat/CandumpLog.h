#pragma once
// The log format of Linux can-utils (candump -l / -L, read by canplayer and most CAN
// tools): one frame per line, time stamp in seconds since 1970 (UTC) with microseconds,
// interface name, identifier '#' data bytes in hexadecimal:
//
//   (1700000000.123456) can0 3CA#0000000000
//   (1700000000.125987) can0 0B4#00000000000D2C4B
//
// Forms the car's bus cannot carry are recognised and skipped, not refused:
//   extended identifiers  (1700000000.2) can0 18DAF110#0210C0
//   remote requests       (1700000000.3) can0 7DF#R      or 7DF#R8
//   error frames          (1700000000.4) can0 20000080#0000000000000000
//   CAN FD                (1700000000.5) can0 123##1112233
//   CAN XL                (1700000000.6) can0 123###...
// A data length code above 8 after '_' ("123#1122334455667788_C") is accepted and dropped.
#include "link/canformat/CanFrame.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vcm {

struct CandumpLine {
    enum class Kind { Frame, Skipped, Blank, Malformed };
    Kind kind = Kind::Blank;
    std::int64_t timeUs = 0;      // microseconds since 1970-01-01 00:00:00 UTC
    std::string_view interface;   // "can0" (points into the parsed line)
    CanFrame frame;               // Kind::Frame only
    std::string_view reason;      // what was skipped, or what is wrong

    // A frame line, read or skipped: it carries a time stamp.
    bool stamped() const { return kind == Kind::Frame || kind == Kind::Skipped; }
};

// One line without its line end. Blank lines and lines starting with '#' are Blank.
CandumpLine parseCandumpLine(std::string_view line);

// Parses text line by line ('\n' ends a line; the last may lack it) and hands each line
// to visit, which returns false to stop.
template <class Visit>
void forEachCandumpLine(std::string_view text, Visit visit)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (!visit(parseCandumpLine(text.substr(0, end))) || end == std::string_view::npos)
            return;
        text.remove_prefix(end + 1);
    }
}

// Appends "(1700000000.123456) can0 3CA#0000000000\n".
void appendCandumpLine(std::string& out, std::int64_t timeUs, std::string_view interface, const CanFrame& frame);

} // namespace vcm
