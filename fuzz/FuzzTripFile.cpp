// Any bytes as TRAJETS.CSV: loading, saving a run and loading again must not crash;
// the saved file reads back with the run added to the totals and its line last.
#include "MemoryFileSystem.h"
#include "logging/TripFile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char sep = (size > 0 && (data[0] & 1)) ? ',' : '.';
    vcm::fuzz::MemoryFileSystem fs;
    vcm::TripStore store(fs, "/trips", sep);
    fs.files[store.path()] = std::string(reinterpret_cast<const char*>(data), size);
    const vcm::TripFileContent before = store.load();
    for (const std::string& line : before.tripLines) (void)vcm::parseTripLine(line);

    vcm::TripRun run;
    run.shutdown = vcm::DateTime::fromCivil({2026, 12, 6, 9, 10, 0});
    run.seconds = 600;
    run.fuelMl = 250;
    run.distanceM = 9000;
    std::array<double, 30> bars{};
    const std::string line = vcm::formatTripLine(run, sep);
    // A run whose line is stored already is not added again.
    const bool stored = std::find(before.tripLines.begin(), before.tripLines.end(), line) != before.tripLines.end();
    if (!store.save(bars, run)) return 0;

    vcm::TripStore again(fs, "/trips", sep);
    const vcm::TripFileContent after = again.load();
    if (after.tripLines.empty() || (!stored && after.tripLines.back() != line)) std::abort();
    if (after.tripLines.size() > vcm::TripStore::MaxTrips) std::abort();
    if (stored) return 0; // nothing written
    if (!again.problem().empty()) std::abort(); // a rewritten file is clean
    // Totals are written as whole numbers: allow the rounding of the stored ones.
    const auto near = [](double a, double b) { return std::fabs(a - b) <= 1 + 1e-9 * std::fabs(b); };
    if (std::isfinite(before.totals.TotalDistanceM) && std::fabs(before.totals.TotalDistanceM) < 1e12 &&
        !near(after.totals.TotalDistanceM, before.totals.TotalDistanceM + run.distanceM))
        std::abort();
    return 0;
}
