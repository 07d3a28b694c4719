#pragma once
// The line an ELM327 prints for one frame while monitoring (ATMA).
// With headers on (ATH1), spaces on (ATS1, the default), automatic formatting off
// (ATCAF0) and line feeds on (ATL1), frame 3CA with five zero bytes prints
//     "3CA 00 00 00 00 00\r\n"
// ATS0 drops the spaces ("3CA0000000000\r\n"), ATH0 the identifier, ATD1 adds the
// length digit after the identifier ("3CA 5 00 00 00 00 00"), ATL0 the line feed.
// With ATCAF1 a frame whose first byte is a valid single-frame length (01..07, less
// than the frame length) is shown without that byte and cut to the length it gives.
#include "link/sim/CanFrame.h"

#include <string>

namespace vcm::sim {

struct ElmFormat {
    bool headers = true;
    bool spaces = true;
    bool lineFeeds = true;
    bool showLength = false;
    bool autoFormat = false;
};

// Appends the frame's line, line end included.
void appendElmMonitorLine(std::string& out, const CanFrame& frame, const ElmFormat& format);

} // namespace vcm::sim
