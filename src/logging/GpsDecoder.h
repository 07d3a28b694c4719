#pragma once
// Decoding of the NMEA 0183 text read from the GPS port every 2050 ms.
//
// Sentences used (the first valid one of each kind in the chunk):
//   $GPGGA,092751.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,*77
//          -> GpsLatitude "53.361337", GpsLongitude "-6.50562", GpsSatellites 8,
//             GpsAltitude "61,7"
//   $GPRMC,092751.000,A,5321.6802,N,00630.3372,W,022.4,084.4,041226,,,A*72
//          -> GpsSpeed "41" (knots x 1.852, whole km/h), GpsCourse "84"
//   $GPGSA,A,3,10,07,05,02,29,04,08,13,,,,,1.72,1.03,1.38*0A
//          -> fixMode 3 (2 stays 2, any other positive mode is 1)
// A sentence that carries "*hh" with a checksum that does not match is ignored; one
// without a checksum is taken. A sentence ends at "*", CR, LF or the next "$", so a
// sentence cut short never reads fields of the one after it; its missing fields keep
// their previous values.
#include "GpsState.h"

#include <string_view>

namespace vcm {

// Degrees plus minutes / 60 rounded to six decimals (halves to even); both texts are
// read as numbers with "." as decimal point, up to the first character that is not
// part of a number ("53", "21.6802" -> 53.361337).
double degMinToDecimal(std::string_view degrees, std::string_view minutes);

// Decodes one chunk of receiver text into gps (the port read and the GPS log copy are
// the caller's), takes the fix mode and moves the altitude trend on by one step
// (climbing, descending or level against the previous decode). Numbers in the texts
// use decimalSeparator.
void decodeGpsText(std::string_view text, GpsState& gps, char decimalSeparator);

} // namespace vcm
