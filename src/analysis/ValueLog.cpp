#include "ValueLog.h"

#include "decode/Units.h"
#include "logging/LogFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vcm {
namespace {

constexpr std::size_t ValueFields = LogCol::ValueCount;
constexpr std::size_t GpsFields = LogCol::GpsCount;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The columns read, positioned and named as the writer's column table has them.
enum Col : std::size_t {
    Date = LogCol::Date, Time = LogCol::Time, Speed = LogCol::Speed, Rpm = LogCol::Rpm,
    Consumption = LogCol::Consumption, Current = LogCol::Current, Voltage = LogCol::Voltage, Soc = LogCol::Soc,
    Brake = LogCol::Brake, Inject = LogCol::Inject, Timer = LogCol::Timer, Distance = LogCol::Distance,
    Litres = LogCol::Litres, GpsLat = LogCol::GpsLatitude, GpsLon = LogCol::GpsLongitude, GpsAlt = LogCol::GpsAltitude
};

// Splits at ';' into fields (views into line); returns the count, at most fields.size().
template <std::size_t N>
std::size_t splitFields(std::string_view line, std::array<std::string_view, N>& fields)
{
    std::size_t n = 0, from = 0;
    while (n < N) {
        const std::size_t at = line.find(';', from);
        fields[n++] = line.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from);
        if (at == std::string_view::npos) return n;
        from = at + 1;
    }
    return n + 1;  // more fields than kept
}

std::size_t countFields(std::string_view line)
{
    std::size_t n = 1;
    for (char c : line) n += c == ';';
    return n;
}

// "52,3", "-12.3", "1520": digits with "," or "." as decimal point; nothing otherwise.
std::optional<double> readNumber(std::string_view s)
{
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    double whole = 0, fraction = 0, scale = 1;
    bool seenPoint = false, seenDigit = false;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            seenDigit = true;
            if (seenPoint) {
                scale /= 10;
                fraction += (c - '0') * scale;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else if ((c == ',' || c == '.') && !seenPoint) {
            seenPoint = true;
        } else {
            return std::nullopt;
        }
    }
    const double v = whole + fraction;
    if (!seenDigit || !std::isfinite(v)) return std::nullopt;  // 400 digits are no number
    return negative ? -v : v;
}

bool readDigits(std::string_view s, std::size_t at, std::size_t count, int& out)
{
    out = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        out = out * 10 + (s[i] - '0');
    }
    return true;
}

// "dd/mm/yyyy" and "hh:mm:ss".
std::optional<DateTime> readDateTime(std::string_view date, std::string_view time)
{
    CivilTime c;
    if (date.size() != 10 || date[2] != '/' || date[5] != '/' || time.size() != 8 || time[2] != ':' || time[5] != ':')
        return std::nullopt;
    if (!readDigits(date, 0, 2, c.day) || !readDigits(date, 3, 2, c.month) || !readDigits(date, 6, 4, c.year) ||
        !readDigits(time, 0, 2, c.hour) || !readDigits(time, 3, 2, c.minute) || !readDigits(time, 6, 2, c.second))
        return std::nullopt;
    if (c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31 || c.hour > 23 || c.minute > 59 || c.second > 60)
        return std::nullopt;
    return DateTime::fromCivil(c);
}

class RowReader {
public:
    RowReader(RunData& run, std::vector<LogProblem>& problems, const std::string& path)
        : run_(run), problems_(problems), path_(path)
    {
    }

