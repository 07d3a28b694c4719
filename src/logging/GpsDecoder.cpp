#include "GpsDecoder.h"

#include "common/Format.h"
#include "common/Hex.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vcm {
namespace {

// The sentence body from its tag ("GPGGA,...") to the character before the end:
// '*', CR, LF, the next '$' or the end of the chunk.
std::size_t sentenceEnd(std::string_view text, std::size_t from)
{
    const std::size_t end = text.find_first_of("*\r\n$", from);
    return end == std::string_view::npos ? text.size() : end;
}

// body: the characters between '$' and '*'; after: what follows the body.
bool checksumMatches(std::string_view body, std::string_view after)
{
    if (after.size() < 3 || after[0] != '*') return true; // no "*hh": taken as it is
    const int hi = hex::value(after[1]), lo = hex::value(after[2]);
    if (hi < 0 || lo < 0) return true;
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    return sum == static_cast<unsigned>(hi * 16 + lo);
}

// The fields of the first sentence with this tag whose checksum is acceptable; a
// field counts only when the comma that ends it is there.
template <std::size_t N>
std::size_t findFields(std::string_view text, std::string_view tag, std::array<std::string_view, N + 1>& fields)
{
    for (std::size_t at = text.find(tag); at != std::string_view::npos; at = text.find(tag, at + 1)) {
        const std::size_t end = sentenceEnd(text, at + tag.size());
        const std::string_view body = text.substr(at, end - at);
        if (!checksumMatches(body, text.substr(end))) continue;
        std::size_t count = 0, pos = tag.size();
        while (count < N) {
            const std::size_t comma = body.find(',', pos);
            if (comma == std::string_view::npos) break;
            fields[++count] = body.substr(pos, comma - pos);
            pos = comma + 1;
        }
        return count;
    }
    return 0;
}

double number(std::string_view field) { return leadingNumber(field); }

constexpr double KmhPerKnot = 1.852;

std::int16_t toInt16(double v)
{
    v = roundHalfEven(v);
    v = std::clamp(v, double(std::numeric_limits<std::int16_t>::min()), double(std::numeric_limits<std::int16_t>::max()));
    return static_cast<std::int16_t>(v);
}

// ddmm.mmmm / dddmm.mmmm and hemisphere -> signed decimal degrees.
double coordinate(std::string_view field, std::size_t degreeDigits, char positive, std::string_view hemisphere)
{
    const std::string_view degrees = field.substr(0, std::min(degreeDigits, field.size()));
    const std::string_view minutes = field.size() > degreeDigits ? field.substr(degreeDigits, 7) : std::string_view();
    double value = degMinToDecimal(degrees, minutes);
    if (hemisphere.empty() || hemisphere.front() != positive) value = -value;
    return value;
}

void decodeGga(std::string_view text, GpsState& gps, char sep)
{
    std::array<std::string_view, 10> f{};
    const std::size_t n = findFields<9>(text, "GPGGA,", f);
    if (n >= 3) {
        gps.latitude = coordinate(f[2], 2, 'N', f[3]);
        gps.GpsLatitude = formatGeneral(gps.latitude, sep);
    }
    if (n >= 5) {
        gps.longitude = coordinate(f[4], 3, 'E', f[5]);
        gps.GpsLongitude = formatGeneral(gps.longitude, sep);
    }
    if (n >= 7) gps.GpsSatellites = toInt16(number(f[7]));
    if (n >= 9) {
        gps.altitude = number(f[9]);
        // The value log has always shown the altitude as received with a decimal comma.
        gps.GpsAltitude.assign(f[9]);
        std::replace(gps.GpsAltitude.begin(), gps.GpsAltitude.end(), '.', ',');
    }
}

void decodeRmc(std::string_view text, GpsState& gps, char sep)
{
    std::array<std::string_view, 9> f{};
    const std::size_t n = findFields<8>(text, "GPRMC,", f);
    if (n >= 7) {
        gps.speedKmh = roundHalfEven(number(f[7]) * KmhPerKnot);
        gps.GpsSpeed = formatNumber(gps.speedKmh, NumberPattern::Whole, sep);
    }
    if (n >= 8) {
        gps.course = roundHalfEven(number(f[8]));
        gps.GpsCourse = formatNumber(gps.course, NumberPattern::Whole, sep);
    }
}

void decodeGsa(std::string_view text, GpsState& gps)
{
    std::array<std::string_view, 3> f{};
    if (findFields<2>(text, "GPGSA,", f) < 2) return;
    const double fix = number(f[2]);
    if (!(fix > 0)) return;
    gps.fixMode = fix == 2 ? 2 : fix == 3 ? 3 : 1;
}

// The oldest step leaves on the left, the newest comes in on the right.
void stepAltitudeTrend(GpsState& gps)
{
    const double a = gps.altitude;
    gps.altitudeTrend = {gps.altitudeTrend[1], gps.altitudeTrend[2],
                         a > gps.GpsPrevAltitude ? 1 : a < gps.GpsPrevAltitude ? -1 : 0};
    gps.GpsPrevAltitude = a;
}

} // namespace

double degMinToDecimal(std::string_view degrees, std::string_view minutes)
{
    const double micro = roundHalfEven(leadingNumber(minutes) / 60 * 1000000);
    return (leadingNumber(degrees) * 1000000 + micro) / 1000000;
}

void decodeGpsText(std::string_view text, GpsState& gps, char decimalSeparator)
{
    decodeGga(text, gps, decimalSeparator);
    decodeRmc(text, gps, decimalSeparator);
    decodeGsa(text, gps);
    stepAltitudeTrend(gps);
}

void takeStartAltitude(GpsState& gps)
{
    if (gps.StartAltitude == 0 && gps.GpsSatellites > 5) gps.StartAltitude = toInt16(gps.altitude);
}

} // namespace vcm
