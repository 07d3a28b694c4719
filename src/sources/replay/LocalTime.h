#pragma once
// The time line of a recording (seconds since 1970 UTC, as candump writes them) and the
// local calendar date-time the logs show: file times and a per-second cache of the
// conversion (localFromEpoch in common/DateTime.h).
#include "common/DateTime.h"

#include <cstdint>
#include <string>

namespace vcm {

// When a file was last written (seconds since 1970 UTC); 0 when it cannot be told.
std::int64_t fileModificationEpoch(const std::string& path);

// Caches the conversion per second: a replay asks for it once per chunk.
class LocalTimeCache {
public:
    DateTime at(std::int64_t epochSeconds)
    {
        if (!valid_ || epochSeconds != second_) {
            second_ = epochSeconds;
            local_ = localFromEpoch(epochSeconds);
            valid_ = true;
        }
        return local_;
    }

private:
    bool valid_ = false;
    std::int64_t second_ = 0;
    DateTime local_;
};

} // namespace vcm
