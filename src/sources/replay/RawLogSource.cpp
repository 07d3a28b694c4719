#include "sources/replay/RawLogSource.h"

#include "sources/replay/LocalTime.h"
#include "sources/replay/RecordingError.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vcm {

namespace {

constexpr std::size_t kPeek = 8192;
constexpr std::size_t kLongestChunk = 1 << 20;
// How much of the file's start is read to place the first marker within its second.
constexpr std::size_t kPhaseScan = 1 << 19;

} // namespace

RawLogSource::RawLogSource(const std::string& path, AdapterForm form, const RecordingOptions& options)
    : in_(path), form_(form), options_(options)
{
}

namespace {

// The markers' time stamps have whole seconds, their ticks milliseconds. The moment of
// the first marker lies within its second; every later marker whose second has moved
// on narrows where: tick T_i stamped S_i means first + (T_i - T_0) >= S_i. Returns the
// milliseconds into its second of the first marker, from the markers of head.
double firstMarkerPhaseMs(std::string_view head)
{
    std::size_t markerLength = 0;
    std::optional<double> firstTick;
    int firstSecondOfDay = 0;
    double phase = 0;
    while (auto prefix = rawPrefixLength(head, markerLength)) {
        const auto marker = parseRawMarker(head.substr(*prefix, markerLength - 2));
        if (const auto t = parseMarkerStamp(marker->stamp)) {
            const int secondOfDay = t->hour * 3600 + t->minute * 60 + t->second;
            if (!firstTick) {
                firstTick = marker->tick;
                firstSecondOfDay = secondOfDay;
            } else {
                int d = secondOfDay - firstSecondOfDay;
                if (d < 0)
                    d += 86400; // past midnight
                phase = std::max(phase, d * 1000.0 - (marker->tick - *firstTick));
            }
        }
        const std::size_t rest = std::min(marker->length - std::min(marker->length, *prefix),
                                          head.size() - *prefix - markerLength);
        head.remove_prefix(*prefix + markerLength + rest);
    }
    return std::clamp(phase, 0.0, 999.0);
}

} // namespace

std::int64_t RawLogSource::anchorEpochUs(const RawMarker& first)
{
    return anchorEpoch(first) * 1000000 + std::llround(firstPhaseMs_ * 1000.0);
}

std::int64_t RawLogSource::anchorEpoch(const RawMarker& first)
{
    const auto stamp = parseMarkerStamp(first.stamp);
    std::optional<CivilTime> date = stamp ? stamp->date : std::nullopt;
    if (!date)
        date = logSetDate(in_.path());
    const std::int64_t fallback = options_.startEpoch ? *options_.startEpoch : fileModificationEpoch(in_.path());
    if (!stamp || !date) {
        if (options_.note)
            options_.note(recordingMessage(in_.path(), 0,
                                           stamp ? "the markers carry no date: the day is taken from the start option or the file's date"
                                                 : "the markers carry no readable time: the drive is placed at the start option or the file's date"));
        if (!stamp)
            return fallback;
        const CivilTime day = localFromEpoch(fallback).civil();
        date = CivilTime{day.year, day.month, day.day};
    }
    return epochFromLocal(DateTime::fromCivil({date->year, date->month, date->day, stamp->hour, stamp->minute, stamp->second}));
}

