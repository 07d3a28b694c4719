#include "sources/replay/CandumpSource.h"

#include "link/canformat/AdapterText.h"
#include "sources/replay/RecordingError.h"

#include <cstdio>

namespace vcm {

CandumpSource::CandumpSource(const std::string& path, AdapterForm form, const RecordingOptions& options)
    : in_(path), form_(form), options_(options), channel_(options.channel)
{
}

bool CandumpSource::onChosenChannel(std::string_view interface)
{
    if (channel_.empty())
        channel_ = interface;
    if (interface == channel_)
        return true;
    if (options_.note && !toldOtherChannel_) {
        toldOtherChannel_ = true;
        options_.note(recordingMessage(in_.path(), in_.line(),
                                       "frames of " + std::string(interface) + " are skipped: only " + channel_ +
                                           (options_.channel.empty() ? " (the first interface in the file)" : "") +
                                           " is replayed; choose another with --channel NAME"));
    }
    ++skipped_["frames of other interfaces"];
    return false;
}

CandumpSource::~CandumpSource() = default;

bool CandumpSource::readFrame()
{
    std::string_view line;
    while (in_.readLine(line)) {
        const CandumpLine parsed = parseCandumpLine(line);
        switch (parsed.kind) {
        case CandumpLine::Kind::Blank:
            continue;
        case CandumpLine::Kind::Skipped:
            ++skipped_[std::string(parsed.reason)];
            continue;
        case CandumpLine::Kind::Malformed:
            if (in_.lastLineUnterminated()) {
                // The last line was cut short (power cut while writing): stop before it.
                if (options_.note)
                    options_.note(recordingMessage(in_.path(), in_.line(), "the last line is cut short: replayed up to the line before"));
                return false;
            }
            throw RecordingError(recordingMessage(in_.path(), in_.line(),
                                                  "not a candump line (" + std::string(parsed.reason) + ")"));
        case CandumpLine::Kind::Frame:
            break;
        }
        if (!onChosenChannel(parsed.interface))
            continue;
        pendingUs_ = parsed.timeUs;
        if (started_ && pendingUs_ < lastUs_) {
            if (options_.note && !toldTimeBack_) {
                toldTimeBack_ = true;
                options_.note(recordingMessage(in_.path(), in_.line(), "time stamp goes back: time held still there"));
            }
            pendingUs_ = lastUs_;
        }
        pending_ = parsed.frame;
        return true;
    }
    return false;
}

void CandumpSource::reportSkipped()
{
    if (reported_ || !options_.note)
        return;
    reported_ = true;
    for (const auto& [reason, count] : skipped_)
        options_.note(recordingMessage(in_.path(), 0, "skipped " + std::to_string(count) + " line(s): " + reason +
                                                          (reason == "frames of other interfaces" ? "" : " (not carried by the car's bus)")));
}

bool CandumpSource::next(RecordedChunk& chunk)
{
    if (!havePending_)
        havePending_ = readFrame();
    if (!havePending_) {
        reportSkipped();
        return false;
    }
    chunk.channel = channel_;
    if (!started_) {
        started_ = true;
        firstUs_ = pendingUs_;
        lastUs_ = pendingUs_;
    }
    // All frames of the same millisecond, counted from the first frame of the file.
    const std::int64_t ms = (pendingUs_ - firstUs_) / 1000;
    chunk.text.clear();
    chunk.timeUs = firstUs_ + ms * 1000;
    chunk.tickMs = static_cast<double>(ms);
    do {
        appendAdapterLine(chunk.text, pending_, form_);
        lastUs_ = pendingUs_;
        havePending_ = readFrame();
    } while (havePending_ && !options_.exactStamps && (pendingUs_ - firstUs_) / 1000 == ms);
    if (options_.exactStamps) {
        // One frame, at its own stamp (lastUs_ is that frame's).
        chunk.timeUs = lastUs_;
        chunk.tickMs = static_cast<double>(lastUs_ - firstUs_) / 1000.0;
    }
    return true;
}

double CandumpSource::fractionRead() const
{
    return in_.size() == 0 ? 0.0 : static_cast<double>(in_.consumed()) / static_cast<double>(in_.size());
}

std::optional<double> CandumpSource::durationMs() const
{
    // First and last stamped lines, from the head and the tail of the file.
    std::FILE* f = std::fopen(in_.path().c_str(), "rb");
    if (!f)
        return std::nullopt;
    auto stampOfLines = [](std::string_view text, bool last) {
        std::optional<std::int64_t> found;
        forEachCandumpLine(text, [&](const CandumpLine& line) {
            if (line.stamped())
                found = line.timeUs;
            return last || !found;
        });
        return found;
    };
    std::string head(8192, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), f));
    std::string tail(8192, '\0');
    const bool wholeFile = std::fseek(f, -static_cast<long>(tail.size()), SEEK_END) != 0;
    if (wholeFile)
        std::fseek(f, 0, SEEK_SET);
    tail.resize(std::fread(tail.data(), 1, tail.size(), f));
    std::fclose(f);
    // Skip the tail's first line: the seek may have landed inside it.
    const std::size_t firstNl = wholeFile ? std::string::npos : tail.find('\n');
    const auto first = stampOfLines(head, false);
    const auto lastStamp = stampOfLines(firstNl == std::string::npos ? std::string_view(tail) : std::string_view(tail).substr(firstNl + 1), true);
    if (!first || !lastStamp)
        return std::nullopt;
    return static_cast<double>(*lastStamp - *first) / 1000.0;
}

} // namespace vcm
