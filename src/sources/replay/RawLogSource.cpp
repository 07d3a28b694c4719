#include "sources/replay/RawLogSource.h"

#include "sources/replay/LocalTime.h"
#include "sources/replay/RecordingError.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace vcm {

namespace {

constexpr std::size_t kLongestMarker = 256;
constexpr std::size_t kPeek = 8192;
constexpr std::size_t kLongestChunk = 1 << 20;
// How much of the file's start is read to place the first marker within its second.
constexpr std::size_t kPhaseScan = 1 << 19;

bool digitsOnly(std::string_view s)
{
    if (s.empty() || s.size() > 15)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// At most 15 digits (digitsOnly): summed as an integer, which is exact and, unlike a
// floating-point sum, does not wait on each digit's multiply-add.
double toNumber(std::string_view digits)
{
    std::uint64_t v = 0;
    for (char c : digits)
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    return static_cast<double>(v);
}

// Reads "dd/mm/yyyy", "yyyy-mm-dd" at text[at]; advances at.
std::optional<CivilTime> readDate(std::string_view text, std::size_t& at)
{
    auto num = [&](std::size_t pos, std::size_t n) -> int {
        if (pos + n > text.size())
            return -1;
        const std::string_view d = text.substr(pos, n);
        return digitsOnly(d) ? static_cast<int>(toNumber(d)) : -1;
    };
    CivilTime c;
    if (at + 10 <= text.size() && text[at + 2] == '/' && text[at + 5] == '/') {
        c.day = num(at, 2), c.month = num(at + 3, 2), c.year = num(at + 6, 4);
    } else if (at + 10 <= text.size() && text[at + 4] == '-' && text[at + 7] == '-') {
        c.year = num(at, 4), c.month = num(at + 5, 2), c.day = num(at + 8, 2);
    } else {
        return std::nullopt;
    }
    if (c.year < 1970 || c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31)
        return std::nullopt;
    at += 10;
    return c;
}

// The date of a log set from its name: "CAN_04122026_0910.txt".
std::optional<CivilTime> dateFromFileName(const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename().string();
    const std::size_t at = name.find("CAN_");
    if (at == std::string::npos || name.size() < at + 12)
        return std::nullopt;
    const std::string_view d = std::string_view(name).substr(at + 4, 8);
    if (!digitsOnly(d))
        return std::nullopt;
    CivilTime c;
    c.day = static_cast<int>(toNumber(d.substr(0, 2)));
    c.month = static_cast<int>(toNumber(d.substr(2, 2)));
    c.year = static_cast<int>(toNumber(d.substr(4, 4)));
    if (c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31)
        return std::nullopt;
    return c;
}


} // namespace

std::optional<RawMarker> parseRawMarker(std::string_view line)
{
    if (line.size() < 5 || line.front() != '#' || line.back() != '#')
        return std::nullopt;
    const std::string_view inner = line.substr(1, line.size() - 2);
    const std::size_t lenSep = inner.rfind('_');
    if (lenSep == std::string_view::npos)
        return std::nullopt;
    const std::size_t tickSep = inner.rfind('_', lenSep == 0 ? 0 : lenSep - 1);
    if (tickSep == std::string_view::npos || tickSep >= lenSep)
        return std::nullopt;
    const std::string_view tick = inner.substr(tickSep + 1, lenSep - tickSep - 1);
    const std::string_view length = inner.substr(lenSep + 1);
    if (!digitsOnly(tick) || !digitsOnly(length) || length.size() > 9)
        return std::nullopt;
    RawMarker m;
    m.stamp = inner.substr(0, tickSep);
    m.tick = toNumber(tick);
    m.length = static_cast<std::size_t>(toNumber(length));
    if (m.length == 0)
        return std::nullopt;
    return m;
}

std::optional<MarkerTime> parseMarkerStamp(std::string_view stamp)
{
    MarkerTime t;
    std::size_t at = 0;
    while (at < stamp.size() && stamp[at] == ' ')
        ++at;
    if (auto d = readDate(stamp, at)) {
        t.date = d;
        while (at < stamp.size() && (stamp[at] == ' ' || stamp[at] == 'T'))
            ++at;
    }
    if (at + 8 > stamp.size() || stamp[at + 2] != ':' || stamp[at + 5] != ':')
        return std::nullopt;
    const std::string_view h = stamp.substr(at, 2), m = stamp.substr(at + 3, 2), s = stamp.substr(at + 6, 2);
    if (!digitsOnly(h) || !digitsOnly(m) || !digitsOnly(s))
        return std::nullopt;
    t.hour = static_cast<int>(toNumber(h));
    t.minute = static_cast<int>(toNumber(m));
    t.second = static_cast<int>(toNumber(s));
    if (t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    return t;
}

std::optional<std::size_t> rawPrefixLength(std::string_view text, std::size_t& markerLength, RawMarker* marker)
{
    auto markerAt = [&](std::size_t pos) -> bool {
        if (pos >= text.size() || text[pos] != '#')
            return false;
        const std::size_t end = text.substr(pos, kLongestMarker).find("\r\n");
        if (end == std::string_view::npos)
            return false;
        const auto parsed = parseRawMarker(text.substr(pos, end));
        if (!parsed)
            return false;
        markerLength = end + 2;
        if (marker)
            *marker = *parsed;
        return true;
    };
    if (markerAt(1))
        return 1;
    const std::size_t crlf = text.find("\r\n");
    if (crlf != std::string_view::npos && markerAt(crlf + 2))
        return crlf + 2;
    return std::nullopt;
}

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
        date = dateFromFileName(in_.path());
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

std::string withoutRawMarkers(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        std::size_t markerLength = 0;
        RawMarker marker;
        const auto prefix = rawPrefixLength(text, markerLength, &marker);
        if (!prefix || marker.length < *prefix) {
            out.append(text);
            break;
        }
        const std::size_t rest = std::min(marker.length - *prefix, text.size() - *prefix - markerLength);
        out.append(text.substr(0, *prefix));
        out.append(text.substr(*prefix + markerLength, rest));
        text.remove_prefix(*prefix + markerLength + rest);
    }
    return out;
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
        if (start == std::string::npos || end - start > kLongestMarker)
            continue;
        if (auto m = parseRawMarker(std::string_view(tail).substr(start, end + 1 - start)))
            last = std::max(last, m->tick);
    }
    return last - first;
}

} // namespace vcm
