#include "Format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace vcm {
namespace {

int decimalsOf(NumberPattern p)
{
    switch (p) {
    case NumberPattern::OneDecimal: return 1;
    case NumberPattern::TwoDecimals: return 2;
    case NumberPattern::ThreeDecimals: return 3;
    default: return 0;
    }
}

void appendTwoDigits(std::string& out, int v)
{
    out.push_back(static_cast<char>('0' + v / 10 % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

// The value rounded to the given number of decimals, in fixed notation, as
// std::to_chars(fixed, decimals) writes it: the exact binary value is rounded, ties to
// even. Done here with integers for the values a dashboard and log show (the library's
// general routine is several times slower, and every log row has a dozen numbers);
// false for values beyond 2^52 after scaling, which are left to the library.
bool fixedDigits(double value, int decimals, std::array<char, 64>& buf, std::string_view& text)
{
    static constexpr double kScale[] = {1, 10, 100, 1000};
    const double scale = kScale[decimals];
    const double product = value * scale;
    if (!(std::fabs(product) < 4503599627370496.0)) // 2^52: below it, k + 0.5 is exact
        return false;
    // product is the nearest double to value x scale; fma gives what rounding lost, so
    // the exact product lies on the same side of every half-way point as it says.
    const double lost = std::fma(value, scale, -product);
    double whole = std::floor(product);
    const double fraction = product - whole;
    // A true tie (nothing lost) goes to the even neighbour.
    if (fraction > 0.5 || (fraction == 0.5 && (lost > 0 || (lost == 0 && std::fmod(whole, 2.0) != 0))))
        whole += 1;
    const bool negative = std::signbit(value);
    std::uint64_t digits = static_cast<std::uint64_t>(std::fabs(whole));

    // Written from the right: decimals, point, at least one whole digit, sign.
    char* end = buf.data() + buf.size();
    char* p = end;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    if (decimals > 0)
        *--p = '.';
    do {
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
    } while (digits != 0);
    if (negative)
        *--p = '-';
    text = std::string_view(p, static_cast<std::size_t>(end - p));
    return true;
}

} // namespace

NumberPattern numberPattern(std::string_view pattern)
{
    if (pattern == "0") return NumberPattern::Whole;
    if (pattern == "0.0") return NumberPattern::OneDecimal;
    if (pattern == "0.00") return NumberPattern::TwoDecimals;
    if (pattern == "0.000") return NumberPattern::ThreeDecimals;
    if (pattern == "00") return NumberPattern::TwoDigits;
    if (pattern == "#") return NumberPattern::WholeOrEmpty;
    throw std::invalid_argument("unknown number pattern: " + std::string(pattern));
}

void appendNumber(std::string& out, double value, NumberPattern pattern, char decimalSeparator)
{
    if (!std::isfinite(value)) value = 0;
    const int decimals = decimalsOf(pattern);
    std::array<char, 64> buf;
    std::string_view text;
    if (!fixedDigits(value, decimals, buf, text)) {
        // Fixed notation with a precision rounds the exact binary value, ties to even.
        auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
        if (ec != std::errc()) { out += '0'; return; }
        text = std::string_view(buf.data(), static_cast<std::size_t>(end - buf.data()));
    }

    bool allZero = true;
    for (char c : text)
        if (c >= '1' && c <= '9') { allZero = false; break; }
    if (allZero && !text.empty() && text.front() == '-') text.remove_prefix(1);

    if (pattern == NumberPattern::WholeOrEmpty && allZero) return;
    if (pattern == NumberPattern::TwoDigits) {
        const bool negative = !text.empty() && text.front() == '-';
        if (negative) { out += '-'; text.remove_prefix(1); }
        if (text.size() < 2) out += '0';
    }
    for (char c : text) out.push_back(c == '.' ? decimalSeparator : c);
}

std::string formatNumber(double value, NumberPattern pattern, char decimalSeparator)
{
    std::string out;
    appendNumber(out, value, pattern, decimalSeparator);
    return out;
}

std::string formatNumber(double value, std::string_view pattern, char decimalSeparator)
{
    return formatNumber(value, numberPattern(pattern), decimalSeparator);
}

std::string formatGeneral(double value, char decimalSeparator)
{
    if (!std::isfinite(value)) value = 0;
    if (value == 0) value = 0; // no "-0"
    std::array<char, 64> buf{};
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    std::string out(buf.data(), end);
    for (char& c : out)
        if (c == '.') c = decimalSeparator;
    return out;
}

std::string formatDateTime(DateTime t, std::string_view pattern)
{
    const CivilTime c = t.civil();
    std::string out;
    out.reserve(20);
    if (pattern == "dd/mm/yyyy") {
        appendTwoDigits(out, c.day); out += '/'; appendTwoDigits(out, c.month); out += '/';
        out += std::to_string(c.year);
    } else if (pattern == "hh:mm:ss") {
        appendTwoDigits(out, c.hour); out += ':'; appendTwoDigits(out, c.minute); out += ':';
        appendTwoDigits(out, c.second);
    } else if (pattern == "ddmmyyyy_hhnn") {
        appendTwoDigits(out, c.day); appendTwoDigits(out, c.month); out += std::to_string(c.year);
        out += '_'; appendTwoDigits(out, c.hour); appendTwoDigits(out, c.minute);
    } else if (pattern == "dd:mm:yy") {
        appendTwoDigits(out, c.day); out += ':'; appendTwoDigits(out, c.month); out += ':';
        appendTwoDigits(out, ((c.year % 100) + 100) % 100);
    } else if (pattern == "hh:mm") {
        appendTwoDigits(out, c.hour); out += ':'; appendTwoDigits(out, c.minute);
    } else {
        throw std::invalid_argument("unknown date pattern: " + std::string(pattern));
    }
    return out;
}

double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode rounds halves to even
}

double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') digits = true;
        else if (c == '.' && !point) point = true;
        else break;
    }
    if (!digits) return 0;
    std::string_view number = text.substr(start, i - start);
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

} // namespace vcm
