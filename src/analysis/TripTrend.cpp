#include "TripTrend.h"

namespace vcm {
namespace {

bool twoDigits(std::string_view s, std::size_t at, int& out)
{
    if (at + 2 > s.size() || s[at] < '0' || s[at] > '9' || s[at + 1] < '0' || s[at + 1] > '9') return false;
    out = (s[at] - '0') * 10 + (s[at + 1] - '0');
    return true;
}

// "T;dd:mm:yy;hh:mm:ss;..." -> the shutdown time.
std::optional<DateTime> tripTime(std::string_view line)
{
    if (line.size() < 20 || line.substr(0, 2) != "T;") return std::nullopt;
    CivilTime c;
    int yy = 0;
    if (!twoDigits(line, 2, c.day) || !twoDigits(line, 5, c.month) || !twoDigits(line, 8, yy) ||
        !twoDigits(line, 11, c.hour) || !twoDigits(line, 14, c.minute) || !twoDigits(line, 17, c.second))
        return std::nullopt;
    if (c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31) return std::nullopt;
    c.year = 2000 + yy;
    return DateTime::fromCivil(c);
}

} // namespace

std::optional<TripTrend> readTripTrend(FileSystem& fs, const std::string& folder)
{
    TripStore store(fs, folder, '.');
    if (!fs.readAll(store.path())) return std::nullopt;
    const TripFileContent& content = store.load();
    TripTrend trend;
    trend.totals = content.totals;
    for (const std::string& line : content.tripLines) {
        const auto when = tripTime(line);
        const auto trip = parseTripLine(line);
        if (!when || !trip) continue;
        TrendPoint p;
        p.when = *when;
        p.distanceKm = trip->distanceM / 1000;
        p.fuelL = trip->fuelMl / 1000;
        if (trip->distanceM > 0) p.litresPer100Km = trip->fuelMl * 100 / trip->distanceM;
        trend.trips.push_back(p);
    }
    return trend;
}

} // namespace vcm
