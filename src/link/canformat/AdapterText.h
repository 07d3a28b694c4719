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
// The scanner goes the other way for exports: it cuts received text into lines as they
// complete and keeps the frames among them; adapter replies ("OK", ">", "z", version
// texts, "BUFFER FULL") are not frames and are counted apart.
#include "link/canformat/CanFrame.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vcm {

// The two text forms the adapters send.
enum class AdapterForm { Elm327, CanUsb };

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

// Reads a CANUSB transmit command "tIIILDD.." (without its CR); nothing when it is not
// one: wrong length digit, missing or extra digits, identifier above 7FF.
std::optional<CanFrame> parseLawicelTransmit(std::string_view command);

// One line without its terminator. ELM327: "3CA 00 A1" (3 hex digits, then 0..8 tokens
// of 2 hex digits). CANUSB: "t3CA200A1", also with the 4-digit time stamp the adapter
// adds in Z1 mode. Extended ("T...") and remote ("r", "R") frames give nothing: the
// car's bus carries neither.
std::optional<CanFrame> parseAdapterLine(std::string_view line, AdapterForm form);

class AdapterFrameScanner {
public:
    explicit AdapterFrameScanner(AdapterForm form) : form_(form) {}

    // Feeds received text; calls onFrame(frame) for every frame whose line ends in it.
    template <typename OnFrame>
    void feed(std::string_view text, OnFrame&& onFrame)
    {
        for (char c : text) {
            // ELM327 lines end in CR LF (the decoder's separator too); CANUSB lines in CR,
            // or in BEL, the adapter's error reply.
            const bool ends = form_ == AdapterForm::Elm327 ? (c == '\n' && !line_.empty() && line_.back() == '\r')
                                                           : (c == '\r' || c == '\a');
            if (!ends) {
                if (line_.size() < kMaxLine)
                    line_.push_back(c);
                else
                    line_.back() = c; // an overlong line is no frame; keep its last character for the CR check
                continue;
            }
            if (form_ == AdapterForm::Elm327)
                line_.pop_back();
            if (!line_.empty()) {
                if (auto frame = parseAdapterLine(line_, form_))
                    onFrame(*frame);
                else
                    ++otherLines_;
            }
            line_.clear();
        }
    }
    // Lines that were not frames (adapter replies, prompts, damaged lines).
    std::size_t otherLines() const { return otherLines_; }

private:
    static constexpr std::size_t kMaxLine = 256;
    AdapterForm form_;
    std::string line_;
    std::size_t otherLines_ = 0;
};

} // namespace vcm
