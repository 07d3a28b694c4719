#pragma once
// Reader of the program's raw log: the adapter text byte for byte, with one marker line
// inserted after the first line of every received chunk (after its first character
// when the chunk holds no CR LF). The marker carries the time, the millisecond tick
// count and the chunk's length in characters:
//
//   chunk "3CA 00 00 00 00 00\r\n0B4 00 00" received at tick 5012345, 09:10:05:
//     3CA 00 00 00 00 00\r\n
//     #04/12/2026 09:10:05_5012345_29#\r\n
//     0B4 00 00
//   chunk "t3CA50000000000\r" (no CR LF):
//     t#04/12/2026 09:10:05_5012347_16#\r\n3CA50000000000\r
//
// The length tells where each chunk ends, so chunks come back exactly as received.
// The time stamp text may carry a date ("dd/mm/yyyy hh:mm:ss", "yyyy-mm-dd hh:mm:ss")
// or the time alone; without a date the day comes from the file name
// (CAN_ddmmyyyy_hhnn.txt) or the start option.
#include "common/DateTime.h"
#include "sources/replay/FileReader.h"
#include "sources/replay/RecordingSource.h"

#include <optional>
#include <string_view>

namespace vcm {

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

class RawLogSource final : public RecordingSource {
public:
    RawLogSource(const std::string& path, AdapterForm form, const RecordingOptions& options);
    bool next(RecordedChunk& chunk) override;
    RecordingKind kind() const override { return RecordingKind::RawLog; }
    AdapterForm form() const override { return form_; }
    double fractionRead() const override;
    std::optional<double> durationMs() const override;

private:
    std::int64_t anchorEpoch(const RawMarker& first);   // seconds of the first marker's stamp
    std::int64_t anchorEpochUs(const RawMarker& first); // its moment within that second too
    void advanceTo(double tick, double from);           // time moves on by tick - from

    FileReader in_;
    AdapterForm form_;
    RecordingOptions options_;
    bool started_ = false;
    double firstPhaseMs_ = 0; // the first marker's moment within its stamp's second
    double firstTick_ = 0;
    double lastTick_ = 0;
    std::optional<double> backTick_; // a count that went back, held still
    std::int64_t firstUs_ = 0;
    std::int64_t lastUs_ = 0;
    bool ended_ = false;
    bool toldTickBack_ = false;
};

} // namespace vcm