    void read(std::string_view line, std::size_t lineNo)
    {
        std::array<std::string_view, ValueFields + GpsFields> f{};
        const std::size_t n = splitFields(line, f);
        const std::size_t needed = ValueFields + (run_.layout.gps ? GpsFields : 0);
        const std::size_t total = n > f.size() ? countFields(line) : n;
        const bool countOk = run_.layout.canusb ? total >= needed + 2 : total == run_.layout.headerFields;
        if (!countOk) {
            // The CANUSB row ends with two reply texts of varying length: at least two more fields.
            const std::size_t expected = run_.layout.canusb ? needed + 2 : run_.layout.headerFields;
            problem(lineNo, std::to_string(total) + " fields, expected " + (run_.layout.canusb ? "at least " : "") +
                                std::to_string(expected) + (total < expected ? " (row cut or columns missing)" : ""));
            return;
        }
        const auto when = readDateTime(f[Date], f[Time]);
        if (!when) {
            problem(lineNo, "date and time \"" + std::string(f[Date]) + ";" + std::string(f[Time]) + "\" unreadable");
            return;
        }
        std::array<double, 24> v{};
        for (std::size_t col : {Speed, Rpm, Current, Voltage, Soc, Brake, Inject, Timer, Distance, Litres}) {
            const auto x = readNumber(f[col]);
            if (!x) {
                problem(lineNo, "column " + std::string(logColumn(col).name(run_.layout.metric)) + ": \"" +
                                    std::string(f[col]) + "\" is not a number");
                return;
            }
            v[col] = *x;
        }
        appendRow(*when, v);
        if (run_.layout.gps) {
            run_.latitude.push_back(readNumber(f[GpsLat]).value_or(NaN));
            run_.longitude.push_back(readNumber(f[GpsLon]).value_or(NaN));
            run_.altitudeM.push_back(readNumber(f[GpsAlt]).value_or(NaN));
        }
    }

private:
    void appendRow(DateTime when, const std::array<double, 24>& v)
    {
        if (run_.t.empty()) {
            run_.start = when;
            run_.firstTimerMs = v[Timer];
            run_.t.push_back(0);
        } else {
            // The tick count gives tenths of seconds; the clock takes over where it
            // jumped (acquisition stopped, the machine slept, the count wrapped).
            const double byTimer = (v[Timer] - run_.lastTimerMs) / 1000;
            const double byClock = static_cast<double>(DateTime::secondsBetween(run_.lastRowTime, when));
            const double step = byTimer >= 0 && std::abs(byTimer - byClock) <= 2 ? byTimer : std::max(0.0, byClock);
            run_.t.push_back(run_.t.back() + step);
        }
        run_.lastRowTime = when;
        run_.lastTimerMs = v[Timer];
        run_.speedKmh.push_back(run_.layout.metric ? v[Speed] : v[Speed] * units::KilometresPerMile);
        run_.rpm.push_back(v[Rpm]);
        run_.currentA.push_back(v[Current]);
        run_.voltageV.push_back(v[Voltage]);
        run_.socPercent.push_back(v[Soc]);
        run_.brake.push_back(v[Brake]);
        run_.injector.push_back(v[Inject]);
        run_.distanceM.push_back(v[Distance]);
        run_.fuelMl.push_back(v[Litres]);
    }

    void problem(std::size_t lineNo, std::string what) { problems_.push_back({path_, lineNo, std::move(what)}); }

    RunData& run_;
    std::vector<LogProblem>& problems_;
    const std::string& path_;
};

} // namespace

std::string LogProblem::text() const { return file + ":" + std::to_string(line) + ": " + what; }

std::optional<LogLayout> parseLogHeader(std::string_view header)
{
    std::array<std::string_view, ValueFields + GpsFields + 1> f{};
    const std::size_t n = splitFields(header, f);
    if (n < ValueFields || f[Date] != "Date" || f[Time] != "Heure") return std::nullopt;
    LogLayout layout;
    // The unit system's columns say which it is; the other columns read must be where they belong.
    auto named = [&](std::initializer_list<std::size_t> cols, bool metric) {
        return std::all_of(cols.begin(), cols.end(), [&](std::size_t col) { return f[col] == logColumn(col).name(metric); });
    };
    const bool metric = named({Speed, Rpm, Consumption}, true);
    if (!metric && !named({Speed, Rpm, Consumption}, false)) return std::nullopt;
    layout.metric = metric;
    if (!named({Current, Voltage, Soc, Brake, Inject, Timer, Distance, Litres}, metric)) return std::nullopt;
    layout.headerFields = countFields(header);
    layout.gps = n > GpsLat && f[GpsLat] == logColumn(GpsLat).metricName;
    layout.canusb = header.find(';' + diagnosticColumnName(DiagnosticRecords[0], 1)) != std::string_view::npos;
    return layout;
}

