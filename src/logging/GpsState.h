#pragma once
// The GPS receiver's values as the rest of the system reads them: texts ready for the
// value log, the satellite count, and the two altitude references.
#include <cstdint>
#include <string>

namespace vcm {

struct GpsState {
    std::string GpsLatitude;         // decimal degrees, negative south ("53.361337")
    std::string GpsLongitude;        // decimal degrees, negative west ("-6.50562")
    std::string GpsAltitude;         // GGA altitude as received, "." turned into "," ("61,7")
    std::string GpsSpeed;            // ground speed, whole km/h ("41")
    std::string GpsCourse;           // course over ground, whole degrees ("84")
    std::int16_t GpsSatellites = 0;  // satellites in use
    double GpsPrevAltitude = 0;      // altitude at the previous decode, metres (trend trace)
    std::int16_t StartAltitude = 0;  // whole metres; 0 = not yet taken (elevation gain reference)
};

// GpsAltitude as a number ("61,7" -> 61.7; "" -> 0).
double gpsAltitudeMetres(const GpsState& gps);

} // namespace vcm
