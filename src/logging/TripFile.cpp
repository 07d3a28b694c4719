#include "TripFile.h"

#include "common/Format.h"
#include "decode/Units.h"

#include <algorithm>
#include <cmath>

namespace vcm {
namespace {

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

// A whole field that is a number as this file writes it: "-12", "4,5", "4.5".
bool isNumberField(std::string_view text)
{
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    bool digits = false, point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') digits = true;
        else if ((c == '.' || c == ',') && !point) point = true;
        else return false;
    }
    return digits;
}

bool numberFields(const std::vector<std::string_view>& fields, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i)
        if (i >= fields.size() || !isNumberField(fields[i])) return false;
    return true;
}

// "C;;;5400;12345;98765"
bool isTotalsLine(std::string_view line)
{
    return line.substr(0, 2) == "C;" && numberFields(split(line, ';'), 3, 6);
}

// "T;04:12:26;09:10:05;1800;1234;25000;57,5;40;12;55;20;10;15": date and time of 8
// characters, then numbers (the shares may be missing in files of older versions).
bool isTripLine(std::string_view line)
{
    if (line.substr(0, 2) != "T;") return false;
    const auto f = split(line, ';');
    if (f.size() < 6 || f.size() > 13 || f[1].size() != 8 || f[2].size() != 8) return false;
    return numberFields(f, 3, f.size());
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

TripRun makeTripRun(const VehicleState& state, const GpsState& gps, const ShownShares& shares, DateTime now)
{
    TripRun run;
    run.shutdown = now;
    run.seconds = state.TripStart.isZero() ? 0 : double(DateTime::secondsBetween(state.TripStart, state.TripNow));
    run.fuelMl = units::millilitres(state.FuelAccumulator);
    run.distanceM = units::metres(state.DistanceAccumulator);
    run.socPercent = state.StateOfCharge / 10.0;
    run.tankLevel = state.FuelTankLevel;
    // Without a reference altitude there is no gain to speak of.
    run.elevationGain = gps.StartAltitude == 0 ? 0 : std::trunc(gps.altitude) - gps.StartAltitude;
    run.shares = {shares[0], shares[1], shares[3], shares[2]}; // the file's order: regeneration before glide
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

TripFileParse parseTripFile(std::string_view text)
{
    TripFileParse out;
    TripFileContent& content = out.content;
    bool totalsFound = false;
    const auto lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty()) continue;
        if (i == 0 && isTotalsLine(line)) {
            const auto f = split(line, ';');
            content.totals = {fieldNumber(f, 3), fieldNumber(f, 4), fieldNumber(f, 5)};
            totalsFound = true;
        } else if (line.substr(0, 2) == "M;" && (line.size() == 2 || isNumberField(line.substr(2)))) {
            if (content.minuteBars.size() < TripStore::MinuteBarCount) content.minuteBars.push_back(minuteBarValue(line));
        } else if (isTripLine(line)) {
            content.tripLines.emplace_back(line);
        } else {
            ++out.skippedLines;
        }
    }
    // Without its totals line the lifetime totals are at least what the stored trips add up to.
    if (!totalsFound && !lines.empty()) {
        out.totalsRebuilt = true;
        for (const std::string& line : content.tripLines) {
            const auto trip = parseTripLine(line);
            content.totals.TotalSeconds += trip->seconds;
            content.totals.TotalFuelMl += trip->fuelMl;
            content.totals.TotalDistanceM += trip->distanceM;
        }
    }
    auto& trips = content.tripLines;
    if (trips.size() > TripStore::MaxTrips) trips.erase(trips.begin(), trips.end() - TripStore::MaxTrips);
    return out;
}

const TripFileContent& TripStore::load()
{
    content_ = {};
    readable_ = false;
    damagedOriginal_.clear();
    problem_.clear();
    // A replacement a kill interrupted: the file itself is whole, old or new.
    if (fs_.exists(path() + ".new")) fs_.remove(path() + ".new");

    FileText file = fs_.read(path(), MaxFileBytes);
    if (file.status == FileText::Status::Failed) {
        problem_ = fileMessage("could not read", path(), file.reason) +
                   " (the trips of this run are not saved there, so that the stored ones are not lost)";
        return content_;
    }
    readable_ = true;
    if (!file.read()) return content_;
    TripFileParse parsed = parseTripFile(file.text);
    content_ = std::move(parsed.content);
    if (parsed.skippedLines > 0 || parsed.totalsRebuilt) {
        damagedOriginal_ = std::move(file.text);
        problem_ = path() + ": " + std::to_string(parsed.skippedLines) + " line(s) that are not trips skipped" +
                   (parsed.totalsRebuilt ? ", totals rebuilt from the stored trips" : "") +
                   "; the file as it was is kept beside it before it is next written";
    }
    return content_;
}

bool TripStore::save(const std::array<double, 30>& minuteBars, const TripRun& run)
{
    if (run.fuelMl == 0 && run.distanceM == 0) return true; // nothing driven: file left alone
    if (!readable_) {
        // Read again: the error may have passed; never write over a file not read.
        load();
        if (!readable_) {
            saveError_ = problem_;
            return false;
        }
    }
    const std::string line = formatTripLine(run, decimalSeparator_);
    // The same run saved again (a replay run once more): it is stored already.
    if (std::find(content_.tripLines.begin(), content_.tripLines.end(), line) != content_.tripLines.end()) return true;
    if (!damagedOriginal_.empty() && !keepDamagedCopy()) return false;

    TripFileContent next = content_;
    next.totals.TotalSeconds += run.seconds;
    next.totals.TotalFuelMl += run.fuelMl;
    next.totals.TotalDistanceM += run.distanceM;
    next.minuteBars.assign(minuteBars.begin(), minuteBars.end());
    next.tripLines.push_back(line);
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
    for (const std::string& stored : trips) {
        out += stored;
        out += LineEnd;
    }
    if (!fs_.replaceAtomically(path(), out)) {
        saveError_ = fileMessage("could not write", path(), fs_.lastError());
        return false;
    }
    content_ = std::move(next);
    saveError_.clear();
    return true;
}

bool TripStore::keepDamagedCopy()
{
    std::string copy = path() + ".damaged";
    for (int n = 2; fs_.exists(copy) && n < 100; ++n) copy = path() + ".damaged" + std::to_string(n);
    if (!fs_.replaceAtomically(copy, damagedOriginal_)) {
        saveError_ = fileMessage("could not keep a copy of the damaged trip file as", copy, fs_.lastError());
        return false;
    }
    damagedOriginal_.clear();
    return true;
}

} // namespace vcm
