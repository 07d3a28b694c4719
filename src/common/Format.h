#pragma once
// Number and date texts as the dashboard shows them and the logs write them.
//
// Number patterns (decimal separator passed in, no thousands separator; rounding to
// the nearest, halves to the even neighbour, on the exact binary value):
//   "0"      12.5 -> "12"     13.5 -> "14"    -0.4 -> "0"
//   "0.0"    4.25 -> "4.2"    9.96 -> "10.0"  -0.5 -> "-0.5" (',' -> "-0,5")
//   "0.00"   4.999 -> "5.00"
//   "0.000"  1.2345678 -> "1.235"
//   "00"     5 -> "05"        123 -> "123"
//   "#"      0 -> ""          1234.4 -> "1234"
// A result that rounds to zero never carries a minus sign.
//
// Date patterns ("mm" is the month, "nn" the minute, as in the logs):
//   "dd/mm/yyyy" 04/12/2026   "hh:mm:ss" 09:10:05   "ddmmyyyy_hhnn" 04122026_0910
//   "dd:mm:yy"   04:12:26     "hh:mm"    09:10
#include "DateTime.h"

#include <string>
#include <string_view>

namespace vcm {

enum class NumberPattern { Whole, OneDecimal, TwoDecimals, ThreeDecimals, TwoDigits, WholeOrEmpty };

// Parses "0", "0.0", "0.00", "0.000", "00", "#"; throws std::invalid_argument otherwise.
NumberPattern numberPattern(std::string_view pattern);

std::string formatNumber(double value, NumberPattern pattern, char decimalSeparator);
std::string formatNumber(double value, std::string_view pattern, char decimalSeparator);
// Appends to out without allocating when out has room (hot paths: log rows).
void appendNumber(std::string& out, double value, NumberPattern pattern, char decimalSeparator);

// The shortest text that reads back as value ("12.5", "-3", "0.1"), with the given separator.
std::string formatGeneral(double value, char decimalSeparator);

// Supported: "dd/mm/yyyy", "hh:mm:ss", "ddmmyyyy_hhnn", "dd:mm:yy", "hh:mm"; throws otherwise.
std::string formatDateTime(DateTime t, std::string_view pattern);

// Nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

// Reads the number at the start of text ("12.5abc" -> 12.5, "  -3" -> -3, "abc" -> 0),
// with '.' as the decimal point, stopping at the first character that cannot continue it.
double leadingNumber(std::string_view text);

} // namespace vcm
