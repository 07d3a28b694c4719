#pragma once
// The raw log's format, written by the run log and read by the replay: the adapter text
// byte for byte, with one marker line inserted into every received chunk, after its
// first line (after its first character when the chunk holds no CR LF). The marker is
//     "#" date "dd/mm/yyyy hh:mm:ss" "_" millisecond tick count "_" chunk length "#" CR LF
// and the length (in characters, marker excluded) tells where each chunk ends, so the
// chunks come back exactly as received. Two chunks, received at 09:10:05 at ticks
// 5012345 and 5012347:
//
//   chunk "3CA 00 00 00 00 00\r\n0B4 00 00" (29 characters):
//     3CA 00 00 00 00 00\r\n
//     #04/12/2026 09:10:05_5012345_29#\r\n
//     0B4 00 00
//   chunk "t3CA50000000000\r" (16 characters, no CR LF):
//     t#04/12/2026 09:10:05_5012347_16#\r\n3CA50000000000\r
//
// Reading is lenient about the stamp: "yyyy-mm-dd hh:mm:ss" or the time alone are taken
// too; without a date the day comes from the log set's name (CAN_ddmmyyyy_hhnn.txt).
#include "common/DateTime.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vcm {

// No marker line is longer (readers look no further for its CR LF).
constexpr std::size_t kLongestRawMarker = 256;

// Appends a received chunk with its marker (the chunk must not be empty).
void appendRawChunk(std::string& out, std::string_view chunk, DateTime now, double tickMs);

struct RawMarker {
    std::string_view stamp; // the time stamp text
    double tick = 0;
    std::size_t length = 0;
};

// Parses a marker line without its CR LF: "#stamp_tick_length#".
std::optional<RawMarker> parseRawMarker(std::string_view line);

// The time of day and, when present, the date of a marker's time stamp.
struct MarkerTime {
    std::optional<CivilTime> date; // year, month, day only
    int hour = 0, minute = 0, second = 0;
};
std::optional<MarkerTime> parseMarkerStamp(std::string_view stamp);

// The length of the chunk prefix when text (from a chunk's start) is followed by a
// valid marker: 1 when the marker follows the first character, the first line's length
// (with its CR LF) when it follows that; with the marker's line length in markerLength
// and, when asked, the marker itself (pointing into text).
std::optional<std::size_t> rawPrefixLength(std::string_view text, std::size_t& markerLength, RawMarker* marker = nullptr);

// The adapter text of a raw log without its marker lines, chunks joined as received
// (a frame the marker cut in two is whole again). Text that is not a raw log from some
// point on is kept as it is from there.
std::string withoutRawMarkers(std::string_view text);

// The day of a log set from its file name: "/logs/CAN_04122026_0910.txt" -> 2026-12-04.
std::optional<CivilTime> logSetDate(const std::string& path);

} // namespace vcm
