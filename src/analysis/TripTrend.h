#pragma once
// The trip file read as a trend: one point per stored trip (its shutdown time, distance
// and litres per 100 km) and the lifetime totals of the file's first line.
#include "common/DateTime.h"
#include "common/FileSystem.h"
#include "logging/TripFile.h"

#include <optional>
#include <string>
#include <vector>

namespace vcm {

struct TrendPoint {
    DateTime when;                        // date and time of shutdown
    double distanceKm = 0;
    double fuelL = 0;
    std::optional<double> litresPer100Km; // when the trip covered any distance
};

struct TripTrend {
    TripTotals totals;
    std::vector<TrendPoint> trips;        // oldest first
};

// Reads TRAJETS.CSV of folder; nothing when the file is missing or unreadable. Trip
// lines whose date ("dd:mm:yy") cannot be read are left out.
std::optional<TripTrend> readTripTrend(FileSystem& fs, const std::string& folder);

} // namespace vcm
