#pragma once
// The GPS log of a log set (the receiver's NMEA text as read on each GPS tick, without
// time marks) spread evenly over a replayed drive: with S sentences and N GPS ticks
// (one every 2050 ms of the drive), tick k receives the sentences up to number
// ceil(S * k / N), so the last tick has read them all. Read in constant memory.
//
//   drive of 10 s -> 4 GPS ticks; 8 sentences ($GPGGA.. $GPRMC.. x 4)
//   tick 1: sentences 1-2, tick 2: 3-4, tick 3: 5-6, tick 4: 7-8
#include "sources/replay/FileReader.h"

#include <cstddef>
#include <string>

namespace vcm {

class GpsRecordingFeed {
public:
    static constexpr double kGpsTickMs = 2050;
    static constexpr std::size_t kMaxTickText = 16384; // what one tick may read, at most

    // Throws RecordingError when the file cannot be read.
    GpsRecordingFeed(const std::string& path, double driveDurationMs);

    // The text the GPS port holds at GPS tick k (1-based); empty after the last.
    std::string textForTick(std::size_t k);

private:
    FileReader in_;
    std::size_t sentences_ = 0;
    std::size_t ticks_ = 1;
    std::size_t delivered_ = 0; // sentences begun in the text handed out so far
};

} // namespace vcm
