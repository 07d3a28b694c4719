#pragma once
// A local calendar date and time with one-second resolution, as the dashboard's
// "Now" and the trip clock use it. Stored as seconds since 1970-01-01 00:00:00 of
// the local calendar (no time zone): differences of two values are the calendar
// seconds between them, and whole-minute boundaries are those of the clock.
// The value 0 stands for the "zero date" (a trip clock that has not started).
#include <cstdint>

namespace vcm {

struct CivilTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

class DateTime {
public:
    constexpr DateTime() = default;
    static constexpr DateTime fromSeconds(std::int64_t localSeconds) { DateTime t; t.seconds_ = localSeconds; return t; }
    static DateTime fromCivil(const CivilTime& c);

    constexpr std::int64_t seconds() const { return seconds_; }
    constexpr bool isZero() const { return seconds_ == 0; }
    CivilTime civil() const;

    // Number of whole-second boundaries from a to b (b later): b - a.
    static constexpr std::int64_t secondsBetween(DateTime a, DateTime b) { return b.seconds_ - a.seconds_; }
    // Number of minute boundaries of the clock crossed between a and b.
    static std::int64_t minuteBoundariesBetween(DateTime a, DateTime b);

    friend constexpr bool operator==(DateTime, DateTime) = default;

private:
    std::int64_t seconds_ = 0;
};

// The local calendar time (the machine's time zone) of a moment in seconds since
// 1970-01-01 UTC, and back.
DateTime localFromEpoch(std::int64_t epochSeconds);
std::int64_t epochFromLocal(DateTime local);

} // namespace vcm
