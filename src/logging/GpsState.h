#pragma once
// The GPS receiver's values: numbers, the texts the value log has always written, the
// satellite count, the fix, the altitude trend and the elevation reference.
#include <array>
#include <cstdint>
#include <string>

namespace vcm {

struct GpsState {
    // The value log's texts of the numbers below:
    std::string GpsLatitude;         // decimal degrees, negative south ("53.361337")
    std::string GpsLongitude;        // decimal degrees, negative west ("-6.50562")
    std::string GpsAltitude;         // GGA altitude as received, "." turned into "," ("61,7")
    std::string GpsSpeed;            // ground speed, whole km/h ("41")
    std::string GpsCourse;           // course over ground, whole degrees ("84")
    std::int16_t GpsSatellites = 0;  // satellites in use
    double latitude = 0;             // decimal degrees, negative south (53.361337)
    double longitude = 0;            // decimal degrees, negative west (-6.50562)
    double altitude = 0;             // metres above sea level (61.7)
    double speedKmh = 0;             // ground speed, whole km/h (41)
    double course = 0;               // course over ground, whole degrees (84)
    double GpsPrevAltitude = 0;      // altitude at the previous decode, metres (trend)
    int fixMode = 0;                 // GSA fix: 2 two-dimensional, 3 three-dimensional, 1 other; 0 none seen
    // The altitude's steps at the last three decodes, oldest first: +1 climbing, -1
    // descending, 0 level.
    std::array<int, 3> altitudeTrend{};
    std::int16_t StartAltitude = 0;  // whole metres; 0 = not yet taken (elevation gain reference)
};

// The elevation reference StartAltitude is taken once, the first time more than five
// satellites are in use (whole metres).
void takeStartAltitude(GpsState& gps);

} // namespace vcm