bool RawLogSource::next(RecordedChunk& chunk)
{
    if (ended_)
        return false;
    if (!started_)
        firstPhaseMs_ = firstMarkerPhaseMs(in_.peek(kPhaseScan));
    const std::string_view view = in_.peek(kPeek);
    if (view.empty())
        return false;
    const bool atEnd = view.size() < kPeek;
    std::size_t markerLength = 0;
    RawMarker parsed;
    const auto prefix = rawPrefixLength(view, markerLength, &parsed);
    if (!prefix) {
        // A power cut can stop the file between the three writes of a chunk: a first
        // line without its marker, or a marker cut short. Anything else is damage.
        const std::size_t crlf = view.find("\r\n");
        const bool cutShort = atEnd && (crlf == std::string_view::npos
                                        || (view.substr(crlf + 2).find("\r\n") == std::string_view::npos
                                            && (crlf + 2 == view.size() || view[crlf + 2] == '#')));
        if (!cutShort)
            throw RecordingError(recordingMessage(
                in_.path(), in_.line() + (crlf != std::string_view::npos ? 1 : 0),
                "expected a marker line \"#time_tick_length#\" after the first line of a received chunk"));
        std::size_t keep = crlf != std::string_view::npos ? crlf + 2 : (view.size() > 1 && view[1] == '#' ? 1 : view.size());
        if (options_.note)
            options_.note(recordingMessage(in_.path(), in_.line(), "the file ends inside a received chunk (cut short?): replayed up to there"));
        chunk.text.assign(view.substr(0, keep));
        chunk.timeUs = lastUs_;
        chunk.tickMs = lastTick_;
        ended_ = true;
        return started_;
    }
    const RawMarker* marker = &parsed;
    // Counted only for a message: the reader never counts lines on its way.
    auto markerLine = [&] { return in_.line() + (*prefix > 1 ? 1 : 0); };
    if (marker->length < *prefix || marker->length > kLongestChunk)
        throw RecordingError(recordingMessage(in_.path(), markerLine(),
                                              "marker gives a chunk length of " + std::to_string(marker->length)
                                                  + " characters, which cannot be right"));
    if (!started_) {
        started_ = true;
        firstTick_ = marker->tick;
        lastTick_ = marker->tick;
        firstUs_ = anchorEpochUs(*marker);
        lastUs_ = firstUs_;
    } else if (marker->tick >= lastTick_) {
        advanceTo(marker->tick, lastTick_);
    } else if (backTick_ && marker->tick >= *backTick_) {
        // The count went back and goes on from there (the computer restarted): follow it.
        advanceTo(marker->tick, *backTick_);
    } else {
        // One marker that goes back is held still; the next ones are timed from the
        // last good one, so a single bad count never makes time jump forward after it.
        backTick_ = marker->tick;
        if (options_.note && !toldTickBack_) {
            toldTickBack_ = true;
            options_.note(recordingMessage(in_.path(), markerLine(), "the tick count goes back: time held still there"));
        }
    }
    chunk.text.assign(view.substr(0, *prefix));
    const std::size_t restLength = marker->length - *prefix;
    in_.consume(*prefix + markerLength);
    const std::string_view rest = in_.peek(restLength);
    if (rest.size() < restLength) {
        if (options_.note)
            options_.note(recordingMessage(in_.path(), in_.line(),
                                           "the file ends inside a received chunk (cut short?): replayed up to there"));
        ended_ = true;
    }
    const std::size_t take = std::min(rest.size(), restLength);
    chunk.text.append(rest.substr(0, take));
    in_.consume(take);
    chunk.timeUs = lastUs_;
    // The recorded tick count, kept from going back so the replay clock never does.
    chunk.tickMs = firstTick_ + static_cast<double>(lastUs_ - firstUs_) / 1000.0;
    return true;
}

double RawLogSource::fractionRead() const
{
    return in_.size() == 0 ? 0.0 : static_cast<double>(in_.consumed()) / static_cast<double>(in_.size());
}

void RawLogSource::advanceTo(double tick, double from)
{
    // A count beyond any computer's uptime is a damaged marker: the step is bounded (the
    // replay turns a long gap into a pause) and never overflows.
    constexpr double kLongestStepMs = 1e12;
    const double step = tick - from;
    lastUs_ += std::llround((step <= kLongestStepMs ? step : kLongestStepMs) * 1000.0);
    lastTick_ = tick;
    backTick_.reset();
}

std::optional<double> RawLogSource::durationMs() const
{
    // First marker from the head, last from the tail: the file is not read through.
    std::FILE* f = std::fopen(in_.path().c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string head(kPeek, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), f));
    const long tailSize = 1 << 16;
    std::string tail;
    if (std::fseek(f, -tailSize, SEEK_END) != 0)
        std::fseek(f, 0, SEEK_SET);
    tail.resize(static_cast<std::size_t>(tailSize));
    tail.resize(std::fread(tail.data(), 1, tail.size(), f));
    std::fclose(f);

    std::size_t markerLength = 0;
    const auto prefix = rawPrefixLength(head, markerLength);
    if (!prefix)
        return std::nullopt;
    const double first = parseRawMarker(std::string_view(head).substr(*prefix, markerLength - 2))->tick;
    double last = first;
    // Every marker line ends in "#" CR LF; it starts at the '#' before that one.
    for (std::size_t end = tail.find("#\r\n"); end != std::string::npos; end = tail.find("#\r\n", end + 3)) {
        const std::size_t start = end == 0 ? std::string::npos : tail.rfind('#', end - 1);
        if (start == std::string::npos || end - start > kLongestRawMarker)
            continue;
        if (auto m = parseRawMarker(std::string_view(tail).substr(start, end + 1 - start)))
            last = std::max(last, m->tick);
    }
    return last - first;
}

} // namespace vcm
