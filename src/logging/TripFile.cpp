#include "TripFile.h"

namespace vcm {

TripRun makeTripRun(const VehicleState&, const GpsState&, const View&, DateTime) { return {}; }
std::optional<StoredTrip> parseTripLine(std::string_view) { return std::nullopt; }
std::string formatTripLine(const TripRun&, char) { return {}; }
double readLocaleNumber(std::string_view) { return 0; }
TripStore::TripStore(FileSystem& fs, std::string folder, char decimalSeparator)
    : fs_(fs), folder_(std::move(folder)), decimalSeparator_(decimalSeparator) {}
std::string TripStore::path() const { return {}; }
const TripFileContent& TripStore::load() { return content_; }
bool TripStore::save(const std::array<double, 30>&, const TripRun&) { return false; }

} // namespace vcm
