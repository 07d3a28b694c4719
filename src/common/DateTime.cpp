#include "DateTime.h"

#include <ctime>

namespace vcm {
namespace {

// Howard Hinnant's days-from-civil algorithm (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

CivilTime civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    CivilTime c;
    c.year = static_cast<int>(y + (m <= 2));
    c.month = static_cast<int>(m);
    c.day = static_cast<int>(d);
    return c;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

} // namespace

DateTime DateTime::fromCivil(const CivilTime& c)
{
    const std::int64_t days = daysFromCivil(c.year, static_cast<unsigned>(c.month), static_cast<unsigned>(c.day));
    return fromSeconds(days * 86400 + c.hour * 3600 + c.minute * 60 + c.second);
}

CivilTime DateTime::civil() const
{
    const std::int64_t days = floorDiv(seconds_, 86400);
    const std::int64_t rest = seconds_ - days * 86400;
    CivilTime c = civilFromDays(days);
    c.hour = static_cast<int>(rest / 3600);
    c.minute = static_cast<int>(rest / 60 % 60);
    c.second = static_cast<int>(rest % 60);
    return c;
}

std::int64_t DateTime::minuteBoundariesBetween(DateTime a, DateTime b)
{
    return floorDiv(b.seconds_, 60) - floorDiv(a.seconds_, 60);
}

DateTime localFromEpoch(std::int64_t epochSeconds)
{
    const auto t = static_cast<std::time_t>(epochSeconds);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return DateTime::fromCivil({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                                local.tm_sec});
}

std::int64_t epochFromLocal(DateTime local)
{
    const CivilTime c = local.civil();
    std::tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_hour = c.hour;
    tm.tm_min = c.minute;
    tm.tm_sec = c.second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

} // namespace vcm
