#include "TripFile.h"

#include "common/Format.h"

#include <algorithm>
#include <cmath>

namespace vcm {
namespace {

constexpr double FuelUnitsPerMl = 1296000000.0;
constexpr std::string_view LineEnd = "\r\n";

// Splits at sep; the last piece may be empty.
std::vector<std::string_view> split(std::string_view text, char sep)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(sep, start);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

// Lines ending CR LF or LF alone.
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines = split(text, '\n');
    for (auto& line : lines)
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

double fieldNumber(const std::vector<std::string_view>& fields, std::size_t i)
{
    return i < fields.size() ? readLocaleNumber(fields[i]) : 0;
}

// "M;4,5" or "M;4.5" -> 4.5; "M;45" (older files: the value x 300 with no separator) -> 0.15.
double minuteBarValue(std::string_view line)
{
    const std::string_view text = line.size() > 2 ? line.substr(2) : std::string_view();
    const double x = readLocaleNumber(text);
    return text.find_first_of(",.") == std::string_view::npos ? x / 300 : x;
}

void appendField(std::string& out, double value, NumberPattern pattern, char sep)
{
    out += ';';
    appendNumber(out, value, pattern, sep);
}

} // namespace

double readLocaleNumber(std::string_view text)
{
    std::string copy(text);
    std::replace(copy.begin(), copy.end(), ',', '.');
    return leadingNumber(copy);
}

TripRun makeTripRun(const VehicleState& state, const GpsState& gps, const View& shareLabels, DateTime now)
{
    TripRun run;
    run.shutdown = now;
    run.seconds = state.TripStart.isZero() ? 0 : double(DateTime::secondsBetween(state.TripStart, state.TripNow));
    run.fuelMl = state.FuelAccumulator / FuelUnitsPerMl;
    run.distanceM = state.DistanceAccumulator / 3600;
    run.socPercent = state.StateOfCharge / 10.0;
    run.tankLevel = state.FuelTankLevel;
    // Without a reference altitude there is no gain to speak of.
    run.elevationGain = gps.StartAltitude == 0 ? 0 : std::trunc(gpsAltitudeMetres(gps)) - gps.StartAltitude;
    const char* names[4] = {"PourcenTherValue", "PourcenElecValue", "PourcenRecupValue", "PourcenGlideValue"};
    for (std::size_t i = 0; i < 4; ++i)
        run.shares[i] = static_cast<int>(roundHalfEven(readLocaleNumber(shareLabels.text({names[i]}))));
    return run;
}

std::optional<StoredTrip> parseTripLine(std::string_view line)
{
    if (line.size() < 2 || line.substr(0, 2) != "T;") return std::nullopt;
    const auto f = split(line, ';');
    StoredTrip t;
    t.seconds = fieldNumber(f, 3);
    t.fuelMl = fieldNumber(f, 4);
    t.distanceM = fieldNumber(f, 5);
    for (std::size_t i = 0; i < 4; ++i) t.shares[i] = fieldNumber(f, 9 + i);
    return t;
}

std::string formatTripLine(const TripRun& run, char sep)
{
    using P = NumberPattern;
    std::string out = "T;";
    out += formatDateTime(run.shutdown, "dd:mm:yy");
    out += ';';
    out += formatDateTime(run.shutdown, "hh:mm:ss");
    appendField(out, run.seconds, P::Whole, sep);
    appendField(out, run.fuelMl, P::Whole, sep);
    appendField(out, run.distanceM, P::Whole, sep);
    appendField(out, run.socPercent, P::OneDecimal, sep);
    appendField(out, run.tankLevel, P::Whole, sep);
    appendField(out, run.elevationGain, P::Whole, sep);
    for (int share : run.shares) appendField(out, share, P::Whole, sep);
    return out;
}

TripStore::TripStore(FileSystem& fs, std::string folder, char decimalSeparator)
    : fs_(fs), folder_(std::move(folder)), decimalSeparator_(decimalSeparator)
{
}

std::string TripStore::path() const { return joinPath(folder_, "TRAJETS.CSV"); }

const TripFileContent& TripStore::load()
{
    content_ = {};
    const std::optional<std::string> text = fs_.readAll(path());
    if (!text) return content_;
    const auto lines = splitLines(*text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (i == 0) {
            if (!line.empty() && line.front() == 'C') {
                const auto f = split(line, ';');
                content_.totals = {fieldNumber(f, 3), fieldNumber(f, 4), fieldNumber(f, 5)};
            }
            continue;
        }
        if (line.empty()) continue;
        if (line.front() == 'M') {
            if (content_.minuteBars.size() < MinuteBarCount) content_.minuteBars.push_back(minuteBarValue(line));
            continue;
        }
        content_.tripLines.emplace_back(line);
    }
    auto& trips = content_.tripLines;
    if (trips.size() > MaxTrips) trips.erase(trips.begin(), trips.end() - MaxTrips);
    return content_;
}

bool TripStore::save(const std::array<double, 30>& minuteBars, const TripRun& run)
{
    if (run.fuelMl == 0 && run.distanceM == 0) return true; // nothing driven: file left alone

    TripFileContent next = content_;
    next.totals.TotalSeconds += run.seconds;
    next.totals.TotalFuelMl += run.fuelMl;
    next.totals.TotalDistanceM += run.distanceM;
    next.minuteBars.assign(minuteBars.begin(), minuteBars.end());
    next.tripLines.push_back(formatTripLine(run, decimalSeparator_));
    auto& trips = next.tripLines;
    if (trips.size() > MaxTrips) trips.erase(trips.begin(), trips.end() - MaxTrips);

    std::string out = "C;;";
    appendField(out, next.totals.TotalSeconds, NumberPattern::Whole, decimalSeparator_);
    appendField(out, next.totals.TotalFuelMl, NumberPattern::Whole, decimalSeparator_);
    appendField(out, next.totals.TotalDistanceM, NumberPattern::Whole, decimalSeparator_);
    out += LineEnd;
    for (double bar : next.minuteBars) {
        out += "M;";
        appendNumber(out, bar, NumberPattern::OneDecimal, decimalSeparator_);
        out += LineEnd;
    }
    for (const std::string& line : trips) {
        out += line;
        out += LineEnd;
    }
    if (!fs_.replaceAtomically(path(), out)) return false;
    content_ = std::move(next);
    return true;
}

} // namespace vcm
