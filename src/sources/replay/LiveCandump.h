#pragma once
// candump -L lines arriving live (a pipe from "candump -L can0", or a file that candump
// is still writing) turned into the text the configured adapter would send, so that they
// run through the live path: receive path, decoder, ticks, logs and trip file.
//
//   "(1700000000.123456) can0 3CA#0000000000\n"  ->  ELM327 "3CA 00 00 00 00 00\r\n"
//                                                   CANUSB "t3CA50000000000\r"
// Lines may arrive cut anywhere; a line waits until its line end has come. Blank and
// comment lines, and frames the car's bus cannot carry (extended, remote, error, CAN FD)
// are passed over; a line that is not candump text is counted and skipped.
//
// The device name that routes the adapter port here: "candump:elm327:FILE" or
// "candump:canusb:-" (standard input).
#include "link/canformat/AdapterText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vcm {

class CandumpFeed {
public:
    // A line longer than this is not candump text: it is dropped unread.
    static constexpr std::size_t kMaxLine = 4096;

    explicit CandumpFeed(AdapterForm form) : form_(form) {}

    // Appends to out the adapter text of every line that bytes complete.
    void take(std::string_view bytes, std::string& out);
    // The input ended: a last line without its line end is taken as well.
    void finish(std::string& out);

    std::uint64_t frames() const { return frames_; }
    std::uint64_t linesSkipped() const { return skipped_; }

private:
    void takeLine(std::string_view line, std::string& out);

    AdapterForm form_;
    std::string partial_;
    bool discarding_ = false; // inside an over-long line
    std::uint64_t frames_ = 0;
    std::uint64_t skipped_ = 0;
};

struct LiveCandumpDevice {
    AdapterForm form;
    std::string path; // "-" for standard input
};

std::string liveCandumpDeviceName(const std::string& path, bool elm327);
// Nothing when device is not a "candump:" name.
std::optional<LiveCandumpDevice> parseLiveCandumpDevice(std::string_view device);

} // namespace vcm
