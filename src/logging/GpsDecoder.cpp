#include "GpsDecoder.h"

namespace vcm {

double gpsAltitudeMetres(const GpsState&) { return 0; }
double degMinToDecimal(std::string_view, std::string_view) { return 0; }
bool nmeaChecksumAcceptable(std::string_view) { return true; }
void decodeGpsText(std::string_view, GpsState&, View&, char) {}
void showGpsOnTick(GpsState&, View&, char) {}

} // namespace vcm