LogReadResult parseValueLog(std::string_view text, const std::string& path)
{
    LogReadResult result;
    auto nextLine = [&text](std::string_view& line) {
        if (text.empty()) return false;
        const std::size_t at = text.find('\n');
        line = text.substr(0, at);
        text = at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    };
    std::string_view line;
    if (!nextLine(line)) {
        result.problems.push_back({path, 0, "empty file"});
        return result;
    }
    if (line.size() >= 3 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    const auto layout = parseLogHeader(line);
    if (!layout) {
        result.problems.push_back({path, 1, "not a value log header (expected \"Date;Heure;km/h;Tpm;...\" or "
                                            "\"Date;Heure;mph;Rpm;...\")"});
        return result;
    }
    RunData run;
    run.layout = *layout;
    run.files.push_back(path);
    const std::size_t expectedRows = text.size() / 100 + 1;
    for (auto* column : {&run.t, &run.speedKmh, &run.rpm, &run.injector, &run.currentA, &run.voltageV, &run.socPercent,
                         &run.brake, &run.distanceM, &run.fuelMl})
        column->reserve(expectedRows);
    RowReader reader(run, result.problems, path);
    std::size_t lineNo = 1, rows = 0;
    while (nextLine(line)) {
        ++lineNo;
        if (line.empty() && text.empty()) break;  // the final line end
        ++rows;
        reader.read(line, lineNo);
    }
    run.rowsInLastFile = rows;
    if (run.rows() == 0) {
        result.problems.push_back({path, 0, "no readable row"});
        return result;
    }
    result.run = std::move(run);
    return result;
}

LogReadResult readValueLog(FileSystem& fs, const std::string& path)
{
    const auto text = fs.readAll(path);
    if (!text) return {std::nullopt, {{path, 0, "cannot be read"}}};
    return parseValueLog(*text, path);
}

// A rolled-over log continues its run when it starts within this of the last row.
constexpr std::int64_t MaxRolloverGapS = 2;
constexpr double MaxRolloverGapMs = 2000; // by the tick count

bool joinRollover(RunData& run, RunData&& next)
{
    if (run.rowsInLastFile != RolloverRows || !(run.layout == next.layout) || next.rows() == 0) return false;
    const auto gap = DateTime::secondsBetween(run.lastRowTime, next.start);
    const double timerGap = next.firstTimerMs - run.lastTimerMs;
    if (gap < 0 || gap > MaxRolloverGapS || timerGap < 0 || timerGap > MaxRolloverGapMs) return false;
    const double offset = run.t.back() + timerGap / 1000;
    for (double& x : next.t) x += offset;
    // Every column of the next log continues the run's.
    for (auto column : {&RunData::t, &RunData::speedKmh, &RunData::rpm, &RunData::injector, &RunData::currentA,
                        &RunData::voltageV, &RunData::socPercent, &RunData::brake, &RunData::distanceM,
                        &RunData::fuelMl, &RunData::latitude, &RunData::longitude, &RunData::altitudeM})
        (run.*column).insert((run.*column).end(), (next.*column).begin(), (next.*column).end());
    run.files.insert(run.files.end(), next.files.begin(), next.files.end());
    run.rowsInLastFile = next.rowsInLastFile;
    run.lastRowTime = next.lastRowTime;
    run.lastTimerMs = next.lastTimerMs;
    return true;
}

} // namespace vcm
