#pragma once
// The adapters' text form of one received frame, written and read back.
//
//   ELM327 monitor line (ATH1 headers, spaces on, ATL1 line feeds, ATCAF0 raw bytes):
//       frame 0x3CA, 5 bytes 00 A1 00 00 7F  ->  "3CA 00 A1 00 00 7F\r\n"
//     ATS0 drops the spaces ("3CA00A100007F\r\n"), ATH0 the identifier, ATD1 adds the
//     length digit after the identifier ("3CA 5 00 A1 00 00 7F"), ATL0 the line feed.
//     With ATCAF1 a frame whose first byte is a valid single-frame length (01..07, less
//     than the frame length) is shown without that byte and cut to the length it gives.
//   CANUSB (Lawicel ASCII): "t" + identifier (3 digits) + length (1 digit) + data bytes,
//       the same frame                       ->  "t3CA500A100007F\r"
//     with time stamps on (Z1) 4 hex digits of milliseconds (0000..EA5F) before the CR:
//                                            ->  "t3CA500A100007F1A2B\r"
//
// The scanner goes the other way for exports: adapter replies ("OK", ">", "z", version
// texts, "BUFFER FULL") are not frames and are counted apart.
#include "decode/AdapterLine.h"
#include "link/canformat/CanFrame.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vcm {

struct ElmFormat {
    bool headers = true;
    bool spaces = true;
    bool lineFeeds = true;
    bool showLength = false;
    bool autoFormat = false;
};

// Appends the frame's ELM327 monitor line, line end included.
void appendElmMonitorLine(std::string& out, const CanFrame& frame, const ElmFormat& format);

// Appends the CANUSB received-frame line, CR included; timestampMs < 0 means none.
void appendLawicelFrame(std::string& out, const CanFrame& frame, int timestampMs = -1);

// The line in the adapter's default form (ELM327 as above, CANUSB without time stamp).
void appendAdapterLine(std::string& out, const CanFrame& frame, AdapterForm form);

// A CANUSB transmit command "tIIILDD.." (without its CR); nothing when it is not one.
std::optional<CanFrame> parseLawicelTransmit(std::string_view command);

// One line without its terminator, read as a whole frame (readWholeFrame). Extended
// ("T...") and remote ("r", "R") frames give nothing: the car's bus carries neither.
std::optional<CanFrame> parseAdapterLine(std::string_view line, AdapterForm form);

// Cuts received text into lines as they complete (AdapterLine.h) and keeps the whole
// frames among them.
class AdapterFrameScanner {
public:
    explicit AdapterFrameScanner(AdapterForm form) : form_(form) {}

    // Feeds received text; calls onFrame(frame) for every frame whose line ends in it.
    template <typename OnFrame>
    void feed(std::string_view text, OnFrame&& onFrame)
    {
        lines_.feed(text, form_, [&](std::string_view line) {
            if (line.empty())
                return;
            if (auto frame = parseAdapterLine(line, form_))
                onFrame(*frame);
            else
                ++otherLines_;
        });
    }
    // Lines that were not frames (adapter replies, prompts, damaged lines).
    std::size_t otherLines() const { return otherLines_; }

private:
    AdapterForm form_;
    AdapterLineSplitter lines_;
    std::size_t otherLines_ = 0;
};

} // namespace vcm
